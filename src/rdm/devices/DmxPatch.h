#pragma once

#include <QHash>
#include <QList>

#include <optional>

class Device;

// How fixtures share the DMX lines: a line is one port of one widget, with channels 1 to 512.
namespace DmxPatch {

constexpr int kLastChannel = 512;

// The channels a fixture takes on its line, first and last inclusive. The last may lie past
// channel 512.
struct Channels {
    int first;
    int last;
};

// What is wrong with a fixture's channels: the other fixtures on its line that take one of
// them, and whether they run past channel 512.
struct Clash {
    QList<const Device*> overlaps;  // in the order of the list checked
    bool pastEnd = false;
};

// The channels of a fixture, or nothing when it has no start address (1 to 512) or no
// footprint.
std::optional<Channels> ChannelsOf(const Device& device);

// The clashes of the fixtures of a list, by id; fixtures without a clash have no entry.
// Fixtures without channels neither clash nor are clashed with.
QHash<quint64, Clash> FindClashes(const QList<Device*>& devices);

}  // namespace DmxPatch
