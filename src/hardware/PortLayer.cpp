#include "hardware/PortLayer.h"

#include <cerrno>
#include <mutex>

namespace Hardware {

namespace {

// Stands in while no layer is installed: no device is ever present.
class EmptyPortLayer final : public PortLayer {
public:
    QStringList Enumerate(const QUuid&) override { return {}; }
    Handle Open(const QString&, int* error) override {
        *error = ENODEV;
        return kInvalidHandle;
    }
    IoResult IoControl(Handle, quint32, const QByteArray&, quint32) override {
        return {EBADF, {}, 0};
    }
    IoResult Write(Handle, const QByteArray&) override { return {EBADF, {}, 0}; }
    void CancelIo(Handle) override {}
    void Close(Handle) override {}
    bool StartHotPlug(std::function<void()>) override { return true; }
    void StopHotPlug() override {}
};

std::mutex g_mutex;
std::unique_ptr<PortLayer> g_layer;

}  // namespace

PortLayer& PortLayer::Instance() {
    std::lock_guard lock(g_mutex);
    if (!g_layer) {
        g_layer = std::make_unique<EmptyPortLayer>();
    }
    return *g_layer;
}

std::unique_ptr<PortLayer> PortLayer::Install(std::unique_ptr<PortLayer> layer) {
    std::lock_guard lock(g_mutex);
    std::swap(g_layer, layer);
    return layer;
}

}  // namespace Hardware
