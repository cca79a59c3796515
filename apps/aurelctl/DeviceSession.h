#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class Command;
class CommManager;
class ProgressPrinter;
class QCommandLineParser;

namespace Os {
class VirtualClock;
}

// The device link of one aurelctl run: the port layer chosen on the command line, a
// command manager with its worker thread, and a way to run a command through the queue.
// An in-process rig runs on the virtual clock, so its waits cost no time.
class DeviceSession {
public:
    DeviceSession();
    ~DeviceSession();
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // --widget-dir, --rig, --demo, --usbpro, --verbose and --quiet.
    static void AddOptions(QCommandLineParser& parser);
    // Sets up the port layer and the queue; false with a message on a bad choice.
    bool Open(const QCommandLineParser& parser, QString* error);

    // Queues the command and waits for it to complete; its progress is shown on standard
    // error unless --quiet is given, and its feedback lines are printed there as they come
    // when `printLog` is set (else its warnings only). Returns its error lines; without a
    // widget, the one line that says where widgets were looked for.
    QStringList Run(Command* command, bool printLog);
    // Calls `start`, then runs the event loop until every command queued from then on, by
    // whoever queued it, has completed; their progress is shown like Run's.
    void Settle(const std::function<void()>& start);

private:
    std::unique_ptr<Os::VirtualClock> m_clock;
    std::unique_ptr<CommManager> m_comm;
    CommManager* m_previous = nullptr;
    std::unique_ptr<ProgressPrinter> m_progress;  // none with --quiet
    QString m_searched;  // where the port layer looks for widgets, for messages
};
