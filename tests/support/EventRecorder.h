#pragma once

#include "hardware/WidgetManager.h"

#include <QString>

#include <mutex>
#include <vector>

// A widget-manager listener that records the events it gets.
class EventRecorder {
public:
    struct Event {
        int code;
        QString path;
        Hardware::PortLayer::Handle handle;
    };

    explicit EventRecorder(const QUuid& interfaceClass) : m_class(interfaceClass) {
        Hardware::WidgetManager::Register(m_class, &EventRecorder::OnEvent, this);
    }
    ~EventRecorder() {
        Hardware::WidgetManager::Unregister(m_class, &EventRecorder::OnEvent, this);
    }

    std::vector<Event> Events() const {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    void Clear() {
        std::lock_guard lock(m_mutex);
        m_events.clear();
    }

    // Called inside the handler, before the event is recorded.
    std::function<void(const Hardware::WidgetMapData&, int)> onEvent;

private:
    static void OnEvent(const Hardware::WidgetMapData& device, int event, void* context) {
        auto* self = static_cast<EventRecorder*>(context);
        if (self->onEvent) {
            self->onEvent(device, event);
        }
        std::lock_guard lock(self->m_mutex);
        self->m_events.push_back({event, device.path, device.handle});
    }

    QUuid m_class;
    mutable std::mutex m_mutex;
    std::vector<Event> m_events;
};
