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

    // Every present widget of every scanned class, in the widget manager's order.
    static QList<WidgetSummary> ListPresent();
};

}  // namespace Hardware
