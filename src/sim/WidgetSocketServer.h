#pragma once

#include "sim/SimWidget.h"

#include <atomic>
#include <memory>
#include <thread>

namespace Sim {

// Serves one simulated widget on a listening Unix-domain socket (widget socket protocol
// version 1), on a thread of its own, until stopped. Stopping removes the socket file.
class WidgetSocketServer {
public:
    // Input of one request larger than this is taken as a broken client.
    static constexpr quint32 kMaxInput = 1 << 20;

    WidgetSocketServer(std::shared_ptr<SimWidget> widget, QString socketPath);
    ~WidgetSocketServer();
    WidgetSocketServer(const WidgetSocketServer&) = delete;
    WidgetSocketServer& operator=(const WidgetSocketServer&) = delete;

    // Binds and starts serving. A stale socket file nobody listens on is replaced; a live
    // one is an error.
    bool Start(QString* error);
    void Stop();

    const QString& SocketPath() const { return m_path; }
    const std::shared_ptr<SimWidget>& Widget() const { return m_widget; }

    // Faults: the next request ends its connection without a reply, or gets none at all.
    void DropNextRequest() { m_dropNext = true; }
    void StallNextRequest() { m_stallNext = true; }

private:
    void Serve();

    std::shared_ptr<SimWidget> m_widget;
    QString m_path;
    int m_listenFd = -1;
    int m_wakePipe[2] = {-1, -1};
    std::thread m_thread;
    std::atomic<bool> m_dropNext{false};
    std::atomic<bool> m_stallNext{false};
};

}  // namespace Sim
