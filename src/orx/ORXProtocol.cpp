#include "orx/ORXProtocol.h"

#include "archive/ArchivePathRouter.h"
#include "comm/CommManager.h"
#include "comm/IFeedback.h"
#include "comm/ProgressMeter.h"
#include "hardware/RdmUniverseUsb.h"
#include "orx/ORXDevice.h"
#include "orx/OrxDefs.h"
#include "os/Clock.h"
#include "os/HexText.h"
#include "rdm/DiscoveryProgress.h"

#include <QtEndian>

#include <functional>

namespace {

void Report(IFeedback* feedback, const QString& text,
            FeedbackStatus status = FeedbackStatusNormal) {
    if (feedback) {
        feedback->AddString(text, status);
    }
}

QByteArray Be32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray WithChecksum(QByteArray frame) {
    const quint16 sum = Orx::Checksum(frame);
    frame.append(char(sum >> 8));
    frame.append(char(sum & 0xFF));
    return frame;
}

quint32 ReadBe(const QByteArray& data, int offset, int size) {
    quint32 value = 0;
    for (int i = 0; i < size; ++i) {
        value = value << 8 | quint8(data[offset + i]);
    }
    return value;
}

// One value of a talk-back read: where it sits in the reply and where it goes.
struct Value {
    const char* name;
    bool announced;  // "ORX Discovery: Getting <name> for 0x..." before it is read
    int offset;
    int size;
    std::function<void(ORXDevice&, quint32)> store;
};

// A talk-back read and the values its reply carries.
struct Read {
    quint8 operation;
    quint8 code;
    const char* failure;  // the value name of the read's own failure warning
    std::vector<Value> values;
};

const std::vector<Read>& Reads() {
    using D = ORXDevice&;
    static const std::vector<Read> reads = {
        {Orx::kTalkbackReadParams,
         Orx::kTalkbackAll,
         "all params",
         {
             {"Dmx adress", true, 0, 2, [](D d, quint32 v) { d.m_dmxAddress = quint16(v); }},
             {"Dmx personality", true, 2, 1, [](D d, quint32 v) { d.m_personality = quint8(v); }},
             {"pan/tilt swap", true, 3, 1, [](D d, quint32 v) { d.m_panTiltSwap = quint8(v); }},
             {"pan invert", true, 4, 1, [](D d, quint32 v) { d.m_panInvert = quint8(v); }},
             {"tilt invert", true, 5, 1, [](D d, quint32 v) { d.m_tiltInvert = quint8(v); }},
             {"display invert", true, 6, 1, [](D d, quint32 v) { d.m_displayInvert = quint8(v); }},
             {"display on", true, 7, 1, [](D d, quint32 v) { d.m_displayOn = quint8(v); }},
             {"lamp limit", true, 8, 1, [](D d, quint32 v) { d.m_lampLimit = quint8(v); }},
             {"fixture type", true, 9, 1, [](D d, quint32 v) { d.m_fixtureType = quint16(v); }},
             {"lamp state", true, 10, 1, [](D d, quint32 v) { d.m_lampState = quint8(v); }},
         }},
        {Orx::kTalkbackRead,
         Orx::kTalkbackFirmwareVersion,
         "firmware version",
         {{"firmware version", true, 0, 2,
           [](D d, quint32 v) {
               d.m_firmwareMajor = quint8(v >> 8);
               d.m_firmwareMinor = quint8(v);
           }}}},
        {Orx::kTalkbackRead,
         Orx::kTalkbackDeviceHours,
         "device hours",
         {{"device hours", true, 0, 4, [](D d, quint32 v) { d.m_deviceHours = v; }}}},
        {Orx::kTalkbackRead,
         Orx::kTalkbackFootprint,
         "Dmx footprint",
         {{"Dmx footprint", false, 0, 2, [](D d, quint32 v) { d.m_footprint = quint16(v); }}}},
        {Orx::kTalkbackRead,
         Orx::kTalkbackAll,
         "all info",
         {
             {"shutdown time", false, 0, 2, [](D d, quint32 v) { d.m_shutdownTime = quint16(v); }},
             {"dataloss time", false, 2, 2, [](D d, quint32 v) { d.m_datalossTime = quint16(v); }},
             {"encoder disable", false, 4, 1,
              [](D d, quint32 v) { d.m_encoderDisable = quint8(v); }},
             {"lens type", false, 5, 1, [](D d, quint32 v) { d.m_lensType = quint8(v); }},
             {"fast mode", false, 6, 1, [](D d, quint32 v) { d.m_fastMode = quint8(v); }},
         }},
    };
    return reads;
}

RdmUniverseUsb* OpenUniverse() {
    CommManager* manager = CommManager::Instance();
    return manager->IsWidgetPresent() ? manager->GetUniverse() : nullptr;
}

}  // namespace

