#include "hardware/usbpro/UsbProFramer.h"

namespace Hardware::UsbPro {

bool Framer::SkipToStart(QStringList& faults) {
    const qsizetype start = m_pending.indexOf(char(kStartByte));
    const qsizetype skipped = start < 0 ? m_pending.size() : start;
    if (skipped > 0) {
        faults.append(QStringLiteral("skipped %1 byte(s) outside a message").arg(skipped));
        m_pending.remove(0, skipped);
    }
    return start >= 0;
}

Framer::Result Framer::Feed(const QByteArray& bytes) {
    Result result;
    m_pending.append(bytes);
    while (SkipToStart(result.faults) && m_pending.size() >= kHeaderSize) {
        const int length = quint8(m_pending[2]) | quint8(m_pending[3]) << 8;
        if (length > kMaxData) {
            result.faults.append(
                QStringLiteral("dropped a message of %1 bytes, more than the %2 allowed")
                    .arg(length)
                    .arg(kMaxData));
            m_pending.remove(0, 1);
            continue;
        }
        const qsizetype whole = kHeaderSize + length + 1;
        if (m_pending.size() < whole) {
            break;  // the rest is still on its way
        }
        if (quint8(m_pending[whole - 1]) != kEndByte) {
            result.faults.append(
                QStringLiteral("dropped a message with label %1 that lacks its end byte")
                    .arg(quint8(m_pending[1])));
            m_pending.remove(0, 1);
            continue;
        }
        result.messages.append({quint8(m_pending[1]), m_pending.mid(kHeaderSize, length)});
        m_pending.remove(0, whole);
    }
    return result;
}

}  // namespace Hardware::UsbPro
