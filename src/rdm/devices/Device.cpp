#include "rdm/devices/Device.h"

#include "orx/LegacyFixtureTypes.h"

Device::Device(quint8 kind, quint64 uid, QObject* parent)
    : QObject(parent), m_uid(uid), m_kind(kind) {
    m_created.start();
}

QString Device::UidText() const {
    return UidText(m_uid);
}

QString Device::UidText(quint64 uid) {
    return "0x" + QString::number(uid, 16);
}

QString Device::GetFirmwarePackageVersion(const QString&) const {
    return QStringLiteral("Unknown");
}

void Device::RemoveUse() {
    if (m_uses.fetch_sub(1) == 1) {
        Q_EMIT Unused();
    }
}

const LegacyFixtureType* Device::LegacyType() const {
    return m_legacyType ? LegacyFixtureTypes::Find(GetModelNumber()) : nullptr;
}

QString Device::GetFirmwarePackagePattern() const {
    const LegacyFixtureType* type = LegacyType();
    return type ? type->filePatterns.join(' ') : QString();
}

bool Device::GetFirmwareUploadFlag() const {
    const LegacyFixtureType* type = LegacyType();
    return type && type->uploadable;
}

quint16 Device::GetFirmwarePacketSize() const {
    const LegacyFixtureType* type = LegacyType();
    return type ? type->packetSize : 0;
}