ORXProtocol* ORXProtocol::Instance() {
    static ORXProtocol* const protocol = new ORXProtocol;
    return protocol;
}

ORXProtocol::ORXProtocol(QObject* parent) : QObject(parent) {}

// ---- frames ----

QByteArray ORXProtocol::CommandFrame(quint8 code, quint32 deviceId, const QByteArray& data) {
    QByteArray frame;
    frame.append(char(Orx::kStartCode));
    frame.append(char(code));
    frame += Be32(deviceId) + data;
    return WithChecksum(frame);
}

QByteArray ORXProtocol::QueryFrame(quint8 code, quint32 deviceId, quint16 parameter) {
    QByteArray frame;
    frame.append(char(Orx::kStartCode));
    frame.append(char(code));
    frame += Be32(deviceId);
    frame.append(char(parameter >> 8));
    frame.append(char(parameter & 0xFF));
    return WithChecksum(frame);
}

QByteArray ORXProtocol::TalkbackFrame(quint8 operation, quint8 code, quint32 deviceId) {
    QByteArray frame;
    frame.append(char(Orx::kStartCode));
    frame.append(char(Orx::kTalkbackMark));
    frame.append(char(operation));
    frame.append(char(code));
    frame += Be32(deviceId) + QByteArray(4, '\0');
    frame.append(char(0x02));
    frame += QByteArray(2, '\0');
    return WithChecksum(frame);
}

bool ORXProtocol::QueryReplyValid(const QByteArray& reply) {
    if (reply.size() < Orx::kQueryReplySize) {
        return false;
    }
    const QByteArray covered = char(Orx::kStartCode) + reply.mid(1, 9);
    return Orx::Checksum(covered) == ReadBe(reply, 10, 2);
}

// ---- exchanges ----

bool ORXProtocol::SendCommand(quint16 port, quint8 code, quint32 deviceId, const QByteArray& data) {
    RdmUniverseUsb* universe = OpenUniverse();
    if (!universe) {
        return false;
    }
    const QByteArray frame = CommandFrame(code, deviceId, data);
    return universe->SendRdm(port, 0, reinterpret_cast<const quint8*>(frame.constData()),
                             quint32(frame.size()));
}

int ORXProtocol::Query(quint16 port, quint8 code, quint32 deviceId, quint16 parameter, int capacity,
                       QByteArray* reply) {
    RdmUniverseUsb* universe = OpenUniverse();
    if (!universe) {
        return 0;
    }
    const QByteArray frame = QueryFrame(code, deviceId, parameter);
    QByteArray buffer(capacity, '\0');
    for (int send = 0; send < kQuerySends; ++send) {
        if (!universe->SendRdm(port, quint32(capacity),
                               reinterpret_cast<const quint8*>(frame.constData()),
                               quint32(frame.size()))) {
            continue;
        }
        Os::Clock::Instance().Wait(kQueryWaitMs);
        const quint32 count = universe->ReceiveRdm(
            port, kQueryReceiveWait, reinterpret_cast<quint8*>(buffer.data()), quint32(capacity));
        if (count == 0) {
            continue;
        }
        buffer.truncate(int(count));
        if (!QueryReplyValid(buffer)) {
            return -1;
        }
        if (reply) {
            *reply = buffer;
        }
        return int(count);
    }
    return 0;
}

bool ORXProtocol::Talkback(quint16 port, quint32 deviceId, quint8 operation, quint8 code,
                           QByteArray* data, IFeedback* feedback) {
    RdmUniverseUsb* universe = OpenUniverse();
    QByteArray buffer(255, '\0');
    quint32 count = 0;
    if (universe) {
        const QByteArray frame = TalkbackFrame(operation, code, deviceId);
        if (universe->SendRdm(port, 255, reinterpret_cast<const quint8*>(frame.constData()),
                              quint32(frame.size()))) {
            Os::Clock::Instance().Wait(kTalkbackWaitMs);
            count = universe->ReceiveRdm(port, kTalkbackReceiveWait,
                                         reinterpret_cast<quint8*>(buffer.data()), 255);
        }
    }
    buffer.truncate(int(count));
    // The reply names the read it answers and the device, and adds up.
    const bool valid =
        buffer.size() >= Orx::kTalkbackHeaderSize + 2 && quint8(buffer[0]) == Orx::kStartCode &&
        quint8(buffer[1]) == Orx::kTalkbackMark && quint8(buffer[2]) == operation + 1 &&
        quint8(buffer[3]) == code && ReadBe(buffer, 4, 4) == deviceId &&
        Orx::Checksum(buffer.left(buffer.size() - 2)) == ReadBe(buffer, int(buffer.size()) - 2, 2);
    if (!valid) {
        Report(feedback, " ORX Talkback: Warning: No reply from 0x" + Hex(deviceId));
        return false;
    }
    if (data) {
        *data = buffer.mid(Orx::kTalkbackHeaderSize, buffer.size() - Orx::kTalkbackHeaderSize - 2);
    }
    return true;
}

