// Takes arbitrary bytes as a rig file: parsing must end without a crash, with a rig or with
// the reason it was refused.
#include "sim/Rig.h"

#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    QString error;
    const std::optional<Sim::Rig> rig = Sim::Rig::Parse(
        QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), &error, dir.path());
    if (!rig && error.isEmpty()) {
        std::abort();
    }
    return 0;
}
