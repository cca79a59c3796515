#pragma once

#include "os/Log.h"

namespace Hardware::Log {

inline Os::Log::Category& Hardware() {
    static Os::Log::Category category("Hardware");
    return category;
}

inline Os::Log::Category& WidgetManager() {
    static Os::Log::Category category("WidgetManager", &Hardware());
    return category;
}

inline Os::Log::Category& DmxWidget() {
    static Os::Log::Category category("DmxWidget", &Hardware());
    return category;
}

inline Os::Log::Category& DeviceChange() {
    static Os::Log::Category category("DeviceChange", &Hardware());
    return category;
}

inline Os::Log::Category& UsbPro() {
    static Os::Log::Category category("UsbPro", &Hardware());
    return category;
}

}  // namespace Hardware::Log
