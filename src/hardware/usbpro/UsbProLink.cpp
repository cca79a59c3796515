#include "hardware/usbpro/UsbProLink.h"

#include "hardware/HardwareLog.h"
#include "hardware/usbpro/SerialWorker.h"

#include <algorithm>
#include <chrono>

namespace Hardware::UsbPro {

namespace {
// How long closing waits for the port's thread to finish.
constexpr int kStopTimeoutMs = 3000;
// Messages kept for a caller; an interface that talks while nobody listens loses the oldest.
constexpr size_t kInboxLimit = 64;
}  // namespace

Link::Link(QString path) : m_path(std::move(path)) {
    m_thread.setObjectName("UsbPro");
}

std::unique_ptr<Link> Link::Open(const QString& path, int* error) {
    std::unique_ptr<Link> link(new Link(path));
    auto* worker = new SerialWorker(link.get());
    worker->moveToThread(&link->m_thread);
    connect(&link->m_thread, &QThread::finished, worker, &QObject::deleteLater);
    connect(link.get(), &Link::Outgoing, worker, &SerialWorker::Write, Qt::QueuedConnection);
    link->m_worker = worker;
    link->m_thread.start();
    int opened = 0;
    QMetaObject::invokeMethod(
        worker, [worker, &path, &opened] { opened = worker->Open(path); },
        Qt::BlockingQueuedConnection);
    if (opened != 0) {
        *error = opened;
        return nullptr;
    }
    return link;
}

Link::~Link() {
    if (m_thread.isRunning()) {
        SerialWorker* worker = m_worker;
        QMetaObject::invokeMethod(
            worker, [worker] { worker->Close(); }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        if (!m_thread.wait(kStopTimeoutMs)) {
            OS_LOG_WARNING(Log::UsbPro(), "Port thread did not stop: " + m_path);
        }
    }
}

void Link::Send(quint8 label, const QByteArray& data) {
    emit Outgoing(Encode(label, data));
}

Link::Outcome Link::Await(std::initializer_list<quint8> labels, int timeoutMs, Message* message) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock lock(m_lock);
    for (;;) {
        while (!m_inbox.empty()) {
            Message next = std::move(m_inbox.front());
            m_inbox.pop_front();
            if (std::find(labels.begin(), labels.end(), next.label) != labels.end()) {
                *message = std::move(next);
                return Outcome::Received;
            }
        }
        if (m_cancelled) {
            return Outcome::Cancelled;
        }
        if (m_gone) {
            return Outcome::Gone;
        }
        if (m_arrived.wait_until(lock, deadline) == std::cv_status::timeout && m_inbox.empty()) {
            return Outcome::TimedOut;
        }
    }
}

void Link::Discard() {
    std::lock_guard lock(m_lock);
    m_inbox.clear();
}

void Link::Cancel() {
    {
        std::lock_guard lock(m_lock);
        m_cancelled = true;
    }
    m_arrived.notify_all();
}

bool Link::IsGone() const {
    std::lock_guard lock(m_lock);
    return m_gone;
}

bool Link::IsCancelled() const {
    std::lock_guard lock(m_lock);
    return m_cancelled;
}

void Link::Deliver(const QList<Message>& messages) {
    {
        std::lock_guard lock(m_lock);
        m_inbox.insert(m_inbox.end(), messages.begin(), messages.end());
        while (m_inbox.size() > kInboxLimit) {
            m_inbox.pop_front();
        }
    }
    m_arrived.notify_all();
}

void Link::MarkGone() {
    OS_LOG_WARNING(Log::UsbPro(), "Interface gone: path " + m_path);
    {
        std::lock_guard lock(m_lock);
        m_gone = true;
    }
    m_arrived.notify_all();
    emit Gone();
}

}  // namespace Hardware::UsbPro
