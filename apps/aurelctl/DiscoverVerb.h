#pragma once

#include <QStringList>

// `aurelctl discover [--rdm | --orx | --all] [--thorough] [--json] [--log]`: runs a discovery
// through the command queue and lists the fixtures found; Ctrl+C cancels it.
namespace DiscoverVerb {

int Run(const QStringList& arguments);

}  // namespace DiscoverVerb
