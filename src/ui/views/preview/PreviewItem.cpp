#include "ui/views/preview/PreviewItem.h"

#include "content/ContentBase.h"
#include "os/Trap.h"

#include <QPainter>
#include <QPalette>

namespace {

QString AddressTextOf(int address) {
    return address > 0 ? QStringLiteral("DMX %1").arg(address) : QStringLiteral("DMX (none)");
}

}  // namespace

PreviewItem::PreviewItem(ContentBase* object) : m_object(object) {
    if (!object) {
        return;  // a row whose object went meanwhile: an empty cell
    }
    bool didConnectSucceed =
        bool(connect(object, &ContentBase::NameChanged, this, &PreviewItem::UpdateName));
    OS_TRAP_IF(!didConnectSucceed);
    didConnectSucceed =
        bool(connect(object, &ContentBase::AddressChanged, this, &PreviewItem::UpdateAddress));
    OS_TRAP_IF(!didConnectSucceed);
    UpdateName();
    UpdateAddress();
}

void PreviewItem::UpdateName() {
    if (m_object) {
        m_name = m_object->Name();
        update();
    }
}

void PreviewItem::UpdateAddress() {
    if (m_object) {
        m_address = AddressTextOf(m_object->Address());
        update();
    }
}

void PreviewItem::SetSelected(bool selected) {
    if (m_selected != selected) {
        m_selected = selected;
        update();
    }
}

void PreviewItem::SetGreyed(bool greyed) {
    if (m_greyed != greyed) {
        m_greyed = greyed;
        update();
    }
}

QRectF PreviewItem::boundingRect() const {
    return QRectF(0, 0, kCellWidth, kCellHeight);
}

void PreviewItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget* widget) {
    const QPalette palette = widget ? widget->palette() : QPalette();
    if (m_selected) {
        painter->fillRect(boundingRect().adjusted(2, 2, -2, -2), palette.highlight());
    }
    const QRectF picture((kCellWidth - kPicture) / 2.0, 4, kPicture, kPicture);
    painter->save();
    if (m_greyed) {
        painter->setOpacity(0.3);
    }
    PaintPicture(painter, picture);
    painter->restore();
    QFont font("Helvetica");
    font.setPixelSize(11);
    painter->setFont(font);
    painter->setPen(m_selected ? palette.highlightedText().color()
                    : m_greyed ? palette.color(QPalette::Disabled, QPalette::Text)
                               : palette.text().color());
    const QRectF nameLine(2, picture.bottom() + 4, kCellWidth - 4, 16);
    painter->drawText(
        nameLine, Qt::AlignHCenter | Qt::AlignVCenter,
        painter->fontMetrics().elidedText(m_name, Qt::ElideRight, int(nameLine.width())));
    painter->drawText(nameLine.translated(0, 15), Qt::AlignHCenter | Qt::AlignVCenter, m_address);
}

IconItem::IconItem(ContentBase* object, const QString& icon) : PreviewItem(object), m_icon(icon) {}

void IconItem::PaintPicture(QPainter* painter, const QRectF& area) {
    if (m_icon.isNull()) {
        return;
    }
    const QSize size = m_icon.size().scaled(area.size().toSize(), Qt::KeepAspectRatio);
    const QRectF target(area.center().x() - size.width() / 2.0,
                        area.center().y() - size.height() / 2.0, size.width(), size.height());
    painter->drawPixmap(target, m_icon, m_icon.rect());
}
