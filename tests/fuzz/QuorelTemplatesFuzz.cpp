// Feeds arbitrary text to the reader of the Quorel templates file: it must never crash, and
// what it accepts, once written, must read back and write again the same.
#include "quorel/QuorelTemplateList.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuorelTemplateList::Templates templates;
    if (!QuorelTemplateList::Parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)),
                                   &templates)) {
        return 0;
    }
    const QByteArray written = QuorelTemplateList::Write(templates);
    QuorelTemplateList::Templates again;
    if (!QuorelTemplateList::Parse(written, &again) || again.size() != templates.size()) {
        std::abort();
    }
    // Reading raises an address below 1 by one each time; everything else reads back as written.
    for (const auto& quorel : templates) {
        for (const auto& fixture : quorel->Fixtures()) {
            fixture->num += fixture->num < 1 ? 1 : 0;
        }
    }
    if (QuorelTemplateList::Write(again) != QuorelTemplateList::Write(templates)) {
        std::abort();
    }
    return 0;
}
