#include "sim/SimWidget.h"

#include "hardware/DriverRequests.h"
#include "os/Clock.h"
#include "sim/LineTime.h"

#include <QtEndian>

#include <cerrno>

namespace Sim {

using namespace Hardware::DriverRequests;

namespace {

// Several replies on one line at once overlap: a driven-low bit wins, so the line carries
// the AND of the bytes, as long as the longest reply.
QByteArray Overlap(const std::vector<QByteArray>& replies) {
    QByteArray line;
    for (const QByteArray& reply : replies) {
        if (line.isEmpty()) {
            line = reply;
            continue;
        }
        for (qsizetype i = 0; i < reply.size(); ++i) {
            if (i < line.size()) {
                line[i] = char(quint8(line[i]) & quint8(reply[i]));
            } else {
                line.append(reply[i]);
            }
        }
    }
    return line;
}

}  // namespace

SimWidget::SimWidget(WidgetConfig config)
    : m_config(std::move(config)),
      m_portCount(PortCountForProduct(m_config.productCode)),
      m_portModes(kPortModeBlockSize, '\0') {
    for (QByteArray& frame : m_frames) {
        frame = QByteArray(kDmxFrameSize, '\0');
    }
}

SimWidget::Reply SimWidget::IoControl(quint32 code, const QByteArray& input, quint32 capacity) {
    Reply reply;
    qint64 lineTime = 0;
    {
        std::lock_guard lock(m_lock);
        if (m_failCount > 0) {
            --m_failCount;
            reply.status = m_failCode;
        } else {
            reply = Handle(code, input, capacity);
            if (code == kRdmSend && reply.status == 0) {
                const QByteArray request = input.mid(kRdmHeaderSize);
                const int port = qFromLittleEndian<quint16>(input.constData() + 12);
                lineTime = LineTime::RdmExchange(request, m_pendingReplies[size_t(port)]);
            }
        }
        Record(kIoControl, code, input, capacity, reply);
    }
    Os::Clock::Instance().WaitMicros(lineTime);
    return reply;
}

SimWidget::Reply SimWidget::Write(const QByteArray& data) {
    Reply reply;
    {
        std::lock_guard lock(m_lock);
        if (m_failCount > 0) {
            --m_failCount;
            reply.status = m_failCode;
        } else {
            reply = WriteFrames(data);
        }
        Record(kWrite, 0, data, 0, reply);
    }
    if (reply.status == 0) {
        Os::Clock::Instance().WaitMicros(LineTime::DmxFrame());
    }
    return reply;
}

SimWidget::Reply SimWidget::Handle(quint32 code, const QByteArray& input, quint32 capacity) {
    Reply reply;
    switch (code) {
        case kGetPortModes:
            reply.output = m_portModes.left(int(capacity));
            break;
        case kSetPortModes:
            if (input.size() < kPortModeBlockSize) {
                reply.status = EINVAL;
                break;
            }
            m_portModes = input.left(kPortModeBlockSize);
            break;
        case kRdmSend:
            return RdmSend(input);
        case kRdmReceive:
            return RdmReceive(input, capacity);
        case kDeviceInfo: {
            QByteArray info(kDeviceInfoSize, '\0');
            qToLittleEndian<quint16>(m_config.productCode, info.data() + 2);
            reply.output = info.left(int(capacity));
            break;
        }
        case kFirmwareVersion: {
            QByteArray version(kVersionSize, '\0');
            version[2] = char(m_config.firmwareMajor);
            version[3] = char(m_config.firmwareMinor);
            reply.output = version.left(int(capacity));
            break;
        }
        default:
            reply.status = EINVAL;
            break;
    }
    reply.transferred = quint32(reply.output.size());
    return reply;
}

SimWidget::Reply SimWidget::RdmSend(const QByteArray& input) {
    if (input.size() < kRdmHeaderSize) {
        return {EINVAL, {}, 0};
    }
    const int port = qFromLittleEndian<quint16>(input.constData() + 12);
    if (port >= m_portCount) {
        return {EINVAL, {}, 0};
    }
    const QByteArray request = input.mid(kRdmHeaderSize);
    const qint64 requestEnds = Os::Clock::Instance().NowMicros() + LineTime::Request(request);
    std::vector<QByteArray> replies;
    std::vector<LateReply>& late = m_lateReplies[size_t(port)];
    late.clear();
    const auto [first, last] = m_responders.equal_range(port);
    for (auto it = first; it != last; ++it) {
        QByteArray reply = it->second->HandleRdm(request);
        if (reply.isEmpty()) {
            continue;
        }
        if (const qint64 delay = it->second->ReplyDelayMicros(); delay > 0) {
            late.push_back({requestEnds + LineTime::kTurnaround + delay, std::move(reply)});
        } else {
            replies.push_back(std::move(reply));
        }
    }
    m_pendingReplies[size_t(port)] = Overlap(replies);
    return {};
}

SimWidget::Reply SimWidget::RdmReceive(const QByteArray& input, quint32 capacity) {
    if (input.size() < kRdmHeaderSize) {
        return {EINVAL, {}, 0};
    }
    const int port = qFromLittleEndian<quint16>(input.constData() + 12);
    if (port >= m_portCount) {
        return {EINVAL, {}, 0};
    }
    const quint32 asked = qFromLittleEndian<quint32>(input.constData());
    // Late replies are heard only by a controller that is still listening when they come.
    std::vector<QByteArray> heard{m_pendingReplies[size_t(port)]};
    const qint64 now = Os::Clock::Instance().NowMicros();
    for (LateReply& late : m_lateReplies[size_t(port)]) {
        if (late.arrivesAt <= now) {
            heard.push_back(std::move(late.bytes));
        }
    }
    Reply reply;
    reply.output = Overlap(heard).left(int(std::min(asked, capacity)));
    reply.transferred = quint32(reply.output.size());
    m_pendingReplies[size_t(port)].clear();  // a reply is handed out once
    m_lateReplies[size_t(port)].clear();
    return reply;
}

SimWidget::Reply SimWidget::WriteFrames(const QByteArray& data) {
    if (m_portCount == 0 || data.size() != m_portCount * kDmxFrameSize) {
        return {EINVAL, {}, 0};
    }
    for (int port = 0; port < m_portCount; ++port) {
        m_frames[size_t(port)] = data.mid(port * kDmxFrameSize, kDmxFrameSize);
        const auto [first, last] = m_responders.equal_range(port);
        for (auto it = first; it != last; ++it) {
            it->second->HandleDmx(m_frames[size_t(port)]);
        }
    }
    return {0, {}, quint32(data.size())};
}

void SimWidget::AttachResponder(int port, std::shared_ptr<RdmResponder> responder) {
    std::lock_guard lock(m_lock);
    m_responders.emplace(port, std::move(responder));
}

void SimWidget::DetachResponders(int port) {
    std::lock_guard lock(m_lock);
    m_responders.erase(port);
}

void SimWidget::FailNextRequests(int errorCode, int count) {
    std::lock_guard lock(m_lock);
    m_failCode = errorCode;
    m_failCount = count;
}

QByteArray SimWidget::PortModeBlock() const {
    std::lock_guard lock(m_lock);
    return m_portModes;
}

QByteArray SimWidget::Frame(int port) const {
    std::lock_guard lock(m_lock);
    return port >= 0 && port < 8 ? m_frames[size_t(port)] : QByteArray();
}

std::vector<SimWidget::Exchange> SimWidget::Traffic() const {
    std::lock_guard lock(m_lock);
    return {m_traffic.begin(), m_traffic.end()};
}

void SimWidget::ClearTraffic() {
    std::lock_guard lock(m_lock);
    m_traffic.clear();
}

void SimWidget::Record(quint32 kind, quint32 code, const QByteArray& input, quint32 capacity,
                       const Reply& reply) {
    if (m_traffic.size() == kTrafficKept) {
        m_traffic.pop_front();
    }
    m_traffic.push_back({kind, code, input, capacity, reply});
}

}  // namespace Sim
