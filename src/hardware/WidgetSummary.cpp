#include "hardware/WidgetSummary.h"

#include "hardware/DmxWidget.h"
#include "hardware/InterfaceClasses.h"
#include "hardware/WidgetManager.h"

#include <QtEndian>

namespace Hardware {

QString WidgetSummary::SerialText() const {
    return serialNumber == 0 ? QString()
                             : QStringLiteral("%1").arg(serialNumber, 8, 16, QChar('0'));
}

QList<WidgetSummary> WidgetSummary::ListPresent() {
    QList<WidgetSummary> summaries;
    for (const QUuid& interfaceClass : InterfaceClasses::All()) {
        for (const WidgetMapData& device : WidgetManager::ListDevices(interfaceClass)) {
            DmxWidget widget(device);
            const QByteArray version = widget.GetWidgetVersion();
            const QByteArray info = widget.DeviceInfoBlock();
            summaries.append({device.path, interfaceClass, widget.ProductCode(),
                              widget.GetPortCount(), quint8(version[2]), quint8(version[3]),
                              qFromLittleEndian<quint32>(info.constData() + 4)});
        }
    }
    return summaries;
}

}  // namespace Hardware
