#include "hardware/usbpro/SerialWorker.h"

#include "hardware/HardwareLog.h"
#include "hardware/usbpro/UsbProLink.h"

#include <cerrno>

namespace Hardware::UsbPro {

namespace {

int ErrnoOf(QSerialPort::SerialPortError error) {
    struct Row {
        QSerialPort::SerialPortError error;
        int code;
    };
    static constexpr Row kTable[] = {
        {QSerialPort::NoError, 0},
        {QSerialPort::DeviceNotFoundError, ENOENT},
        {QSerialPort::PermissionError, EACCES},
        {QSerialPort::OpenError, EBUSY},
        {QSerialPort::ResourceError, ENODEV},
    };
    for (const Row& row : kTable) {
        if (row.error == error) {
            return row.code;
        }
    }
    return EIO;
}

// Errors after which the device cannot be used any more.
bool Fatal(QSerialPort::SerialPortError error) {
    return error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
           error == QSerialPort::WriteError || error == QSerialPort::PermissionError;
}

}  // namespace

SerialWorker::SerialWorker(Link* link) : m_link(link), m_port(this) {
    connect(&m_port, &QSerialPort::readyRead, this, &SerialWorker::OnReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialWorker::OnError);
}

int SerialWorker::Open(const QString& path) {
    m_port.setPortName(path);
    // The interfaces appear as virtual serial ports: the line settings are not used, but a
    // port needs some, and raw 8N1 without flow control keeps every byte as it is.
    m_port.setBaudRate(QSerialPort::Baud115200);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        const int error = ErrnoOf(m_port.error());
        m_port.clearError();
        return error;
    }
    return 0;
}

void SerialWorker::Close() {
    if (m_port.isOpen()) {
        m_port.close();
    }
}

void SerialWorker::Write(const QByteArray& bytes) {
    if (m_port.isOpen()) {
        m_port.write(bytes);
    }
}

void SerialWorker::OnReadyRead() {
    const Framer::Result result = m_framer.Feed(m_port.readAll());
    for (const QString& fault : result.faults) {
        OS_LOG_WARNING(Log::UsbPro(), m_port.portName() + ": " + fault);
    }
    if (!result.messages.isEmpty()) {
        m_link->Deliver(result.messages);
    }
}

void SerialWorker::OnError(QSerialPort::SerialPortError error) {
    if (!Fatal(error) || !m_port.isOpen()) {
        return;
    }
    m_port.clearError();
    m_port.close();
    m_link->MarkGone();
}

}  // namespace Hardware::UsbPro
