#include "ui/views/ContentDragData.h"

#include "content/Content.h"
#include "content/ContentMimeSource.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

namespace {

// A new folder for the files of one drag, in the program's own temporary folder.
QString NewDragFolder() {
    static QTemporaryDir files;
    static int drags = 0;
    if (!files.isValid()) {
        return {};
    }
    const QString folder = QDir(files.path()).filePath(QString::number(++drags));
    return QDir().mkpath(folder) ? folder : QString();
}

}  // namespace

ContentDragData::ContentDragData(const QList<ContentBase*>& objects) {
    for (ContentBase* object : objects) {
        m_objects.append(object);
    }
    setData(ContentMimeSource::MimeFormat(), ContentMimeSource::Payload(objects));
}

QStringList ContentDragData::formats() const {
    return QMimeData::formats() << QStringLiteral("text/uri-list");
}

bool ContentDragData::hasFormat(const QString& mimeType) const {
    return mimeType == QLatin1String("text/uri-list") || QMimeData::hasFormat(mimeType);
}

QVariant ContentDragData::retrieveData(const QString& mimeType, QMetaType type) const {
    if (mimeType != QLatin1String("text/uri-list")) {
        return QMimeData::retrieveData(mimeType, type);
    }
    QList<QVariant> urls;
    for (const QUrl& url : WriteFiles()) {
        urls.append(url);
    }
    return urls;
}

QList<QUrl> ContentDragData::WriteFiles() const {
    if (m_written) {
        return m_urls;
    }
    m_written = true;
    const QString folder = NewDragFolder();
    if (folder.isEmpty()) {
        return m_urls;
    }
    for (const QPointer<ContentBase>& object : m_objects) {
        auto* item = qobject_cast<Content*>(object.data());
        if (!item || !item->StoreProblem().isEmpty()) {
            continue;
        }
        // Names may hold characters a file name cannot.
        QString name = item->Name();
        name.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("_"));
        const QString path = QDir(folder).filePath(name + "." + item->Suffix());
        if (item->Save(path)) {
            m_urls.append(QUrl::fromLocalFile(path));
        }
    }
    return m_urls;
}
