#pragma once

#include "hardware/PortLayer.h"

#include <QString>
#include <QUuid>

namespace Hardware {

// One present widget device: its path, the handle the widget manager opened for it, and its
// interface class. Two entries name the same device when class and path are equal.
struct WidgetMapData {
    QString path;
    PortLayer::Handle handle = PortLayer::kInvalidHandle;
    QUuid interfaceClass;

    bool SameDevice(const WidgetMapData& other) const {
        return interfaceClass == other.interfaceClass && path == other.path;
    }

    // Nothing in the program attaches a reader to a device; stopping one only logs.
    void StopReader() const;

    // Ordered by the class's place in the scanned list, then by path.
    friend bool operator<(const WidgetMapData& a, const WidgetMapData& b);
};

}  // namespace Hardware