// ---- discovery ----

void ORXProtocol::Discover(quint16 port, QList<Device*>& devices, IFeedback* feedback,
                           DiscoverySearch) {
    Report(feedback, "ORX Discovery: Starting..");
    if (!OpenUniverse()) {
        Report(feedback, " ORX Discovery: No communication device detected", FeedbackStatusError);
        return;
    }
    Report(feedback, " ORX Discovery: Resetting ORX devices");
    for (int pass = 0; pass < kResetPasses; ++pass) {
        for (quint32 id : Orx::kDiscoveryResetIds) {
            if (!SendCommand(port, Orx::kDiscoveryReset, id)) {
                Report(feedback, " ORX Discovery: Error resetting ORX devices",
                       FeedbackStatusError);
                return;
            }
        }
    }
    Os::Clock::Instance().Wait(kResetSettleMs);

    QList<Device*> found;
    DiscoveryProgress progress(feedback, 0xFFFFFFFF);
    m_progress = &progress;
    SearchRange(port, found, 0, 0xFFFFFFFF, feedback);
    m_progress = nullptr;
    for (qsizetype i = 0; i < found.size(); ++i) {
        progress.Reading("reading", int(i), int(found.size()), DiscoveryProgress::kSteps);
        ReadDevice(static_cast<ORXDevice*>(found[i]), feedback);
        devices.append(found[i]);
    }
    progress.Finish();
    Report(feedback, " ORX Discovery: Finished!");
}

bool ORXProtocol::SearchRange(quint16 port, QList<Device*>& devices, quint32 lower, quint32 upper,
                              IFeedback* feedback) {
    Report(feedback, " ORX Discovery: Searching range 0x" + Hex(lower) + " - 0x" + Hex(upper));
    if (m_progress) {
        m_progress->Searching();
    }
    if (lower == upper) {
        SearchSingle(port, devices, lower, feedback);
        Settle(lower, upper);
        return false;
    }
    bool answered = false;
    for (int query = 0; query < kRangeQueries && !answered; ++query) {
        answered = Query(port, Orx::kQueryPresence, lower, 0, 255) > 0;
    }
    if (!answered) {
        Settle(lower, upper);
        return false;
    }
    const quint32 mid = lower + (upper - lower) / 2;
    if (SearchRange(port, devices, mid + 1, upper, feedback)) {
        return false;
    }
    return SearchRange(port, devices, lower, mid, feedback);
}

void ORXProtocol::Settle(quint32 lower, quint32 upper) {
    if (m_progress) {
        m_progress->Settled(lower, upper);
    }
}

void ORXProtocol::SearchSingle(quint16 port, QList<Device*>& devices, quint32 id,
                               IFeedback* feedback) {
    for (int pass = 0; pass < kSinglePasses; ++pass) {
        if (Query(port, Orx::kQueryPresence, id, 0, 255) <= 0) {
            continue;
        }
        // Presence answers for any fixture at or above the id; only a fixture that answers
        // its own single-id query is there. (A fixture above that will not extinguish would
        // otherwise make every id below it look present.)
        if (Query(port, Orx::kQuerySingle, id, 0, 60) <= 0) {
            continue;
        }
        bool extinguished = false;
        for (int attempt = 0; attempt < kExtinguishTries && !extinguished; ++attempt) {
            SendCommand(port, Orx::kExtinguish, id);
            extinguished = Query(port, Orx::kQuerySingle, id, 0, 60) <= 0;
        }
        if (!extinguished) {
            Report(feedback, " ORX Discovery: Device would not extinquish 0x" + Hex(id));
            continue;
        }
        Report(feedback, " ORX Discovery: Device found 0x" + Hex(id));
        devices.append(new ORXDevice(quint8(port), id));
        if (m_progress) {
            m_progress->Found();
        }
    }
}

