// Feeds arbitrary text to the reader of the library's description files: it must never crash,
// and what it accepts must survive being written and read again unchanged.
#include "content/library/ContentLibraryConfig.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ContentLibraryConfig config;
    if (!config.Parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)))) {
        return 0;
    }
    for (const bool quorelIds : {false, true}) {
        ContentLibraryConfig again;
        if (!again.Parse(config.Write(quorelIds)) ||
            again.children.size() != config.children.size() || again.policy != config.policy ||
            again.version != config.version) {
            std::abort();
        }
        for (size_t i = 0; i < config.children.size(); ++i) {
            if (again.children[i].name != config.children[i].name ||
                again.children[i].address != config.children[i].address) {
                std::abort();
            }
        }
    }
    return 0;
}
