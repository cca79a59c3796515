#pragma once

#include <QList>

class Device;
class IFeedback;

// A way of finding fixtures on one widget port; the discovery command runs each protocol
// it is given on every port.
class IDiscoveryProtocol {
public:
    virtual ~IDiscoveryProtocol() = default;

    // Appends the fixtures found on the port to `devices` (never removes any).
    virtual void Discover(quint16 port, QList<Device*>& devices, IFeedback* feedback) = 0;
};
