#include "hardware/SocketPortLayer.h"

#include "hardware/DirectoryWatch.h"
#include "hardware/InterfaceClasses.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace Hardware {

namespace {

constexpr quint32 kKindIoControl = 1;
constexpr quint32 kKindWrite = 2;
constexpr int kRequestHeaderSize = 16;
constexpr int kReplyHeaderSize = 8;

using Deadline = std::chrono::steady_clock::time_point;

// The closest folder above `path` that exists (the root at the latest).
QString NearestExistingParent(const QString& path) {
    QString parent = QFileInfo(path).absolutePath();
    while (!QFileInfo(parent).isDir() && parent != QDir::rootPath()) {
        parent = QFileInfo(parent).absolutePath();
    }
    return parent;
}

// Waits until the descriptor is ready for `events` or the deadline passes.
int WaitReady(int fd, short events, Deadline deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return ETIMEDOUT;
        }
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, int(left.count()));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return errno;
        }
        if (n > 0) {
            return 0;
        }
    }
}

int SendAll(int fd, const QByteArray& bytes, Deadline deadline) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        if (const int error = WaitReady(fd, POLLOUT, deadline)) {
            return error;
        }
        const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent),
                                 MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (n < 0) {
            return errno;
        }
        sent += n;
    }
    return 0;
}

// Reads exactly `size` bytes; a connection that ends early is EIO.
int ReceiveAll(int fd, char* buffer, qsizetype size, Deadline deadline) {
    qsizetype received = 0;
    while (received < size) {
        if (const int error = WaitReady(fd, POLLIN, deadline)) {
            return error;
        }
        const ssize_t n = ::recv(fd, buffer + received, size_t(size - received), MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (n <= 0) {
            return EIO;
        }
        received += n;
    }
    return 0;
}

}  // namespace

// One connection to a widget server. Requests on it are serialised; the descriptor is
// closed only when the last request that uses it has returned.
class SocketPortLayer::Connection {
public:
    explicit Connection(int fd) : m_fd(fd) {}
    ~Connection() { ::close(m_fd); }

    IoResult Request(quint32 kind, quint32 code, const QByteArray& input, quint32 capacity,
                     int timeoutMs) {
        std::lock_guard lock(m_requestLock);
        if (m_broken) {
            return {ENOTCONN, {}, 0};
        }
        const Deadline deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        QByteArray request(kRequestHeaderSize, '\0');
        qToLittleEndian<quint32>(kind, request.data());
        qToLittleEndian<quint32>(code, request.data() + 4);
        qToLittleEndian<quint32>(quint32(input.size()), request.data() + 8);
        qToLittleEndian<quint32>(capacity, request.data() + 12);
        request += input;

        IoResult result;
        int error = SendAll(m_fd, request, deadline);
        char header[kReplyHeaderSize];
        if (error == 0) {
            error = ReceiveAll(m_fd, header, kReplyHeaderSize, deadline);
        }
        if (error == 0) {
            result.status = int(qFromLittleEndian<quint32>(header));
            result.transferred = qFromLittleEndian<quint32>(header + 4);
            if (kind == kKindIoControl) {
                if (result.transferred > capacity) {
                    error = EIO;  // more than was asked for: the stream cannot be trusted
                } else {
                    result.output.resize(qsizetype(result.transferred));
                    error = ReceiveAll(m_fd, result.output.data(), result.output.size(), deadline);
                }
            }
        }
        if (error != 0) {
            // After a timeout or a torn reply the stream is out of step: give it up.
            Break();
            return {error == ETIMEDOUT ? ETIMEDOUT : error, {}, 0};
        }
        return result;
    }

    // Makes a blocked request return and every later one fail.
    void Break() {
        m_broken = true;
        ::shutdown(m_fd, SHUT_RDWR);
    }

private:
    const int m_fd;
    std::mutex m_requestLock;
    std::atomic<bool> m_broken{false};
};

SocketPortLayer::SocketPortLayer(QString widgetDir) : m_widgetDir(std::move(widgetDir)) {}

SocketPortLayer::~SocketPortLayer() = default;

