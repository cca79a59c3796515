#include "hardware/WidgetMapData.h"

#include "hardware/HardwareLog.h"
#include "hardware/InterfaceClasses.h"

namespace Hardware {

void WidgetMapData::StopReader() const {
    OS_LOG_INFO(Log::WidgetManager(), "StopReader( )");
}

bool operator<(const WidgetMapData& a, const WidgetMapData& b) {
    const int classA = InterfaceClasses::IndexOf(a.interfaceClass);
    const int classB = InterfaceClasses::IndexOf(b.interfaceClass);
    if (classA != classB) {
        return classA < classB;
    }
    return a.path < b.path;
}

}  // namespace Hardware
