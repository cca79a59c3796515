#include "sim/UsbProServer.h"

#include "hardware/DriverRequests.h"
#include "hardware/usbpro/UsbProFramer.h"
#include "os/Thread.h"

#include <QFile>
#include <QtEndian>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace Sim {

namespace UsbPro = Hardware::UsbPro;
using namespace Hardware::DriverRequests;

namespace {

// The widget's output timing as the parameters reply gives it: the shortest break and mark
// after break the protocol allows, in its units of 10.67 µs, and the fastest refresh.
constexpr quint8 kBreakTime = 17;
constexpr quint8 kMarkTime = 2;
constexpr quint8 kRefreshRate = 40;
// Stray bytes with a torn header among them: it announces two data bytes and has no end.
const QByteArray kGarbage("\x00\xFF\xE7\x7E\x05\x02\x00", 7);
// A split reply's bytes go out this far apart, so that the reader gets them one by one.
constexpr auto kSplitGap = std::chrono::microseconds(300);

QString SystemError(const QString& what) {
    return what + ": " + QString::fromLocal8Bit(std::strerror(errno));
}

void WriteAll(int fd, const QByteArray& bytes) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;  // nobody reads, or the terminal is gone: the reply is lost
        }
        written += n;
    }
}

}  // namespace

UsbProServer::UsbProServer(std::shared_ptr<SimWidget> widget, QString linkPath,
                           quint32 serialNumber)
    : m_widget(std::move(widget)), m_linkPath(std::move(linkPath)), m_serialNumber(serialNumber) {}

UsbProServer::~UsbProServer() {
    Stop();
}

bool UsbProServer::Start(QString* error) {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        *error = SystemError("cannot open a pseudo-terminal");
        Stop();
        return false;
    }
    const QString device = QString::fromLocal8Bit(::ptsname(m_master));
    m_slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    if (m_slave < 0 || ::tcgetattr(m_slave, &raw) != 0) {
        *error = SystemError("cannot open " + device);
        Stop();
        return false;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::cfmakeraw(&raw);  // no echo, no line editing: every byte passes as it is
    ::tcsetattr(m_slave, TCSANOW, &raw);
    QFile::remove(m_linkPath);
    if (!QFile::link(device, m_linkPath) || ::pipe2(m_wakePipe, O_CLOEXEC) != 0) {
        *error = "cannot make the link " + m_linkPath + " to " + device;
        Stop();
        return false;
    }
    m_thread = std::thread([this] { Serve(); });
    return true;
}

void UsbProServer::Stop() {
    if (m_thread.joinable()) {
        const char wake = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_wakePipe[1], &wake, 1);
        m_thread.join();
    }
    CloseTerminal();
    for (int* fd : {&m_wakePipe[0], &m_wakePipe[1]}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
}

void UsbProServer::CloseTerminal() {
    if (m_master >= 0) {
        QFile::remove(m_linkPath);
    }
    for (int* fd : {&m_slave, &m_master}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
}

void UsbProServer::Serve() {
    Os::Thread::SetCurrentName("UsbProServer");
    UsbPro::Framer framer;
    while (m_master >= 0) {
        pollfd fds[] = {{m_wakePipe[0], POLLIN, 0}, {m_master, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[0].revents != 0) {
            return;
        }
        char chunk[4096];
        const ssize_t n = ::read(m_master, chunk, sizeof chunk);
        if (n <= 0) {
            continue;
        }
        for (const UsbPro::Message& message : framer.Feed(QByteArray(chunk, n)).messages) {
            const bool rdm =
                message.label == UsbPro::kSendRdm || message.label == UsbPro::kSendDiscovery;
            if (rdm && m_fault.load() == Fault::UnplugOnRequest) {
                CloseTerminal();
                return;
            }
            if (m_fault.load() != Fault::Silent) {
                Send(Answer(message));
            }
        }
    }
}

QByteArray UsbProServer::Answer(const UsbPro::Message& message) {
    using Handler = QByteArray (UsbProServer::*)(const QByteArray& data);
    struct Row {
        quint8 label;
        Handler handler;
    };
    static constexpr Row kTable[] = {
        {UsbPro::kParameters, &UsbProServer::Parameters},
        {UsbPro::kSerialNumber, &UsbProServer::SerialNumber},
        {UsbPro::kSendDmx, &UsbProServer::Dmx},
        {UsbPro::kSendRdm, &UsbProServer::Rdm},
        {UsbPro::kSendDiscovery, &UsbProServer::Rdm},
    };
    for (const Row& row : kTable) {
        if (row.label == message.label) {
            return (this->*row.handler)(message.data);
        }
    }
    return {};  // an interface passes over the messages it does not know
}

QByteArray UsbProServer::Parameters(const QByteArray&) {
    const WidgetConfig& config = m_widget->Config();
    const char parameters[] = {char(config.firmwareMinor), char(config.firmwareMajor),
                               char(kBreakTime), char(kMarkTime), char(kRefreshRate)};
    return UsbPro::Encode(UsbPro::kParameters, QByteArray(parameters, sizeof parameters));
}

QByteArray UsbProServer::SerialNumber(const QByteArray&) {
    QByteArray serial(4, '\0');
    qToLittleEndian<quint32>(m_serialNumber, serial.data());
    return UsbPro::Encode(UsbPro::kSerialNumber, serial);
}

QByteArray UsbProServer::Dmx(const QByteArray& data) {
    if (!data.isEmpty() && data[0] == 0) {  // only frames with the null start code are DMX
        m_widget->Write(data.mid(1).leftJustified(kDmxFrameSize, '\0', true));
    }
    return {};
}

QByteArray UsbProServer::Rdm(const QByteArray& request) {
    const quint32 capacity = kDmxFrameSize;
    m_widget->IoControl(kRdmSend, RdmSendHeader(0, quint32(request.size()), capacity) + request, 0);
    const QByteArray heard =
        m_widget->IoControl(kRdmReceive, RdmReceiveHeader(0, capacity, 0), capacity).output;
    return heard.isEmpty() ? UsbPro::Encode(UsbPro::kRdmTimeout)
                           : UsbPro::Encode(UsbPro::kReceived, '\0' + heard);
}

void UsbProServer::Send(const QByteArray& reply) {
    if (reply.isEmpty()) {
        return;
    }
    switch (m_fault.load()) {
        case Fault::SplitReplies:
            for (char byte : reply) {
                WriteAll(m_master, QByteArray(1, byte));
                std::this_thread::sleep_for(kSplitGap);
            }
            return;
        case Fault::GarbageBetween:
            WriteAll(m_master, kGarbage + reply);
            return;
        case Fault::OversizedNextReply: {
            m_fault = Fault::None;
            QByteArray oversized = UsbPro::Encode(reply[1], QByteArray(UsbPro::kMaxData, '\0'));
            const int length = UsbPro::kMaxData + 100;
            oversized[2] = char(length & 0xFF);
            oversized[3] = char(length >> 8);
            oversized.insert(UsbPro::kHeaderSize, QByteArray(100, '\0'));
            WriteAll(m_master, oversized);
            return;
        }
        default:
            WriteAll(m_master, reply);
    }
}

}  // namespace Sim
