#include "archive/ArchiveEngine.h"

#include <QFileInfo>

ArchiveEngine::ArchiveEngine(const QString& suffix, const QString& fileName)
    : m_suffix(suffix), m_fileName(fileName) {}

bool ArchiveEngine::isRelativePath() const {
    return !m_fileName.contains(':');
}

ArchiveEngine::FileFlags ArchiveEngine::fileFlags(FileFlags mask) const {
    FileFlags flags;
    if (mask & PermsMask) {
        flags |= FileFlags(PermsMask);
    }
    const ArchivePath path = Path();
    flags |= path.IsDirectory() ? DirectoryType : FileType;
    if (ArchiveExists()) {
        flags |= ExistsFlag;
    }
    if (path.IsRoot()) {
        flags |= RootFlag;
    }
    return flags & (mask | FileFlags(PermsMask));
}

QString ArchiveEngine::fileName(FileName kind) const {
    switch (kind) {
        case DefaultName:
        case AbsoluteName:
            return m_fileName;
        case BaseName: {
            const QStringList parts = ArchivePath::Components(m_fileName);
            return parts.isEmpty() ? QString() : parts.last().section('.', 0, 0);
        }
        case PathName:
            return m_fileName.endsWith('/') ? m_fileName : QString();
    }
    return QString();
}

void ArchiveEngine::setFileName(const QString& name) {
    if (name != m_fileName) {
        m_fileName = name;
    }
}

bool ArchiveEngine::mkdir(const QString& /*path*/, bool /*recursive*/) const {
    return false;
}

QStringList ArchiveEngine::entryList(QDir::Filters /*filters*/,
                                     const QStringList& /*nameFilters*/) const {
    return {};
}

bool ArchiveEngine::ArchiveExists() const {
    return QFileInfo(Path().ArchiveFile()).isFile();
}
