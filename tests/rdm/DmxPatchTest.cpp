#include "orx/ORXDevice.h"
#include "rdm/devices/DmxPatch.h"
#include "rdm/devices/RDMDevice.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A fixture of a case: its id, line, start address and footprint.
struct Fixture {
    quint64 uid;
    QString widget;
    quint8 port;
    quint16 address;
    quint16 footprint;
};

std::unique_ptr<Device> Make(const Fixture& f) {
    auto device = std::make_unique<RDMDevice>(f.uid);
    device->SetWidget(f.widget);
    device->SetPort(f.port);
    device->SetDmxStartAddress(f.address);
    device->SetDmxFootprint(f.footprint);
    return device;
}

// "uid: other other [past 512]" per fixture with a clash, in the order of the fixtures.
QStringList Describe(const QList<Device*>& devices) {
    const QHash<quint64, DmxPatch::Clash> clashes = DmxPatch::FindClashes(devices);
    QStringList lines;
    for (const Device* device : devices) {
        const auto clash = clashes.constFind(device->GetUid());
        if (clash == clashes.constEnd()) {
            continue;
        }
        QString line = QString::number(device->GetUid()) + ":";
        for (const Device* other : clash->overlaps) {
            line += " " + QString::number(other->GetUid());
        }
        if (clash->pastEnd) {
            line += " [past 512]";
        }
        lines.append(line);
    }
    return lines;
}

}  // namespace

TEST(DmxPatchTest, MarksOverlapsOnOneLineAndChannelsPast512) {
    struct Case {
        const char* what;
        std::vector<Fixture> fixtures;
        QStringList clashes;
    };
    const Case cases[] = {
        {"overlap on the same port",
         {{1, "w", 0, 1, 16}, {2, "w", 0, 15, 16}, {3, "w", 0, 30, 16}},
         {"1: 2", "2: 1 3", "3: 2"}},
        {"adjacent ranges share no channel", {{1, "w", 0, 1, 16}, {2, "w", 0, 17, 16}}, {}},
        {"the same channels on another port", {{1, "w", 0, 1, 16}, {2, "w", 1, 1, 16}}, {}},
        {"the same port of another widget", {{1, "a", 0, 1, 16}, {2, "b", 0, 1, 16}}, {}},
        {"past 512", {{1, "w", 0, 500, 16}, {2, "w", 0, 497, 3}}, {"1: [past 512]"}},
        {"up to 512 exactly", {{1, "w", 0, 497, 16}}, {}},
        {"no footprint: neither marked nor marking", {{1, "w", 0, 10, 0}, {2, "w", 0, 1, 16}}, {}},
        {"no address: neither marked nor marking",
         {{1, "w", 0, 0, 16}, {2, "w", 0, 0xFFFF, 16}, {3, "w", 0, 1, 16}},
         {}},
        {"overlap and past 512 at once",
         {{1, "w", 0, 505, 10}, {2, "w", 0, 510, 3}},
         {"1: 2 [past 512]", "2: 1"}},
    };
    for (const Case& c : cases) {
        std::vector<std::unique_ptr<Device>> owned;
        QList<Device*> devices;
        for (const Fixture& f : c.fixtures) {
            owned.push_back(Make(f));
            devices.append(owned.back().get());
        }
        EXPECT_EQ(Describe(devices), c.clashes) << c.what;
    }
}

TEST(DmxPatchTest, TalkBackFixturesClashByTheirOwnFootprint) {
    ORXDevice orx(0, 0xA1B2C3);
    orx.m_dmxAddress = 20;
    orx.m_footprint = 18;  // 20..37
    const std::unique_ptr<Device> rdm = Make({7, {}, 0, 37, 4});
    EXPECT_EQ(Describe({&orx, rdm.get()}), QStringList({"10597059: 7", "7: 10597059"}));
    orx.m_footprint = 17;  // 20..36
    EXPECT_TRUE(Describe({&orx, rdm.get()}).isEmpty());
}
