#include "content/ContentMimeSource.h"

#include "content/ContentBase.h"
#include "content/ContentModelMutex.h"
#include "content/ContentRegistry.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

const QString& ContentMimeSource::MimeFormat() {
    static const QString format =
        QStringLiteral("application/x-qt-windows-mime;value=\"corvane-aurel-contents\"");
    return format;
}

QByteArray ContentMimeSource::Payload(const QList<ContentBase*>& contents) {
    const ContentModelLock lock;
    QByteArray payload;
    QDataStream stream(&payload, QIODevice::WriteOnly);
    stream << quint32(contents.size());
    for (const ContentBase* content : contents) {
        stream << (content ? content->Reference() : quint32(0));
    }
    return payload;
}

std::unique_ptr<QMimeData> ContentMimeSource::MimeData(const QList<ContentBase*>& contents) {
    auto data = std::make_unique<QMimeData>();
    data->setData(MimeFormat(), Payload(contents));
    return data;
}

bool ContentMimeSource::CanDecode(const QMimeData& data) {
    return data.hasFormat(MimeFormat());
}

ContentMimeSource::ContentMimeSource(const QMimeData& data, int kind) : m_kind(kind) {
    QDataStream stream(data.data(MimeFormat()));
    stream >> m_count;
    if (stream.status() != QDataStream::Ok) {
        m_count = 0;
        return;
    }
    // A payload cut short keeps the references it has.
    for (quint32 i = 0; i < m_count; ++i) {
        quint32 reference = 0;
        stream >> reference;
        if (stream.status() != QDataStream::Ok) {
            break;
        }
        m_references.push_back(reference);
    }
}

int ContentMimeSource::Kind() const {
    return m_kind;
}

QList<ContentBase*> ContentMimeSource::Contents() const {
    const ContentModelLock lock;
    QList<ContentBase*> contents;
    for (const quint32 reference : m_references) {
        if (ContentBase* content = ContentRegistry::Instance().Resolve(reference)) {
            contents.append(content);
        }
    }
    return contents;
}
