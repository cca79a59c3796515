#include "rdm/devices/DmxPatch.h"

#include "rdm/devices/Device.h"

namespace DmxPatch {

namespace {

bool SameLine(const Device& a, const Device& b) {
    return a.GetPort() == b.GetPort() && a.GetWidget() == b.GetWidget();
}

bool Overlap(const Channels& a, const Channels& b) {
    return a.first <= b.last && b.first <= a.last;
}

}  // namespace

std::optional<Channels> ChannelsOf(const Device& device) {
    const int first = device.GetDmxStartAddress();
    const int footprint = device.GetDmxFootprint();
    if (first < 1 || first > kLastChannel || footprint == 0) {
        return std::nullopt;
    }
    return Channels{first, first + footprint - 1};
}

QHash<quint64, Clash> FindClashes(const QList<Device*>& devices) {
    QHash<quint64, Clash> clashes;
    for (const Device* device : devices) {
        const std::optional<Channels> channels = ChannelsOf(*device);
        if (!channels) {
            continue;
        }
        Clash clash;
        clash.pastEnd = channels->last > kLastChannel;
        for (const Device* other : devices) {
            if (other == device || !SameLine(*device, *other)) {
                continue;
            }
            const std::optional<Channels> theirs = ChannelsOf(*other);
            if (theirs && Overlap(*channels, *theirs)) {
                clash.overlaps.append(other);
            }
        }
        if (clash.pastEnd || !clash.overlaps.isEmpty()) {
            clashes.insert(device->GetUid(), clash);
        }
    }
    return clashes;
}

}  // namespace DmxPatch
