#include "sim/SimulatedPortLayer.h"

#include "hardware/InterfaceClasses.h"

#include <cerrno>

namespace Sim {

QString SimulatedPortLayer::PathOf(const WidgetConfig& config) {
    return "sim:" + Hardware::InterfaceClasses::Text(config.interfaceClass) + "/" + config.name;
}

std::shared_ptr<SimWidget> SimulatedPortLayer::Plug(const WidgetConfig& config, bool notify) {
    auto widget = std::make_shared<SimWidget>(config);
    {
        std::lock_guard lock(m_lock);
        m_present[PathOf(config)] = Present{widget, false};
    }
    if (notify) {
        AnnounceChange();
    }
    return widget;
}

void SimulatedPortLayer::Unplug(const QString& name, bool notify) {
    {
        std::lock_guard lock(m_lock);
        std::erase_if(m_present, [&](const auto& entry) {
            return entry.second.widget->Config().name == name;
        });
    }
    if (notify) {
        AnnounceChange();
    }
}

void SimulatedPortLayer::RefuseOpen(const QString& name, bool refuse) {
    std::lock_guard lock(m_lock);
    for (auto& [path, present] : m_present) {
        if (present.widget->Config().name == name) {
            present.refuseOpen = refuse;
        }
    }
}

std::shared_ptr<SimWidget> SimulatedPortLayer::Widget(const QString& name) const {
    std::lock_guard lock(m_lock);
    for (const auto& [path, present] : m_present) {
        if (present.widget->Config().name == name) {
            return present.widget;
        }
    }
    return {};
}

void SimulatedPortLayer::AnnounceChange() {
    std::function<void()> onChange;
    {
        std::lock_guard lock(m_lock);
        onChange = m_onChange;
    }
    if (onChange) {
        onChange();
    }
}

QStringList SimulatedPortLayer::Enumerate(const QUuid& interfaceClass) {
    std::lock_guard lock(m_lock);
    QStringList paths;
    for (const auto& [path, present] : m_present) {  // the map keeps paths sorted
        if (present.widget->Config().interfaceClass == interfaceClass) {
            paths.append(path);
        }
    }
    return paths;
}

Hardware::PortLayer::Handle SimulatedPortLayer::Open(const QString& path, int* error) {
    std::lock_guard lock(m_lock);
    const auto it = m_present.find(path);
    if (it == m_present.end()) {
        *error = ENOENT;
        return kInvalidHandle;
    }
    if (it->second.refuseOpen) {
        *error = EACCES;
        return kInvalidHandle;
    }
    const Handle handle = m_nextHandle++;  // never reused, so a stale handle stays stale
    m_open[handle] = path;
    return handle;
}

std::shared_ptr<SimWidget> SimulatedPortLayer::WidgetOf(Handle handle, int* error) const {
    std::lock_guard lock(m_lock);
    const auto open = m_open.find(handle);
    if (open == m_open.end()) {
        *error = EBADF;
        return {};
    }
    const auto present = m_present.find(open->second);
    if (present == m_present.end()) {
        *error = ENODEV;  // unplugged while open
        return {};
    }
    return present->second.widget;
}

Hardware::PortLayer::IoResult SimulatedPortLayer::IoControl(Handle handle, quint32 code,
                                                            const QByteArray& input,
                                                            quint32 outputCapacity) {
    int error = 0;
    const auto widget = WidgetOf(handle, &error);
    if (!widget) {
        return {error, {}, 0};
    }
    SimWidget::Reply reply = widget->IoControl(code, input, outputCapacity);
    return {reply.status, std::move(reply.output), reply.transferred};
}

Hardware::PortLayer::IoResult SimulatedPortLayer::Write(Handle handle, const QByteArray& data) {
    int error = 0;
    const auto widget = WidgetOf(handle, &error);
    if (!widget) {
        return {error, {}, 0};
    }
    const SimWidget::Reply reply = widget->Write(data);
    return {reply.status, {}, reply.transferred};
}

void SimulatedPortLayer::CancelIo(Handle) {
    // Requests complete at once here: nothing is ever pending.
}

void SimulatedPortLayer::Close(Handle handle) {
    std::lock_guard lock(m_lock);
    m_open.erase(handle);
}

bool SimulatedPortLayer::StartHotPlug(std::function<void()> onChange) {
    std::lock_guard lock(m_lock);
    m_onChange = std::move(onChange);
    return true;
}

void SimulatedPortLayer::StopHotPlug() {
    std::lock_guard lock(m_lock);
    m_onChange = nullptr;
}

}  // namespace Sim
