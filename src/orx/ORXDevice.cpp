#include "orx/ORXDevice.h"

#include "orx/LegacyFixtureTypes.h"
#include "rdm/devices/PropertyTable.h"

namespace {

QString OnOff(quint8 value) {
    return value ? QStringLiteral("On") : QStringLiteral("Off");
}
QString YesNo(quint8 value) {
    return value ? QStringLiteral("Yes") : QStringLiteral("No");
}

}  // namespace

ORXDevice::ORXDevice(quint8 port, quint32 deviceId, QObject* parent)
    : Device(kKindOrx, deviceId, parent) {
    SetPort(port);
    SetUsesLegacyTypeTable(true);
}

QString ORXDevice::GetModelText() const {
    const LegacyFixtureType* type = LegacyFixtureTypes::Find(m_fixtureType);
    return type ? QString::fromLatin1(type->name)
                : QStringLiteral("Unknown ORX fixture (%1)").arg(m_fixtureType);
}

QString ORXDevice::GetSoftwareVersion() const {
    return QStringLiteral("%1.%2").arg(m_firmwareMajor).arg(m_firmwareMinor);
}

void ORXDevice::FillProperties(QStandardItemModel* model) const {
    using PropertyTable::AddRow;
    PropertyTable::Reset(model);
    AddRow(model, "Device ID", UidText());
    AddRow(model, "Model", GetModelText());
    AddRow(model, "Software Version", GetSoftwareVersion());
    AddRow(model, "Dmx Start Address", QString::number(m_dmxAddress));
    AddRow(model, "Channels", QString::number(m_footprint));
    AddRow(model, "Personality", QString::number(m_personality));
    AddRow(model, "Device Hours", QString::number(m_deviceHours));
    AddRow(model, "Lamp State", OnOff(m_lampState));
    AddRow(model, "Lamp Limit", QString::number(m_lampLimit));
    AddRow(model, "Pan Invert", YesNo(m_panInvert));
    AddRow(model, "Tilt Invert", YesNo(m_tiltInvert));
    AddRow(model, "Pan Tilt Swap", YesNo(m_panTiltSwap));
    AddRow(model, "Display Invert", YesNo(m_displayInvert));
    AddRow(model, "Display", OnOff(m_displayOn));
    AddRow(model, "Shutdown Time", QString::number(m_shutdownTime));
    AddRow(model, "Dataloss Time", QString::number(m_datalossTime));
    AddRow(model, "Encoders", m_encoderDisable ? "Disabled" : "Enabled");
    AddRow(model, "Lens Type", QString::number(m_lensType));
    AddRow(model, "Fast Mode", OnOff(m_fastMode));
}
