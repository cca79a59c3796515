#include "archive/ArchiveReader.h"

#include "archive/ArchiveIndex.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <vector>

ArchiveReader::ArchiveReader(const QString& suffix, const QString& fileName)
    : ArchiveEngine(suffix, fileName) {}

ArchiveReader::~ArchiveReader() = default;

bool ArchiveReader::open(OpenMode mode) {
    if (mode & WriteOnly) {
        return false;
    }
    if (!m_stream) {
        const ArchivePath path = Path();
        m_stream = std::make_unique<ArchiveLibInterface::ReadingArchivedStream>(path.ArchiveFile(),
                                                                                path.InnerPath());
        if (!m_stream->Found()) {
            m_stream.reset();
        }
    }
    return m_stream && QIODevice::open(mode | Unbuffered);
}

void ArchiveReader::close() {
    QIODevice::close();
    m_stream.reset();
}

qint64 ArchiveReader::size() const {
    const ArchivePath path = Path();
    const ArchiveLibInterface::ReadingArchivedStream stream(path.ArchiveFile(), path.InnerPath());
    return stream.Found() ? stream.Size() : 0;
}

qint64 ArchiveReader::bytesAvailable() const {
    return QIODevice::bytesAvailable() + (m_stream ? m_stream->Remaining() : 0);
}

qint64 ArchiveReader::readData(char* data, qint64 maxSize) {
    return m_stream ? m_stream->Read(data, maxSize) : -1;
}

qint64 ArchiveReader::writeData(const char* /*data*/, qint64 /*maxSize*/) {
    return -1;
}

QStringList ArchiveReader::entryList(QDir::Filters filters, const QStringList& nameFilters) const {
    const ArchivePath path = Path();
    const std::shared_ptr<const ArchiveIndex> index = ArchiveIndex::Of(path.ArchiveFile());
    if (!index) {
        return {};
    }
    // Compiled once per listing, not once per name.
    std::vector<QRegularExpression> patterns;
    for (const QString& filter : nameFilters) {
        patterns.push_back(QRegularExpression::fromWildcard(filter, Qt::CaseInsensitive));
    }
    const auto matches = [&](const QString& name) {
        return patterns.empty() ||
               std::any_of(patterns.begin(), patterns.end(),
                           [&](const QRegularExpression& p) { return p.match(name).hasMatch(); });
    };
    QStringList names;
    QSet<QString> seen;
    for (const ArchiveIndex::Entry* entry : index->Children(path.InnerPath())) {
        const QString& name = entry->name;
        const bool wanted = entry->directory
                                ? (filters & QDir::Dirs) && name != QLatin1String("CVS")
                                : bool(filters & QDir::Files);
        if (!wanted || seen.contains(name) || !matches(name)) {
            continue;
        }
        seen.insert(name);
        names.append(name);
    }
    return names;
}
