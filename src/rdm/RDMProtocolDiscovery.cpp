// RDM discovery: the binary search over the UID space and the steps for each found fixture.

#include "comm/CommManager.h"
#include "comm/IFeedback.h"
#include "comm/ProgressShare.h"
#include "hardware/RdmUniverseUsb.h"
#include "os/Clock.h"
#include "os/HexText.h"
#include "rdm/DiscoveryProgress.h"
#include "rdm/RDMProtocol.h"
#include "rdm/SearchBudget.h"
#include "rdm/UniqueBranchReply.h"
#include "rdm/UniqueIdGenerator.h"
#include "rdm/devices/RDMDevice.h"
#include "rdm/devices/RdmFamily.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

namespace {

constexpr quint64 kBroadcastUid = 0xFFFFFFFFFFFFULL;

}  // namespace

void RDMProtocol::Discover(quint16 port, QList<Device*>& devices, IFeedback* feedback,
                           DiscoverySearch search) {
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
    const bool fast = search == DiscoverySearch::Fast;
    SearchBudget budget(fast ? SearchBudget::kFast : SearchBudget::kThorough, feedback);
    DiscoveryProgress progress(feedback, upper);
    QList<Device*> found;
    m_budget = &budget;
    m_progress = &progress;
    if (fast) {
        FastSearch(port, found, upper, feedback);
    } else {
        SearchRange(port, found, 0, upper, feedback);
    }
    m_budget = nullptr;
    m_progress = nullptr;
    if (budget.Stopped() == SearchBudget::Stop::Cancelled) {
        qDeleteAll(found);  // not one more request once cancelled
        return;
    }

    // Querying the fixtures found takes the steps up to kPrepared, reading them the rest.
    constexpr int kPrepared = DiscoveryProgress::kSearchSteps + 200;
    QList<RDMDevice*> working;
    for (Device* device : found) {
        progress.Reading("querying", int(working.size()), int(found.size()), kPrepared);
        working.append(PrepareFoundDevice(static_cast<RDMDevice*>(device), feedback));
    }
    ProgressShare reading(feedback, std::max(progress.Step(), kPrepared),
                          DiscoveryProgress::kSteps);
    UpdateDeviceInformation(working, &reading);
    for (RDMDevice* device : working) {
        devices.append(device);
    }
    progress.Finish();
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
    if (SearchStopped()) {
        return false;
    }
    ReportRange(lower, upper, feedback);
    if (lower == upper) {
        if (!IsFound(devices, lower) && !MuteFound(port, devices, lower, feedback)) {
            SilentLeaf();
        }
        Settle(lower, upper);
        return false;
    }
    if (AnswersSlowly(port, lower, upper, feedback)) {
        // Any byte back, a clean reply or a collision, means someone is in the range.
        SearchHalves(port, devices, lower, upper, feedback, DiscoverySearch::Thorough);
    } else {
        Settle(lower, upper);
    }
    return false;
}

void RDMProtocol::FastSearch(quint16 port, QList<Device*>& devices, quint64 upper,
                             IFeedback* feedback) {
    FastSearchRange(port, devices, 0, upper, feedback);
    if (SearchStopped()) {
        return;
    }
    // The safety net: everyone found is muted, so the whole range stays quiet even with the
    // long reply window, unless a fixture answered too late for the fast search or was missed.
    // Only then does the thorough search run, from the top.
    ReportRange(0, upper, feedback);
    if (AnswersSlowly(port, 0, upper, feedback)) {
        Report(feedback, " RDM Discovery: Late replies, searching the whole range thoroughly",
               FeedbackStatusWarning);
        SearchHalves(port, devices, 0, upper, feedback, DiscoverySearch::Thorough);
    }
}

void RDMProtocol::FastSearchRange(quint16 port, QList<Device*>& devices, quint64 lower,
                                  quint64 upper, IFeedback* feedback) {
    if (SearchStopped()) {
        return;
    }
    ReportRange(lower, upper, feedback);
    quint8 reply[kBranchExpectedLength];
    std::optional<quint64> uid;
    for (;;) {
        const int count = UniqueBranch(port, lower, upper, 0, reply, sizeof reply);
        if (count <= 0) {
            Settle(lower, upper);
            return;
        }
        // A UID that comes back whole is muted at once. The range is asked again all the
        // same: the replies of fixtures whose UIDs share their bits can overlap into one of
        // them, checksum and all.
        uid = UniqueBranchReply::Decode(reply, count);
        if (!uid || *uid < lower || upper < *uid || IsFound(devices, *uid) ||
            !MuteFound(port, devices, *uid, feedback)) {
            break;
        }
    }
    if (lower == upper) {
        // A single UID that answered garbled may still take a mute; one that sent its UID
        // whole has just refused it.
        if (!IsFound(devices, lower) && (uid || !MuteFound(port, devices, lower, feedback))) {
            SilentLeaf();
        }
        Settle(lower, upper);
        return;
    }
    // A collision (or a UID that would not mute): the halves tell the fixtures apart.
    SearchHalves(port, devices, lower, upper, feedback, DiscoverySearch::Fast);
}