SocketPortLayer::WidgetDirChoice SocketPortLayer::ChooseWidgetDir(const QString& fromCommandLine) {
    if (!fromCommandLine.isEmpty()) {
        return {QDir(fromCommandLine).absolutePath(), "--widget-dir"};
    }
    const QString fromEnvironment = qEnvironmentVariable("AUREL_WIDGET_DIR");
    if (!fromEnvironment.isEmpty()) {
        return {QDir(fromEnvironment).absolutePath(), "$AUREL_WIDGET_DIR"};
    }
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString path = runtime.isEmpty() ? QStringLiteral("/tmp/aurel-%1/widgets").arg(::getuid())
                                           : runtime + "/aurel/widgets";
    return {path, "the default folder"};
}

QString SocketPortLayer::ClassDir(const QString& widgetDir, const QUuid& interfaceClass) {
    return widgetDir + "/" + InterfaceClasses::Text(interfaceClass);
}

QStringList SocketPortLayer::Enumerate(const QUuid& interfaceClass) {
    QDir dir(ClassDir(m_widgetDir, interfaceClass));
    QStringList paths;
    // QDir's own sort is locale-aware; the contract is byte order of the file names.
    QList<QByteArray> names;
    for (const QString& name : dir.entryList({"*.sock"}, QDir::System | QDir::Files)) {
        names.append(QFile::encodeName(name));
    }
    std::sort(names.begin(), names.end());
    for (const QByteArray& name : names) {
        paths.append(dir.absoluteFilePath(QFile::decodeName(name)));
    }
    return paths;
}

PortLayer::Handle SocketPortLayer::Open(const QString& path, int* error) {
    const QByteArray encoded = QFile::encodeName(path);
    sockaddr_un address{};
    if (encoded.size() >= qsizetype(sizeof address.sun_path)) {
        *error = ENAMETOOLONG;
        return kInvalidHandle;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *error = errno;
        return kInvalidHandle;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        *error = errno;
        ::close(fd);
        return kInvalidHandle;
    }
    std::lock_guard lock(m_lock);
    const Handle handle = m_nextHandle++;  // never reused, so a stale handle stays stale
    m_connections[handle] = std::make_shared<Connection>(fd);
    return handle;
}

std::shared_ptr<SocketPortLayer::Connection> SocketPortLayer::ConnectionOf(Handle handle) {
    std::lock_guard lock(m_lock);
    const auto it = m_connections.find(handle);
    return it == m_connections.end() ? nullptr : it->second;
}

PortLayer::IoResult SocketPortLayer::Request(Handle handle, quint32 kind, quint32 code,
                                             const QByteArray& input, quint32 outputCapacity) {
    const auto connection = ConnectionOf(handle);
    if (!connection) {
        return {EBADF, {}, 0};
    }
    return connection->Request(kind, code, input, outputCapacity, m_replyTimeoutMs);
}

PortLayer::IoResult SocketPortLayer::IoControl(Handle handle, quint32 code, const QByteArray& input,
                                               quint32 outputCapacity) {
    return Request(handle, kKindIoControl, code, input, outputCapacity);
}

PortLayer::IoResult SocketPortLayer::Write(Handle handle, const QByteArray& data) {
    return Request(handle, kKindWrite, 0, data, 0);
}

void SocketPortLayer::CancelIo(Handle handle) {
    if (const auto connection = ConnectionOf(handle)) {
        connection->Break();
    }
}

void SocketPortLayer::Close(Handle handle) {
    std::shared_ptr<Connection> connection;
    {
        std::lock_guard lock(m_lock);
        const auto it = m_connections.find(handle);
        if (it == m_connections.end()) {
            return;
        }
        connection = std::move(it->second);
        m_connections.erase(it);
    }
    connection->Break();
}

bool SocketPortLayer::StartHotPlug(std::function<void()> onChange) {
    const QString widgetDir = m_widgetDir;
    // The folders made after the start are watched from the change that shows them on.
    auto folders = [widgetDir] {
        QStringList dirs{widgetDir};
        for (const QUuid& interfaceClass : InterfaceClasses::All()) {
            dirs.append(ClassDir(widgetDir, interfaceClass));
        }
        if (!QFileInfo(widgetDir).isDir()) {
            dirs.append(NearestExistingParent(widgetDir));
        }
        return dirs;
    };
    m_watcher = std::make_unique<DirectoryWatch>(folders, std::move(onChange));
    return m_watcher->Watches(m_widgetDir) ||
           m_watcher->Watches(NearestExistingParent(m_widgetDir));
}

void SocketPortLayer::StopHotPlug() {
    m_watcher.reset();
}

}  // namespace Hardware
