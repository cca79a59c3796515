#pragma once

#include "hardware/usbpro/UsbProFramer.h"

#include <QObject>
#include <QSerialPort>

namespace Hardware::UsbPro {

class Link;

// The serial port of one link, on the link's thread: writes what the link sends, cuts what
// comes in into messages for the link and tells it when the device goes away.
class SerialWorker : public QObject {
    Q_OBJECT
public:
    explicit SerialWorker(Link* link);

    // Opens the device; 0 or an errno value.
    int Open(const QString& path);
    void Close();
    void Write(const QByteArray& bytes);

private:
    void OnReadyRead();
    void OnError(QSerialPort::SerialPortError error);

    Link* const m_link;
    QSerialPort m_port;
    Framer m_framer;
};

}  // namespace Hardware::UsbPro
