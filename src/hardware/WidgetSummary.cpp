#include "hardware/WidgetSummary.h"

#include "hardware/DmxWidget.h"
#include "hardware/InterfaceClasses.h"
#include "hardware/WidgetManager.h"

namespace Hardware {

QList<WidgetSummary> WidgetSummary::ListPresent() {
    QList<WidgetSummary> summaries;
    for (const QUuid& interfaceClass : InterfaceClasses::All()) {
        for (const WidgetMapData& device : WidgetManager::ListDevices(interfaceClass)) {
            DmxWidget widget(device);
            const QByteArray version = widget.GetWidgetVersion();
            summaries.append({device.path, interfaceClass, widget.ProductCode(),
                              widget.GetPortCount(), quint8(version[2]), quint8(version[3])});
        }
    }
    return summaries;
}

}  // namespace Hardware
