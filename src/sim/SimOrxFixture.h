#pragma once

#include "sim/RdmResponder.h"
#include "sim/TalkbackFirmwareLoader.h"

#include <QByteArray>

#include <mutex>

namespace Sim {

struct OrxFaults {
    bool neverExtinguish = false;  // keeps answering its single-id query
    int dropEvery = 0;             // drop every n-th reply (0: never)
    FirmwareFaults firmware = {};
};

// What a simulated legacy moving light reports about itself.
struct OrxFixtureConfig {
    quint32 id = 0;
    quint8 fixtureType = 1;
    quint16 dmxAddress = 1;
    quint8 personality = 1;
    quint8 panTiltSwap = 0;
    quint8 panInvert = 0;
    quint8 tiltInvert = 0;
    quint8 displayInvert = 0;
    quint8 displayOn = 1;
    quint8 lampLimit = 100;
    quint8 lampState = 1;
    quint8 firmwareMajor = 1;
    quint8 firmwareMinor = 0;
    quint32 deviceHours = 0;
    quint16 footprint = 16;
    quint16 shutdownTime = 0;
    quint16 datalossTime = 0;
    quint8 encoderDisable = 0;
    quint8 lensType = 0;
    quint8 fastMode = 0;
    qint64 eraseTimeMs = 3000;  // how long erasing the flash takes
    OrxFaults faults;
};

// A legacy moving light on a simulated line. It answers the presence query while it is not
// extinguished and its id is at or above the one asked for, its single-id query until it is
// extinguished, the talk-back reads, and takes firmware through its boot loader; an image that
// verifies gives it the firmware version the catalogue knows the image by. RDM frames are not
// for it.
class SimOrxFixture : public RdmResponder {
public:
    explicit SimOrxFixture(OrxFixtureConfig config);

    QByteArray HandleRdm(const QByteArray& frame) override;

    bool IsExtinguished() const;
    // The firmware image as stored: `packets` packets of erased (0xFF) or written flash.
    QByteArray Flash(int packets) const;
    int PacketsStored() const;
    // major << 8 | minor, as it reports it.
    quint16 FirmwareVersion() const;

private:
    QByteArray OnCommand(quint8 code, quint32 id);
    QByteArray OnQuery(quint8 code, quint32 id);
    QByteArray OnTalkback(quint8 operation, quint8 code, quint32 id);
    QByteArray Deliver(const QByteArray& reply);
    void Install(const QByteArray& image);

    mutable std::mutex m_lock;
    OrxFixtureConfig m_config;
    bool m_extinguished = false;
    TalkbackFirmwareLoader m_loader;
    int m_replies = 0;
};

}  // namespace Sim
