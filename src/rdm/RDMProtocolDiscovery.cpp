// RDM discovery: the binary search over the UID space and the steps for each found fixture.

#include "comm/CommManager.h"
#include "comm/IFeedback.h"
#include "hardware/RdmUniverseUsb.h"
#include "os/Clock.h"
#include "os/HexText.h"
#include "rdm/RDMProtocol.h"
#include "rdm/UniqueIdGenerator.h"
#include "rdm/devices/RDMDevice.h"
#include "rdm/devices/RdmFamily.h"

#include <memory>

namespace {

constexpr quint64 kBroadcastUid = 0xFFFFFFFFFFFFULL;

}  // namespace

void RDMProtocol::Discover(quint16 port, QList<Device*>& devices, IFeedback* feedback) {
    Report(feedback, "RDM Discovery: Starting..", FeedbackStatusNormal);
    if (!CommManager::Instance()->IsWidgetPresent()) {
        Report(feedback, " Error: No communication device detected", FeedbackStatusError);
        return;
    }
    Report(feedback, "RDM Discovery: Unmute all devices", FeedbackStatusNormal);
    DiscUnMute(port, kBroadcastUid, feedback);
    Os::Clock::Instance().Wait(kUnmuteSettleMs);

    const quint64 upper =
        UniqueIdGenerator::IsProductionMode() ? kProductionSearchUpper : kSearchUpper;
    QList<Device*> found;
    SearchRange(port, found, 0, upper, feedback);

    QList<RDMDevice*> working;
    for (Device* device : found) {
        working.append(PrepareFoundDevice(static_cast<RDMDevice*>(device), feedback));
    }
    UpdateDeviceInformation(working, feedback);
    for (RDMDevice* device : working) {
        devices.append(device);
    }
    Report(feedback, "RDM Discovery: Finished!", FeedbackStatusNormal);
}

RDMDevice* RDMProtocol::LocateDevice(quint64 uid, quint16 portCount, IFeedback* feedback) {
    for (quint16 port = 0; port < portCount; ++port) {
        auto probe = std::make_unique<RDMDevice>(uid);
        probe->SetPort(quint8(port));
        // Ports without the fixture stay quiet: only the port that answers reports.
        if (GetDeviceInfo(probe.get(), nullptr)) {
            RDMDevice* device = PrepareFoundDevice(probe.release(), feedback);
            GetSoftwareVersionLabel(device, feedback);
            GetDeviceLabel(device, feedback);
            return device;
        }
    }
    return nullptr;
}

RDMDevice* RDMProtocol::PrepareFoundDevice(RDMDevice* found, IFeedback* feedback) {
    Report(feedback,
           QStringLiteral("------ Querying device information for %1 ------")
               .arg(Hex(found->GetUid())),
           FeedbackStatusNormal);
    GetDeviceInfo(found, feedback);
    GetModelDescription(found, feedback);
    GetIdentify(found, feedback);

    const RdmFamily* family = RdmFamily::ForModel(found->GetModelDescription());
    if (!family) {
        return found;
    }
    std::unique_ptr<RDMDevice> member = family->Create(found->GetUid(), found->GetPort());
    GetDeviceInfo(member.get(), feedback);
    GetModelDescription(member.get(), feedback);
    if (!family->Check(member.get(), feedback)) {
        Report(feedback,
               QStringLiteral("Cannot instantiate %1 because cannot get the FPGA version or the "
                              "GE unique Id")
                   .arg(found->GetModelDescription()),
               FeedbackStatusError);
        return found;  // the fixture stays in the list as a plain RDM device
    }
    family->AssignIdentities(member.get(), feedback);
    delete found;
    return member.release();
}

bool RDMProtocol::SearchRange(quint16 port, QList<Device*>& devices, quint64 lower, quint64 upper,
                              IFeedback* feedback) {
    Report(feedback, " RDM Discovery: Searching range 0x" + Hex(lower) + " - 0x" + Hex(upper),
           FeedbackStatusNormal);
    if (lower == upper) {
        for (int attempt = 0; attempt < kMuteAttempts; ++attempt) {
            if (DiscMute(port, lower, feedback)) {
                Report(feedback, " RDM Discovery: Device found 0x" + Hex(lower),
                       FeedbackStatusNormal);
                auto* device = new RDMDevice(lower);
                device->SetPort(quint8(port));
                devices.append(device);
                break;
            }
        }
        return false;
    }
    bool answered = false;
    for (int attempt = 0; attempt < kBranchAttempts && !answered; ++attempt) {
        answered = DiscUniqueBranch(port, lower, upper, feedback);
    }
    if (!answered) {
        return false;
    }
    // Any byte back, a clean reply or a collision, means someone is in the range.
    const quint64 mid = lower + (upper - lower) / 2;
    SearchRange(port, devices, mid + 1, upper, feedback);
    SearchRange(port, devices, lower, mid, feedback);
    return false;
}

bool RDMProtocol::DiscUniqueBranch(quint16 port, quint64 lower, quint64 upper, IFeedback*) {
    RdmUniverseUsb* universe = CommManager::Instance()->GetUniverse();
    if (!universe) {
        return false;
    }
    quint8 bounds[12];
    PackUid(bounds, lower);
    PackUid(bounds + 6, upper);
    const QByteArray packet =
        BuildRequest(quint32(kBroadcastUid), quint16(kBroadcastUid >> 32), Rdm::kDiscovery,
                     Rdm::DiscUniqueBranch, bounds, sizeof bounds);
    if (!universe->SendRdm(port, kBranchExpectedLength,
                           reinterpret_cast<const quint8*>(packet.constData()),
                           quint32(packet.size()))) {
        return false;
    }
    Os::Clock::Instance().Wait(kBranchReplyWaitMs);
    quint8 reply[kBranchExpectedLength];
    return universe->ReceiveRdm(port, kBranchReceiveWait, reply, sizeof reply) > 0;
}

bool RDMProtocol::DiscMute(quint16 port, quint64 uid, IFeedback* feedback) {
    return MuteControl(port, uid, Rdm::DiscMute, "to Mute", feedback);
}

bool RDMProtocol::DiscUnMute(quint16 port, quint64 uid, IFeedback* feedback) {
    return MuteControl(port, uid, Rdm::DiscUnMute, "Unmuting", feedback);
}

bool RDMProtocol::MuteControl(quint16 port, quint64 uid, quint16 pid, const char* action,
                              IFeedback* feedback) {
    // The control field, and the binding UID that multi-port responders add.
    quint8 reply[8];
    quint32 length = sizeof reply;
    const ResponseStatus status =
        RdmTransaction(quint8(port), quint32(uid), quint16(uid >> 32), Rdm::kDiscovery, pid,
                       nullptr, 0, reply, length, feedback);
    if (status == ResponseNack) {
        Report(feedback,
               QStringLiteral(" Device 0x%1 Failed %2: Nack Error %3!")
                   .arg(Hex(uid), QString::fromLatin1(action))
                   .arg(UnpackUInt16(reply)),
               FeedbackStatusError);
        return false;
    }
    return status == ResponseAck;
}
