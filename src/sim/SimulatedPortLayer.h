#pragma once

#include "hardware/PortLayer.h"
#include "sim/SimWidget.h"

#include <map>
#include <memory>
#include <mutex>

namespace Sim {

// A port layer whose widgets live in this process. Widgets are plugged and unplugged by a
// test or a rig; each plug or unplug is a device change reported at once on the caller's
// thread. Device paths are "sim:<interface class>/<name>".
class SimulatedPortLayer final : public Hardware::PortLayer {
public:
    // Adds a widget; reports a device change unless told not to.
    std::shared_ptr<SimWidget> Plug(const WidgetConfig& config, bool notify = true);
    void Unplug(const QString& name, bool notify = true);
    // Reports a device change now (after plugging several widgets without notice).
    void AnnounceChange();
    // While set, opening the widget fails with EACCES.
    void RefuseOpen(const QString& name, bool refuse);

    std::shared_ptr<SimWidget> Widget(const QString& name) const;
    static QString PathOf(const WidgetConfig& config);

    QStringList Enumerate(const QUuid& interfaceClass) override;
    Handle Open(const QString& path, int* error) override;
    IoResult IoControl(Handle handle, quint32 code, const QByteArray& input,
                       quint32 outputCapacity) override;
    IoResult Write(Handle handle, const QByteArray& data) override;
    void CancelIo(Handle handle) override;
    void Close(Handle handle) override;
    bool StartHotPlug(std::function<void()> onChange) override;
    void StopHotPlug() override;

private:
    struct Present {
        std::shared_ptr<SimWidget> widget;
        bool refuseOpen = false;
    };
    std::shared_ptr<SimWidget> WidgetOf(Handle handle, int* error) const;

    mutable std::mutex m_lock;
    std::map<QString, Present> m_present;  // by path
    std::map<Handle, QString> m_open;      // handle -> path
    Handle m_nextHandle = 1;
    std::function<void()> m_onChange;
};

}  // namespace Sim