void ORXProtocol::ReadDevice(ORXDevice* device, IFeedback* feedback) {
    const quint16 port = device->GetPort();
    const quint32 id = device->GetOrxId();
    const QString forDevice = " for 0x" + Hex(id);

    Report(feedback, "ORX Discovery: Getting device type" + forDevice);
    QByteArray data;
    if (Talkback(port, id, Orx::kTalkbackRead, Orx::kTalkbackDeviceType, &data, feedback) &&
        !data.isEmpty()) {
        device->m_fixtureType = quint8(data[0]);
    } else {
        Report(feedback, " ORX Discovery: Error: Failed getting device type" + forDevice,
               FeedbackStatusError);
    }

    for (const Read& read : Reads()) {
        const bool replied = Talkback(port, id, read.operation, read.code, &data, feedback);
        if (!replied && read.values.size() > 1) {
            Report(feedback, QStringLiteral(" ORX Discovery: Warning: Failed getting ") +
                                 read.failure + forDevice);
        }
        for (const Value& value : read.values) {
            if (value.announced) {
                Report(feedback,
                       QStringLiteral("ORX Discovery: Getting ") + value.name + forDevice);
            }
            if (!replied || data.size() < value.offset + value.size) {
                Report(feedback, QStringLiteral(" ORX Discovery: Warning: Failed getting ") +
                                     value.name + forDevice);
                continue;
            }
            value.store(*device, ReadBe(data, value.offset, value.size));
        }
    }
}

// ---- firmware upload ----

bool ORXProtocol::UploadFirmware(const QList<Device*>& devices, const QString& file,
                                 IFeedback* feedback) {
    // The image is checked before any fixture is reset: an erased fixture without an image to
    // take is left with no firmware at all.
    const std::unique_ptr<QIODevice> image = ArchivePathRouter::OpenRead(file);
    if (!image || image->size() <= 0) {
        Report(feedback,
               " Error: Cannot open firmware file " + file + ": " +
                   (!ArchivePathRouter::Exists(file) ? QStringLiteral("no such file")
                    : image                          ? QStringLiteral("the file is empty")
                                                     : QStringLiteral("it cannot be read")),
               FeedbackStatusError);
        return false;
    }
    QList<Device*> upgrading = devices;
    upgrading.removeAll(nullptr);
    if (!ResetForUpload(feedback)) {
        return false;
    }
    if (!Erase(upgrading, feedback)) {
        Report(feedback, " Error: No fixtures ready for code!", FeedbackStatusError);
        return false;
    }
    quint16 imageChecksum = 0;
    int packetCount = 0;
    if (!SendPackets(*image, upgrading, &imageChecksum, &packetCount, feedback)) {
        Report(feedback, " Error: Failed to sending upload packets", FeedbackStatusError);
        return false;
    }
    return Verify(upgrading, imageChecksum, packetCount, feedback);
}

bool ORXProtocol::ResetForUpload(IFeedback* feedback) {
    Report(feedback, " Resetting devices..");
    RdmUniverseUsb* universe = OpenUniverse();
    if (!universe) {
        Report(feedback, " Error: No communication device detected", FeedbackStatusError);
        return false;
    }
    const quint16 ports = universe->GetPortCount();
    for (quint16 port = 0; port < ports; ++port) {
        for (int pass = 0; pass < kUploadResetPasses; ++pass) {
            for (quint32 id : Orx::kUploadResetIds) {
                SendCommand(port, Orx::kUploadReset, id);
            }
        }
    }
    Os::Clock::Instance().Wait(kResetSettleMs);
    return true;
}

bool ORXProtocol::IsReady(Device* device) {
    QByteArray reply;
    return Query(device->GetPort(), Orx::kQueryReady, device->DeviceId(), 0, Orx::kQueryReplySize,
                 &reply) > 0 &&
           ReadBe(reply, 6, 4) == Orx::kReadyMark;
}

bool ORXProtocol::IsPresent(Device* device, quint16 probe) {
    QByteArray reply;
    return Query(device->GetPort(), Orx::kQueryMirror, device->DeviceId(), probe,
                 Orx::kQueryReplySize, &reply) > 0 &&
           ReadBe(reply, 8, 2) == probe;
}

