#pragma once

#include <QList>

class Device;
class IFeedback;

// How an RDM search walks the UID space. The fast search decodes each unique-branch reply and
// mutes a fixture as soon as its UID comes back whole; the thorough search halves every range
// that answers down to single UIDs, waiting the long reply window and retrying empty ranges.
enum class DiscoverySearch { Fast, Thorough };

// A way of finding fixtures on one widget port; the discovery command runs each protocol
// it is given on every port.
class IDiscoveryProtocol {
public:
    virtual ~IDiscoveryProtocol() = default;

    // Appends the fixtures found on the port to `devices` (never removes any). Protocols with
    // a single way of searching ignore `search`.
    virtual void Discover(quint16 port, QList<Device*>& devices, IFeedback* feedback,
                          DiscoverySearch search) = 0;
};
