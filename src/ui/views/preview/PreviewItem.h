#pragma once

#include <QGraphicsObject>
#include <QPointer>

class ContentBase;

// One child of the shown folder in the preview: its picture with its name and address below,
// in a cell of the grid. It follows the child's name and address; the preview marks it
// selected or greyed.
class PreviewItem : public QGraphicsObject {
    Q_OBJECT

public:
    static constexpr int kCellWidth = 128;
    static constexpr int kCellHeight = 140;
    static constexpr int kPicture = 96;

    explicit PreviewItem(ContentBase* object);

    ContentBase* Object() const { return m_object; }
    QString NameText() const { return m_name; }
    QString AddressText() const { return m_address; }
    void SetSelected(bool selected);
    void SetGreyed(bool greyed);
    bool IsGreyed() const { return m_greyed; }
    // Whether the picture is on screen as it should be (not waiting to be drawn).
    virtual bool IsReady() const { return true; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

public Q_SLOTS:
    void UpdateName();
    void UpdateAddress();

protected:
    // The picture of the item, drawn into `area` (kPicture square).
    virtual void PaintPicture(QPainter* painter, const QRectF& area) = 0;

private:
    QPointer<ContentBase> m_object;
    QString m_name;
    QString m_address;
    bool m_selected = false;
    bool m_greyed = false;
};

// A picture from the resources: sub-folders and content the preview cannot draw.
class IconItem : public PreviewItem {
    Q_OBJECT

public:
    IconItem(ContentBase* object, const QString& icon);

protected:
    void PaintPicture(QPainter* painter, const QRectF& area) override;

private:
    QPixmap m_icon;
};

// A sub-folder; opening it shows its content.
class FolderItem : public IconItem {
    Q_OBJECT

public:
    explicit FolderItem(ContentBase* folder) : IconItem(folder, ":/Resources/content-folder.png") {}
};

// Content that is not an LED image.
class UnknownItem : public IconItem {
    Q_OBJECT

public:
    explicit UnknownItem(ContentBase* item) : IconItem(item, ":/Resources/content-unknown.png") {}
};