bool ORXProtocol::Erase(QList<Device*>& devices, IFeedback* feedback) {
    Report(feedback, " Sending command to devices to erase flashrom");
    for (Device* device : devices) {
        SendCommand(device->GetPort(), Orx::kEraseFlash, device->DeviceId());
    }
    Report(feedback, " Waiting up to 60 seconds for devices to erase flashrom");
    Os::Clock& clock = Os::Clock::Instance();
    const qint64 start = clock.NowMs();
    QList<Device*> ready;
    int reported = -1;
    while (ready.size() < devices.size() && clock.NowMs() - start < kEraseTimeoutMs) {
        clock.Wait(kErasePollMs);
        for (Device* device : devices) {
            if (!ready.contains(device) && IsReady(device)) {
                ready.append(device);
            }
        }
        if (ready.size() != reported) {
            reported = int(ready.size());
            Report(feedback, QStringLiteral("Devices %1 out of %2 is ready!")
                                 .arg(ready.size())
                                 .arg(devices.size()));
        }
    }
    // Only fixtures that erased their flash can take the image.
    devices = ready;
    return !devices.isEmpty();
}

bool ORXProtocol::SendPackets(QIODevice& image, QList<Device*>& devices, quint16* imageChecksum,
                              int* packetCount, IFeedback* feedback) {
    const int packets =
        std::max<int>(1, int((image.size() + Orx::kPacketSize - 1) / Orx::kPacketSize));
    *packetCount = packets;
    Report(feedback, QStringLiteral(" Sending %1 data packets to fixtures").arg(packets));
    RdmUniverseUsb* universe = OpenUniverse();
    ProgressMeter progress(feedback, packets);
    for (int packet = 0; packet < packets; ++packet) {
        QByteArray data = image.read(Orx::kPacketSize);
        if (data.isEmpty()) {
            Report(feedback,
                   QStringLiteral(" Error: End of file error in packet %1").arg(packet + 1),
                   FeedbackStatusError);
            return false;
        }
        // The tail of a short last packet is what erased flash holds.
        data = data.leftJustified(Orx::kPacketSize, char(0xFF));
        *imageChecksum = Orx::Checksum(data, *imageChecksum);
        Report(feedback,
               QStringLiteral(" Processing packet %1 of %2").arg(packet + 1).arg(packets));
        if (data.count(char(0xFF)) == data.size()) {
            Report(feedback, " - Skipping packet");
        } else {
            const quint16 ports = universe ? universe->GetPortCount() : 0;
            for (quint16 port = 0; port < ports; ++port) {
                SendCommand(port, Orx::kFirmwarePacket, quint32(packet), data);
            }
            Report(feedback, " - Success");
        }
        Os::Clock::Instance().Wait(21);
        for (qsizetype i = devices.size() - 1; i >= 0; --i) {
            if (!IsPresent(devices[i], quint16(packet))) {
                const quint32 id = devices[i]->DeviceId();
                devices.removeAt(i);
                Report(feedback,
                       QStringLiteral(" Error: Device 0x%1 lost., %2 devices left in upload")
                           .arg(Hex(id))
                           .arg(devices.size()),
                       FeedbackStatusError);
            }
        }
        if (devices.isEmpty()) {
            return false;
        }
        progress.Step(packet + 1,
                      ProgressMeter::TransferText("Packet", packet + 1, packets, devices.size()));
    }
    return true;
}

bool ORXProtocol::Verify(const QList<Device*>& devices, quint16 imageChecksum, int packetCount,
                         IFeedback* feedback) {
    if (devices.isEmpty()) {
        Report(feedback, " No devices left to verify");
        return false;
    }
    QList<Device*> unverified = devices;
    for (int pass = 1; pass <= kVerifyPasses && !unverified.isEmpty(); ++pass) {
        Report(feedback, QStringLiteral(" Verifying checksums (pass %1)").arg(pass));
        Report(feedback, QStringLiteral(" Verify checksum value of 0x%1 in %2 device(s)")
                             .arg(Hex(imageChecksum))
                             .arg(unverified.size()));
        for (qsizetype i = unverified.size() - 1; i >= 0; --i) {
            Device* device = unverified[i];
            QByteArray reply;
            const bool ok = Query(device->GetPort(), Orx::kQueryChecksum, device->DeviceId(),
                                  quint16(packetCount), Orx::kQueryReplySize, &reply) > 0 &&
                            ReadBe(reply, 8, 2) == imageChecksum;
            if (ok) {
                Report(feedback, " Device 0x" + Hex(device->DeviceId()) + " verified");
                unverified.removeAt(i);
            } else {
                Report(feedback, " Error: Device 0x" + Hex(device->DeviceId()) + " checksum failed",
                       FeedbackStatusError);
            }
        }
    }
    const qsizetype verified = devices.size() - unverified.size();
    Report(feedback,
           QStringLiteral(" %1 device(s) out of %2 verified.").arg(verified).arg(devices.size()));
    return verified > 0;
}
