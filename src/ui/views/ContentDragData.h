#pragma once

#include <QList>
#include <QMimeData>
#include <QPointer>

class ContentBase;

// What a drag of content carries: the objects in the content format and, for the desktop's
// file manager, the LED image files of its items, written only when a drop asks for them.
// The files stay until the program ends, as a file manager may copy them after the drop.
class ContentDragData : public QMimeData {
    Q_OBJECT

public:
    explicit ContentDragData(const QList<ContentBase*>& objects);

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    // Writes the items' files once; their addresses.
    QList<QUrl> WriteFiles() const;

    QList<QPointer<ContentBase>> m_objects;
    mutable bool m_written = false;
    mutable QList<QUrl> m_urls;
};
