#include "hardware/usbpro/UsbProInterface.h"

#include "hardware/DriverRequests.h"
#include "hardware/HardwareLog.h"
#include "hardware/RdmRequestBytes.h"

#include <QtEndian>

#include <cerrno>
#include <chrono>

namespace Hardware::UsbPro {

using namespace DriverRequests;

namespace {

constexpr quint8 kNullStartCode = 0x00;
constexpr int kParametersSize = 5;  // firmware (2), break, mark after break, rate
constexpr int kSerialSize = 4;
const QByteArray kNoUserData(2, '\0');  // the parameters request: no user configuration

PortLayer::IoResult FailedWith(int error) {
    return {error, {}, 0};
}

PortLayer::IoResult Answered(QByteArray bytes) {
    const auto size = quint32(bytes.size());
    return {0, std::move(bytes), size};
}

// The port named by a send or receive header; an interface has port 0 only.
bool OnPortZero(const QByteArray& input) {
    return input.size() >= kRdmHeaderSize &&
           qFromLittleEndian<quint16>(input.constData() + 12) == 0;
}

Identity DecodeIdentity(const QByteArray& parameters, const QByteArray& serial) {
    Identity id;
    id.firmwareMinor = quint8(parameters[0]);
    id.firmwareMajor = quint8(parameters[1]);
    id.breakTime = quint8(parameters[2]);
    id.markTime = quint8(parameters[3]);
    id.refreshRate = quint8(parameters[4]);
    if (serial.size() >= kSerialSize) {
        id.serialNumber = qFromLittleEndian<quint32>(serial.constData());
    }
    return id;
}

int MsUntil(std::chrono::steady_clock::time_point deadline) {
    return int(std::max<qint64>(0, std::chrono::duration_cast<std::chrono::milliseconds>(
                                       deadline - std::chrono::steady_clock::now())
                                       .count()));
}

}  // namespace

const Interface::Request Interface::kRequests[] = {
    {kGetPortModes, &Interface::GetPortModes}, {kSetPortModes, &Interface::SetPortModes},
    {kRdmSend, &Interface::RdmSend},           {kRdmReceive, &Interface::RdmReceive},
    {kDeviceInfo, &Interface::DeviceInfo},     {kFirmwareVersion, &Interface::FirmwareVersion},
};

Interface::Interface(std::unique_ptr<Link> link, Identity identity)
    : m_link(std::move(link)), m_identity(identity), m_portModes(kPortModeBlockSize, '\0') {}

std::unique_ptr<Interface> Interface::Probe(const QString& path, int* error, int timeoutMs) {
    std::unique_ptr<Link> link = Link::Open(path, error);
    if (!link) {
        return nullptr;
    }
    *error = 0;
    link->Send(kParameters, kNoUserData);
    link->Send(kSerialNumber);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    QByteArray parameters;
    QByteArray serial;
    Message message;
    while ((parameters.isEmpty() || serial.isEmpty()) &&
           link->Await({kParameters, kSerialNumber}, MsUntil(deadline), &message) ==
               Link::Outcome::Received) {
        (message.label == kParameters ? parameters : serial) = message.data;
    }
    if (parameters.size() < kParametersSize) {
        OS_LOG_INFO(Log::UsbPro(), "Not an interface (no parameters): path " + path);
        return nullptr;
    }
    return std::unique_ptr<Interface>(
        new Interface(std::move(link), DecodeIdentity(parameters, serial)));
}

PortLayer::IoResult Interface::IoControl(quint32 code, const QByteArray& input, quint32 capacity) {
    std::lock_guard lock(m_requestLock);
    for (const Request& request : kRequests) {
        if (request.code == code) {
            PortLayer::IoResult result = (this->*request.handler)(input);
            result.output.truncate(qsizetype(capacity));
            result.transferred = quint32(result.output.size());
            return result;
        }
    }
    return FailedWith(EINVAL);
}

PortLayer::IoResult Interface::Write(const QByteArray& data) {
    std::lock_guard lock(m_requestLock);
    if (data.size() != kDmxFrameSize) {
        return FailedWith(EINVAL);
    }
    if (const int error = LinkError()) {
        return FailedWith(error);
    }
    m_link->Send(kSendDmx, char(kNullStartCode) + data);
    return {0, {}, quint32(data.size())};
}

PortLayer::IoResult Interface::GetPortModes(const QByteArray&) {
    return Answered(m_portModes);
}

PortLayer::IoResult Interface::SetPortModes(const QByteArray& input) {
    if (input.size() < kPortModeBlockSize) {
        return FailedWith(EINVAL);
    }
    m_portModes = input.left(kPortModeBlockSize);
    return {};
}

PortLayer::IoResult Interface::RdmSend(const QByteArray& input) {
    if (!OnPortZero(input)) {
        return FailedWith(EINVAL);
    }
    if (m_outcomePending) {
        // The last request's outcome was not asked for (a broadcast, a command without a
        // reply): it must not be taken for this request's.
        if (PortLayer::IoResult last = TakeOutcome(); last.status != 0) {
            return last;
        }
    }
    if (const int error = LinkError()) {
        return FailedWith(error);
    }
    const QByteArray request = input.mid(kRdmHeaderSize);
    m_link->Discard();
    m_link->Send(RdmRequestBytes::IsDiscoveryBranch(request) ? kSendDiscovery : kSendRdm, request);
    m_outcomePending = true;
    return {};
}

PortLayer::IoResult Interface::RdmReceive(const QByteArray& input) {
    if (!OnPortZero(input)) {
        return FailedWith(EINVAL);
    }
    if (!m_outcomePending) {
        return {};  // a reply is handed out once
    }
    return TakeOutcome();
}

PortLayer::IoResult Interface::DeviceInfo(const QByteArray&) {
    QByteArray info(kDeviceInfoSize, '\0');
    qToLittleEndian<quint16>(kUsbProProductCode, info.data() + 2);
    qToLittleEndian<quint32>(m_identity.serialNumber, info.data() + 4);
    return Answered(info);
}

PortLayer::IoResult Interface::FirmwareVersion(const QByteArray&) {
    QByteArray version(kVersionSize, '\0');
    version[2] = char(m_identity.firmwareMajor);
    version[3] = char(m_identity.firmwareMinor);
    return Answered(version);
}

PortLayer::IoResult Interface::TakeOutcome() {
    m_outcomePending = false;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kReplyWindowMs);
    Message message;
    Link::Outcome outcome;
    while ((outcome = m_link->Await({kReceived, kRdmTimeout}, MsUntil(deadline), &message)) ==
           Link::Outcome::Received) {
        if (message.label == kRdmTimeout) {
            return {};
        }
        const QByteArray heard = message.data.mid(1);
        if (heard.isEmpty() || quint8(heard[0]) == kNullStartCode) {
            continue;  // a DMX frame from the line, not a reply
        }
        if (const quint8 status = quint8(message.data[0]); status != 0) {
            OS_LOG_WARNING(Log::UsbPro(), QStringLiteral("Reply received with status 0x%1: path %2")
                                              .arg(status, 2, 16, QChar('0'))
                                              .arg(Path()));
        }
        return Answered(heard);
    }
    if (outcome != Link::Outcome::TimedOut) {
        return FailedWith(ErrorOf(outcome));
    }
    // Nothing came back: either no fixture answered and the interface does not report it,
    // or the interface itself stopped answering.
    m_link->Send(kParameters, kNoUserData);
    outcome = m_link->Await({kParameters}, kAliveTimeoutMs, &message);
    if (outcome == Link::Outcome::Received) {
        return {};
    }
    OS_LOG_WARNING(Log::UsbPro(), "Interface stopped answering: path " + Path());
    return FailedWith(ErrorOf(outcome));
}

int Interface::LinkError() const {
    return m_link->IsGone() ? ENODEV : m_link->IsCancelled() ? ECANCELED : 0;
}

int Interface::ErrorOf(Link::Outcome outcome) {
    struct Row {
        Link::Outcome outcome;
        int error;
    };
    static constexpr Row kTable[] = {
        {Link::Outcome::TimedOut, ETIMEDOUT},
        {Link::Outcome::Gone, ENODEV},
        {Link::Outcome::Cancelled, ECANCELED},
    };
    for (const Row& row : kTable) {
        if (row.outcome == outcome) {
            return row.error;
        }
    }
    return EIO;
}

}  // namespace Hardware::UsbPro
