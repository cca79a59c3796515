#include "hardware/DmxWidget.h"

#include "hardware/HardwareLog.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace Hardware {

namespace DriverRequests {

quint16 PortCountForProduct(quint16 productCode) {
    struct Row {
        quint16 product;
        quint16 ports;
    };
    static constexpr Row kTable[] = {
        {2, 1}, {17, 4}, {23, 4}, {26, 8}, {29, 8}, {131, 1}, {kUsbProProductCode, 1}};
    for (const Row& row : kTable) {
        if (row.product == productCode) {
            return row.ports;
        }
    }
    return 0;
}

QByteArray RdmSendHeader(quint16 port, quint32 length, quint32 expectedLength) {
    QByteArray header(kRdmHeaderSize, '\0');
    qToLittleEndian<quint32>(length, header.data() + 0);
    qToLittleEndian<quint32>(kRdmSendConstant, header.data() + 4);
    qToLittleEndian<quint32>(expectedLength, header.data() + 8);
    qToLittleEndian<quint16>(port, header.data() + 12);
    return header;
}

QByteArray RdmReceiveHeader(quint16 port, quint32 capacity, quint32 waitValue) {
    QByteArray header(kRdmHeaderSize, '\0');
    qToLittleEndian<quint32>(capacity, header.data() + 0);
    qToLittleEndian<quint32>(waitValue, header.data() + 4);
    qToLittleEndian<quint16>(port, header.data() + 12);
    return header;
}

}  // namespace DriverRequests

using namespace DriverRequests;

DmxWidget::DmxWidget(const WidgetMapData& device) : UmWidget(device) {
    m_triggerPort = quint16(GetPortCount() - 1);
}

quint16 DmxWidget::GetPortCount() {
    return PortCountForProduct(ProductCode());
}

bool DmxWidget::SetPortMode(quint16 port, quint32 mode) {
    if (port >= kMaxPorts) {
        return false;
    }
    QByteArray block;
    if (!IoControl(kGetPortModes, {}, kPortModeBlockSize, &block)) {
        return false;
    }
    block = block.leftJustified(kPortModeBlockSize, '\0', true);
    block[1 + port] = char(mode);
    const bool written = IoControl(kSetPortModes, block, 0);
    std::lock_guard lock(m_portLock);
    m_portModes[port] = mode;
    return written;
}

quint32 DmxWidget::PortMode(quint16 port) const {
    std::lock_guard lock(m_portLock);
    return port < kMaxPorts ? m_portModes[port] : 0;
}

bool DmxWidget::SendDmx(quint16 port, const quint8* data, int length) {
    if (port >= kMaxPorts) {
        return false;
    }
    const int portCount = GetPortCount();
    QByteArray frames;
    {
        std::lock_guard lock(m_portLock);
        if (m_portModes[port] == kPortModeDmxOutput) {
            quint8* frame = m_frames.data() + port * kDmxFrameSize;
            const int n = data ? std::clamp(length, 0, kDmxFrameSize) : 0;
            if (n > 0) {
                std::memcpy(frame, data, size_t(n));
            }
            std::memset(frame + n, 0, size_t(kDmxFrameSize - n));
        }
        if (port != m_triggerPort) {
            return true;
        }
        frames = QByteArray(reinterpret_cast<const char*>(m_frames.data()),
                            qsizetype(portCount) * kDmxFrameSize);
    }
    return WriteFrames(frames);
}

bool DmxWidget::SetTriggerPort(quint16 port) {
    if (port >= GetPortCount()) {
        OS_LOG_WARNING(Log::DmxWidget(),
                       QStringLiteral("Invalid trigger port setting: %1").arg(port));
        return false;
    }
    std::lock_guard lock(m_portLock);
    m_triggerPort = port;
    return true;
}

quint16 DmxWidget::TriggerPort() const {
    std::lock_guard lock(m_portLock);
    return m_triggerPort;
}

QByteArray DmxWidget::Frame(quint16 port) const {
    std::lock_guard lock(m_portLock);
    if (port >= kMaxPorts) {
        return {};
    }
    return QByteArray(reinterpret_cast<const char*>(m_frames.data() + port * kDmxFrameSize),
                      kDmxFrameSize);
}

bool DmxWidget::SendRdm(quint16 port, quint32 expectedLength, const quint8* request,
                        quint32 length) {
    const quint32 carried = std::min<quint32>(request ? length : 0, kRdmMaxRequest);
    QByteArray buffer = RdmSendHeader(port, length, expectedLength);
    buffer.append(reinterpret_cast<const char*>(request), qsizetype(carried));
    return IoControl(kRdmSend, buffer, 0);
}

qint32 DmxWidget::ReceiveRdm(quint16 port, quint32 waitValue, quint8* buffer, quint32 capacity) {
    const QByteArray header = RdmReceiveHeader(port, capacity, waitValue);
    QByteArray reply;
    if (!IoControl(kRdmReceive, header, capacity, &reply)) {
        return -1;
    }
    // A port layer never hands out more than the capacity; cut defensively all the same.
    const quint32 n = std::min<quint32>(quint32(reply.size()), buffer ? capacity : 0);
    if (n > 0) {
        std::memcpy(buffer, reply.constData(), n);
    }
    return qint32(n);
}

void DmxWidget::DmxReader(Listener* listener, const quint8* buffer, int size) {
    if (!buffer || !listener || size == 0) {
        OS_LOG_WARNING(Log::DmxWidget(),
                       QStringLiteral("Unexpected reader data, bufferSize %1").arg(size));
        return;
    }
    if (size != kDmxFrameSize) {
        OS_LOG_WARNING(Log::DmxWidget(),
                       QStringLiteral("Unexpected reader data size, bufferSize %1").arg(size));
        return;
    }
    listener->OnWidgetEvent(DmxRxEvent(buffer, size));
}

}  // namespace Hardware
