#pragma once

#include <QStringList>

// `aurelctl discover [--rdm | --orx | --all] [--json] [--log]`: runs a discovery through
// the command queue and lists the fixtures found.
namespace DiscoverVerb {

int Run(const QStringList& arguments);

}  // namespace DiscoverVerb
