#pragma once

#include "os/Log.h"

namespace Quorel::Log {

inline Os::Log::Category& Quorel() {
    static Os::Log::Category category("Quorel");
    return category;
}

}  // namespace Quorel::Log
