#pragma once

#include "sim/Rig.h"

#include <QJsonValue>

#include <optional>

namespace Sim {

// Reads one fixture of a rig file: an RDM fixture ("type": "rdm", the default), an LED
// fixture ("type": "marqa" or "solvi") or a legacy talk-back fixture ("type": "orx") on a
// port of a widget with `portCount` ports. Image files are found relative to `folder`.
std::optional<RigFixture> ParseRigFixture(const QJsonValue& value, const QString& where,
                                          int portCount, const QString& folder, QString* error);

}  // namespace Sim
