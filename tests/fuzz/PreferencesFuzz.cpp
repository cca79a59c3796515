// Takes arbitrary bytes as "Preferences.xml": loading must end without a crash, and what is
// stored afterwards is saved and read back unchanged.
#include "ui/Preferences.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    {
        QFile file(dir.filePath("Preferences.xml"));
        if (!file.open(QIODevice::WriteOnly)) {
            return 0;
        }
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    {
        Preferences loaded(dir.path());
        loaded.GetLastPath("Import");
        loaded.SetLastPath("Export", "/tmp/a & <b>");
    }
    const Preferences again(dir.path());
    if (again.GetLastPath("Export") != "/tmp/a & <b>") {
        std::abort();
    }
    return 0;
}