void RDMProtocol::SearchHalves(quint16 port, QList<Device*>& devices, quint64 lower, quint64 upper,
                               IFeedback* feedback, DiscoverySearch search) {
    const quint64 mid = lower + (upper - lower) / 2;  // never above the 48-bit upper bound
    const std::pair<quint64, quint64> halves[] = {{mid + 1, upper}, {lower, mid}};
    for (const auto& [low, high] : halves) {
        if (search == DiscoverySearch::Fast) {
            FastSearchRange(port, devices, low, high, feedback);
        } else {
            SearchRange(port, devices, low, high, feedback);
        }
    }
}

bool RDMProtocol::AnswersSlowly(quint16 port, quint64 lower, quint64 upper, IFeedback* feedback) {
    for (int attempt = 0; attempt < kBranchAttempts; ++attempt) {
        if (DiscUniqueBranch(port, lower, upper, feedback)) {
            return true;
        }
    }
    return false;
}

bool RDMProtocol::MuteFound(quint16 port, QList<Device*>& devices, quint64 uid,
                            IFeedback* feedback) {
    for (int attempt = 0; attempt < kMuteAttempts; ++attempt) {
        if (DiscMute(port, uid, feedback)) {
            Report(feedback, " RDM Discovery: Device found 0x" + Hex(uid), FeedbackStatusNormal);
            auto* device = new RDMDevice(uid);
            device->SetPort(quint8(port));
            devices.append(device);
            if (m_budget) {
                m_budget->Found();
            }
            if (m_progress) {
                m_progress->Found();
            }
            return true;
        }
    }
    return false;
}

bool RDMProtocol::IsFound(const QList<Device*>& devices, quint64 uid) {
    return std::any_of(devices.begin(), devices.end(),
                       [uid](const Device* device) { return device->GetUid() == uid; });
}

void RDMProtocol::ReportRange(quint64 lower, quint64 upper, IFeedback* feedback) {
    Report(feedback, " RDM Discovery: Searching range 0x" + Hex(lower) + " - 0x" + Hex(upper),
           FeedbackStatusNormal);
    if (m_progress) {
        m_progress->Searching();
    }
}

void RDMProtocol::Settle(quint64 lower, quint64 upper) {
    if (m_progress && !SearchStopped()) {
        m_progress->Settled(lower, upper);
    }
}

bool RDMProtocol::SearchStopped() const {
    return m_budget && m_budget->Stopped() != SearchBudget::Stop::None;
}

void RDMProtocol::SilentLeaf() {
    if (m_budget) {
        m_budget->SilentLeaf();
    }
}

bool RDMProtocol::DiscUniqueBranch(quint16 port, quint64 lower, quint64 upper, IFeedback*) {
    quint8 reply[kBranchExpectedLength];
    return UniqueBranch(port, lower, upper, kBranchReplyWaitMs, reply, sizeof reply) > 0;
}

int RDMProtocol::UniqueBranch(quint16 port, quint64 lower, quint64 upper, qint64 waitMs,
                              quint8* reply, quint32 capacity) {
    RdmUniverseUsb* universe = CommManager::Instance()->GetUniverse();
    if (!universe || (m_budget && !m_budget->Spend())) {
        return 0;
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
        return 0;
    }
    // The widget holds the line for the reply window itself; the thorough search waits on top.
    Os::Clock::Instance().Wait(waitMs);
    return int(universe->ReceiveRdm(port, kBranchReceiveWait, reply, capacity));
}

bool RDMProtocol::DiscMute(quint16 port, quint64 uid, IFeedback* feedback) {
    return MuteControl(port, uid, Rdm::DiscMute, "to Mute", feedback);
}

bool RDMProtocol::DiscUnMute(quint16 port, quint64 uid, IFeedback* feedback) {
    return MuteControl(port, uid, Rdm::DiscUnMute, "Unmuting", feedback);
}

bool RDMProtocol::MuteControl(quint16 port, quint64 uid, quint16 pid, const char* action,
                              IFeedback* feedback) {
    if (m_budget && !m_budget->Spend()) {
        return false;
    }
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
