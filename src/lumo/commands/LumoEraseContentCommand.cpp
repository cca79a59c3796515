#include "lumo/commands/LumoEraseContentCommand.h"

#include "lumo/tree/LumoContentErasure.h"

namespace {

struct Erasure {
    const char* name;
    const char* description;
    bool (*erase)(LumoRDM*, IFeedback*);
};

// By kind.
constexpr Erasure kErasures[] = {
    {"Lumo Delete User Content", "Delete all user content",
     &LumoContentErasure::DeleteAllUserContent},
    {"Lumo Delete Quorel Content", "Delete all Quorel content",
     &LumoContentErasure::DeleteAllQuorelContent},
};

}  // namespace

LumoEraseContentCommand::LumoEraseContentCommand(QObject* parent) : LumoDeviceCommand(parent) {
    SetName(QLatin1String(kErasures[UserContent].name));
}

void LumoEraseContentCommand::Setup(Device* device, Kind kind) {
    Store(device, [&] { m_kind = kind; });
    SetName(QLatin1String(kErasures[kind].name));
    Describe(QLatin1String(kErasures[kind].description));
}

bool LumoEraseContentCommand::Execute() {
    LumoRDM* device = TargetDevice();
    const bool ok = device && kErasures[Locked(m_kind)].erase(device, this);
    Finished(ResultOf(ok));
    return ok;
}
