#include "sim/WidgetSocketServer.h"

#include "os/Thread.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <map>
#include <vector>

namespace Sim {

namespace {

constexpr int kRequestHeaderSize = 16;

bool MakeAddress(const QString& path, sockaddr_un* address) {
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.size() >= qsizetype(sizeof address->sun_path)) {
        return false;
    }
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    std::memcpy(address->sun_path, encoded.constData(), size_t(encoded.size()));
    return true;
}

bool SomeoneListens(const sockaddr_un& address) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const bool live =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return live;
}

void SendAll(int fd, const QByteArray& bytes) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n =
            ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        sent += n;
    }
}

}  // namespace

WidgetSocketServer::WidgetSocketServer(std::shared_ptr<SimWidget> widget, QString socketPath)
    : m_widget(std::move(widget)), m_path(std::move(socketPath)) {}

WidgetSocketServer::~WidgetSocketServer() {
    Stop();
}

bool WidgetSocketServer::Start(QString* error) {
    sockaddr_un address;
    if (!MakeAddress(m_path, &address)) {
        *error = "socket path too long: " + m_path;
        return false;
    }
    if (QFileInfo::exists(m_path)) {
        if (SomeoneListens(address)) {
            *error = "already served: " + m_path;
            return false;
        }
        QFile::remove(m_path);
    }
    m_listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0 ||
        ::bind(m_listenFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listenFd, 8) != 0 || ::pipe2(m_wakePipe, O_CLOEXEC) != 0) {
        *error = QStringLiteral("cannot listen on %1: %2")
                     .arg(m_path, QString::fromLocal8Bit(std::strerror(errno)));
        Stop();
        return false;
    }
    m_thread = std::thread([this] { Serve(); });
    return true;
}

void WidgetSocketServer::Stop() {
    if (m_thread.joinable()) {
        const char wake = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_wakePipe[1], &wake, 1);
        m_thread.join();
    }
    for (int* fd : {&m_listenFd, &m_wakePipe[0], &m_wakePipe[1]}) {
        if (*fd >= 0) {
            ::close(*fd);
            if (fd == &m_listenFd) {
                QFile::remove(m_path);
            }
            *fd = -1;
        }
    }
}

void WidgetSocketServer::Serve() {
    Os::Thread::SetCurrentName("WidgetServer");
    std::map<int, QByteArray> clients;  // descriptor -> bytes received, not yet handled
    auto drop = [&clients](int fd) {
        ::close(fd);
        clients.erase(fd);
    };
    for (;;) {
        std::vector<pollfd> fds{{m_wakePipe[0], POLLIN, 0}, {m_listenFd, POLLIN, 0}};
        for (const auto& [fd, pending] : clients) {
            fds.push_back({fd, POLLIN, 0});
        }
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (fds[0].revents != 0) {
            break;
        }
        if (fds[1].revents & POLLIN) {
            const int client = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0) {
                clients[client];
            }
        }
        for (size_t i = 2; i < fds.size(); ++i) {
            if (fds[i].revents == 0) {
                continue;
            }
            const int fd = fds[i].fd;
            char chunk[8192];
            const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n <= 0) {
                drop(fd);
                continue;
            }
            QByteArray& pending = clients[fd];
            pending.append(chunk, n);
            // Handle every whole request received so far.
            while (pending.size() >= kRequestHeaderSize) {
                const quint32 kind = qFromLittleEndian<quint32>(pending.constData());
                const quint32 code = qFromLittleEndian<quint32>(pending.constData() + 4);
                const quint32 length = qFromLittleEndian<quint32>(pending.constData() + 8);
                const quint32 capacity = qFromLittleEndian<quint32>(pending.constData() + 12);
                if (length > kMaxInput) {
                    drop(fd);
                    break;
                }
                if (pending.size() < kRequestHeaderSize + qsizetype(length)) {
                    break;
                }
                const QByteArray input = pending.mid(kRequestHeaderSize, length);
                pending.remove(0, kRequestHeaderSize + length);
                if (m_dropNext.exchange(false)) {
                    drop(fd);
                    break;
                }
                if (m_stallNext.exchange(false)) {
                    continue;
                }
                SimWidget::Reply reply;
                if (kind == SimWidget::kIoControl) {
                    reply = m_widget->IoControl(code, input, capacity);
                } else if (kind == SimWidget::kWrite) {
                    reply = m_widget->Write(input);
                    reply.output.clear();
                } else {
                    reply.status = EINVAL;
                }
                QByteArray answer(8, '\0');
                qToLittleEndian<quint32>(quint32(reply.status), answer.data());
                qToLittleEndian<quint32>(reply.transferred, answer.data() + 4);
                SendAll(fd, answer + reply.output);
            }
        }
    }
    for (const auto& [fd, pending] : clients) {
        ::close(fd);
    }
}

}  // namespace Sim
