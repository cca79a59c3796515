#include "archive/ArchivePath.h"

namespace {

const ArchivePath::Suffix kSuffixes[] = {
    {".lumopkg", true, true},
    {".crvpkg", false, false},
    {".marqacollage", true, false},
    {".solvicollage", true, false},
};

bool IsSeparator(QChar c) {
    return c == '/' || c == '\\';
}

}  // namespace

const ArchivePath::Suffix* ArchivePath::FindSuffix(const QString& path) {
    const QString lower = path.toLower();
    for (const Suffix& suffix : kSuffixes) {
        if (lower.contains(QLatin1String(suffix.text))) {
            return &suffix;
        }
    }
    return nullptr;
}

QStringList ArchivePath::Components(const QString& path) {
    QStringList parts;
    QString part;
    for (const QChar c : path) {
        if (IsSeparator(c)) {
            if (!part.isEmpty()) {
                parts.append(part);
            }
            part.clear();
        } else {
            part.append(c);
        }
    }
    if (!part.isEmpty()) {
        parts.append(part);
    }
    return parts;
}

ArchivePath ArchivePath::Split(const QString& path) {
    ArchivePath result;
    result.m_suffix = FindSuffix(path);
    if (!result.m_suffix) {
        return result;
    }
    QString rest = path;
    if (rest.startsWith(QLatin1String(kDecodePrefix))) {
        result.m_decode = true;
        rest = rest.mid(int(qstrlen(kDecodePrefix)));
    }
    const QString suffix = QLatin1String(result.m_suffix->text);
    const int at = rest.toLower().indexOf(suffix);
    const int end = at + int(suffix.size());
    result.m_archiveFile = rest.left(end);
    result.m_innerPath = rest.mid(end + 1);
    result.m_archiveItself = end == rest.size();
    result.m_root = end + 1 == rest.size() && IsSeparator(rest[end]);
    return result;
}

bool ArchivePath::IsDirectory() const {
    if (m_root) {
        return true;
    }
    if (m_archiveItself) {
        return false;
    }
    const QStringList parts = Components(m_innerPath);
    return parts.isEmpty() || !parts.last().contains('.');
}
