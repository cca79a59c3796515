#pragma once

#include "content/ContentSource.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class QMimeData;

// Content carried in mime data between views of this process. The payload is a data stream
// of a 32-bit count and then one 32-bit reference per object, in list order. References are
// those of ContentRegistry: a reference whose object is gone, or that came from another
// process, resolves to nothing and is left out.
class ContentMimeSource : public ContentSource {
public:
    static const QString& MimeFormat();

    static QByteArray Payload(const QList<ContentBase*>& contents);
    static std::unique_ptr<QMimeData> MimeData(const QList<ContentBase*>& contents);
    static bool CanDecode(const QMimeData& data);

    ContentMimeSource(const QMimeData& data, int kind);

    int Kind() const override;
    QList<ContentBase*> Contents() const override;
    // The count field of the payload (also for references that no longer resolve).
    quint32 Count() const { return m_count; }

private:
    int m_kind;
    quint32 m_count = 0;
    std::vector<quint32> m_references;
};
