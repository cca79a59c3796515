#pragma once

#include "os/Log.h"

namespace Archive::Log {

inline Os::Log::Category& Archive() {
    static Os::Log::Category category("Archive");
    return category;
}

}  // namespace Archive::Log
