#include "lumo/devices/LumoFamily.h"

#include "comm/IFeedback.h"
#include "lumo/LumoProtocol.h"
#include "lumo/devices/MarqaRDM.h"
#include "lumo/devices/SolviRDM.h"
#include "rdm/UniqueIdGenerator.h"

#include <mutex>

namespace {

// Identities below these are the fixtures' unset ones.
constexpr quint32 kFirstGraphicsId = 3;
constexpr quint64 kFirstMotionId = 2;

template <class Fixture>
class Family : public LumoFamily {
public:
    QString ModelName() const override { return QString::fromLatin1(Fixture::kModelName); }
    std::unique_ptr<RDMDevice> Create(quint64 uid, quint8 port) const override {
        auto device = std::make_unique<Fixture>(uid);
        device->SetPort(port);
        return device;
    }
};

void Report(IFeedback* feedback, const QString& text, FeedbackStatus status) {
    if (feedback) {
        feedback->AddString(text, status);
    }
}

}  // namespace

void LumoFamily::RegisterAll() {
    static std::once_flag once;
    std::call_once(once, [] {
        Register(std::make_unique<Family<SolviRDM>>());
        Register(std::make_unique<Family<MarqaRDM>>());
    });
}

bool LumoFamily::Check(RDMDevice* device, IFeedback* feedback) const {
    auto* fixture = qobject_cast<LumoRDM*>(device);
    if (!fixture) {
        return false;
    }
    LumoProtocol* protocol = LumoProtocol::ProtocolFor(fixture);
    if (!protocol->GetFpgaVersion(fixture, feedback) ||
        !protocol->GetGraphicsUniqueId(fixture, feedback)) {
        return false;
    }
    // What the fixture's property table shows; a fixture that cannot tell keeps the defaults.
    protocol->GetGraphicsVersion(fixture, feedback);
    protocol->GetGraphicsBootChanged(fixture, feedback);
    protocol->GetQuorelAddress(fixture, feedback);
    return true;
}

void LumoFamily::AssignIdentities(RDMDevice* device, IFeedback* feedback) const {
    auto* fixture = qobject_cast<LumoRDM*>(device);
    if (!fixture) {
        return;
    }
    LumoProtocol* protocol = LumoProtocol::ProtocolFor(fixture);
    const QString model = fixture->GetModelDescription();
    const auto nextId = [&]() -> std::optional<quint32> {
        QString why;
        const std::optional<quint32> id = UniqueIdGenerator::NextId(model, &why);
        if (!id) {
            // The fixture works on with the ids it has: nothing else of the discovery failed.
            Report(feedback,
                   QStringLiteral("Warning: Could not read the unique id file: %1. The fixture "
                                  "keeps the ids it has.")
                       .arg(why),
                   FeedbackStatusWarning);
        }
        return id;
    };
    if (fixture->GetGraphicsUniqueId() < kFirstGraphicsId) {
        Report(feedback,
               QStringLiteral("Attempting to assign the graphics engine a new unique Id."),
               FeedbackStatusNormal);
        if (const auto id = nextId()) {
            protocol->SetGraphicsUniqueId(fixture, *id, feedback);
        }
    }
    if (fixture->DeviceId() < kFirstMotionId) {
        Report(feedback, QStringLiteral("Attempting to assign motion a new unique ID."),
               FeedbackStatusNormal);
        if (const auto id = nextId()) {
            protocol->SetMotionUniqueId(fixture, *id, feedback);
        }
    }
}
