#pragma once

#include "sim/Rig.h"

#include <QJsonValue>

#include <optional>

namespace Sim {

// Reads one fixture of a rig file: an RDM fixture ("type": "rdm", the default) or a legacy
// talk-back fixture ("type": "orx") on a port of a widget with `portCount` ports.
std::optional<RigFixture> ParseRigFixture(const QJsonValue& value, const QString& where,
                                          int portCount, QString* error);

}  // namespace Sim
