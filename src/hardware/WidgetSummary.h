#pragma once

#include <QList>
#include <QString>
#include <QUuid>

namespace Hardware {

// What one present widget says of itself.
struct WidgetSummary {
    QString path;
    QUuid interfaceClass;
    quint16 productCode = 0;
    quint16 portCount = 0;
    quint8 firmwareMajor = 0;
    quint8 firmwareMinor = 0;
    // Bytes 4..7 of the device-info block: binary-coded decimal digits, 0 when the widget
    // reports none (the USB Pro interfaces report theirs).
    quint32 serialNumber = 0;

    // The serial number's eight digits, or empty when there is none.
    QString SerialText() const;

    // Every present widget of every scanned class, in the widget manager's order.
    static QList<WidgetSummary> ListPresent();
};

}  // namespace Hardware
