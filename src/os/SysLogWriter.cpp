#include "os/SysLogWriter.h"

#include <fcntl.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <mutex>

namespace Os {

namespace {

// The line is built in a buffer of this many characters, the terminating zero included.
constexpr int kLineCapacity = 2048;

const std::chrono::steady_clock::time_point g_processStart = std::chrono::steady_clock::now();

struct Outputs {
    std::mutex mutex;
    int file = -1;

    Outputs() {
        const QByteArray path = qgetenv("AUREL_LOG_FILE");
        if (!path.isEmpty()) {
            file = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        }
    }
};

Outputs& TheOutputs() {
    static Outputs outputs;
    return outputs;
}

void WriteAll(int fd, const QByteArray& text) {
    const char* data = text.constData();
    qsizetype left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        data += n;
        left -= n;
    }
}

}  // namespace

SysLogWriter::SysLogWriter() {
    TheOutputs();
}

SysLogWriter::~SysLogWriter() = default;

qint64 SysLogWriter::ElapsedMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now() - g_processStart).count();
}

void SysLogWriter::Write(const Log::Context& context) {
    Output(FormatLine(context, ElapsedMicros()));
}

QByteArray SysLogWriter::FormatLine(const Log::Context& context, qint64 elapsedMicros) {
    const qint64 ms = elapsedMicros / 1000;
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%u:%02u:%02u.%03u", unsigned(ms / 3600000),
                  unsigned(ms / 60000 % 60), unsigned(ms / 1000 % 60), unsigned(ms % 1000));
    QByteArray line = "[" + QByteArray(stamp) + " " + context.processName.toUtf8() + " " +
                      context.threadName.toUtf8() + " " + context.file.toUtf8() + ":" +
                      QByteArray::number(context.line) + "] " + context.text.toUtf8();
    if (line.size() > kLineCapacity - 2) {
        line.truncate(kLineCapacity - 2);
    }
    if (!line.endsWith('\n')) {
        line += '\n';
    }
    return line;
}

void SysLogWriter::Output(const QByteArray& text) {
    Outputs& outputs = TheOutputs();
    std::lock_guard lock(outputs.mutex);
    WriteAll(STDERR_FILENO, text);
    if (outputs.file >= 0) {
        WriteAll(outputs.file, text);
    }
}

}  // namespace Os
