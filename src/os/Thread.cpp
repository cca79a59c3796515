#include "os/Thread.h"

#include <errno.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace Os::Thread {

namespace {
thread_local QString t_name;
}

void SetCurrentName(const QString& name) {
    t_name = name;
    // The system keeps 15 characters; debuggers and ps show them.
    pthread_setname_np(pthread_self(), name.left(15).toLocal8Bit().constData());
}

QString CurrentName() {
    return t_name.isEmpty() ? QString::number(CurrentId()) : t_name;
}

qint64 CurrentId() {
    return static_cast<qint64>(::syscall(SYS_gettid));
}

QString ProcessName() {
    static const QString name = QString::fromLocal8Bit(program_invocation_short_name);
    return name;
}

}  // namespace Os::Thread
