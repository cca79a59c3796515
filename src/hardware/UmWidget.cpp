#include "hardware/UmWidget.h"

#include "hardware/DriverRequests.h"
#include "hardware/WidgetManager.h"

#include <QtEndian>

namespace Hardware {

UmWidget::UmWidget(const WidgetMapData& device)
    : m_device(device),
      m_deviceInfo(DriverRequests::kDeviceInfoSize, '\0'),
      m_version(DriverRequests::kVersionSize, '\0') {}

UmWidget::~UmWidget() = default;

quint16 UmWidget::ProductCode() {
    const QByteArray info = DeviceInfoBlock();
    return qFromLittleEndian<quint16>(info.constData() + 2);
}

QByteArray UmWidget::DeviceInfoBlock() {
    return CachedBlock(DriverRequests::kDeviceInfo, DriverRequests::kDeviceInfoSize,
                       m_hasDeviceInfo, m_deviceInfo);
}

QByteArray UmWidget::VersionBlock() {
    return CachedBlock(DriverRequests::kFirmwareVersion, DriverRequests::kVersionSize, m_hasVersion,
                       m_version);
}

QByteArray UmWidget::CachedBlock(quint32 code, int size, bool& cached, QByteArray& block) {
    std::lock_guard lock(m_cacheLock);
    if (!cached) {
        QByteArray output;
        if (IoControl(code, {}, quint32(size), &output)) {
            // A short answer fills the front of the block; the rest stays zero.
            block = output.left(size).leftJustified(size, '\0');
            cached = true;
        }
    }
    return block;
}

bool UmWidget::IoControl(quint32 code, const QByteArray& input, quint32 outputCapacity,
                         QByteArray* output) {
    if (m_device.handle == PortLayer::kInvalidHandle) {
        return false;
    }
    PortLayer::IoResult result =
        PortLayer::Instance().IoControl(m_device.handle, code, input, outputCapacity);
    if (result.status != 0) {
        WidgetManager::EventDeviceFail(m_device, result.status);
        return false;
    }
    if (output) {
        *output = std::move(result.output);
    }
    return true;
}

bool UmWidget::WriteFrames(const QByteArray& frames) {
    if (m_device.handle == PortLayer::kInvalidHandle) {
        return false;
    }
    const PortLayer::IoResult result = PortLayer::Instance().Write(m_device.handle, frames);
    if (result.status != 0) {
        WidgetManager::EventDeviceFail(m_device, result.status);
        return false;
    }
    return true;
}

}  // namespace Hardware
