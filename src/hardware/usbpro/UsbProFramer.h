#pragma once

#include "hardware/usbpro/UsbProMessage.h"

#include <QList>
#include <QString>

namespace Hardware::UsbPro {

// Cuts a byte stream into messages. Bytes may come in any pieces; bytes outside a message
// are skipped, and a header that announces more than kMaxData bytes or a message without its
// end byte is dropped, after which the search for the next start byte goes on behind the
// dropped start byte. Every such fault is described once, for the log.
class Framer {
public:
    struct Result {
        QList<Message> messages;
        QStringList faults;
    };

    Result Feed(const QByteArray& bytes);

private:
    // Drops the bytes in front of the next start byte; false when there is none.
    bool SkipToStart(QStringList& faults);

    QByteArray m_pending;
};

}  // namespace Hardware::UsbPro
