#pragma once

#include "hardware/usbpro/UsbProMessage.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

namespace Hardware::UsbPro {

class SerialWorker;

// One open serial device that speaks the protocol. A thread of its own owns the serial
// port: it sends the messages handed to it and keeps the whole messages it receives until a
// caller on any other thread takes them. Every wait for a message has a time limit.
class Link : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Received, TimedOut, Gone, Cancelled };

    // Opens the device; nullptr with the errno value in *error when it cannot be opened.
    static std::unique_ptr<Link> Open(const QString& path, int* error);
    ~Link() override;
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    const QString& Path() const { return m_path; }

    void Send(quint8 label, const QByteArray& data = {});
    // Waits for the next message with one of the labels, passing over any other; messages
    // received before the call count.
    Outcome Await(std::initializer_list<quint8> labels, int timeoutMs, Message* message);
    // Forgets every message received so far.
    void Discard();
    // Makes a waiting caller return at once, and every later wait.
    void Cancel();
    bool IsGone() const;
    bool IsCancelled() const;

signals:
    // The bytes of a message to send (to the port's thread).
    void Outgoing(const QByteArray& bytes);
    // The device went away: it was unplugged or its terminal closed.
    void Gone();

private:
    friend class SerialWorker;
    explicit Link(QString path);
    // Called on the port's thread.
    void Deliver(const QList<Message>& messages);
    void MarkGone();

    const QString m_path;
    QThread m_thread;
    SerialWorker* m_worker = nullptr;  // lives on m_thread, deleted when it finishes

    mutable std::mutex m_lock;
    std::condition_variable m_arrived;
    std::deque<Message> m_inbox;
    bool m_gone = false;
    bool m_cancelled = false;
};

}  // namespace Hardware::UsbPro
