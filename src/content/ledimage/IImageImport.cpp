#include "content/ledimage/IImageImport.h"

#include <atomic>

namespace {

std::atomic<IImageImport*> g_installed{nullptr};

}  // namespace

IImageImport* IImageImport::Installed() {
    return g_installed.load();
}

void IImageImport::Install(IImageImport* import) {
    g_installed.store(import);
}
