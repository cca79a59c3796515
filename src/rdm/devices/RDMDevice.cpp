#include "rdm/devices/RDMDevice.h"

#include "rdm/RdmDefs.h"
#include "rdm/devices/PropertyTable.h"

#include <QStandardItemModel>

#include <functional>
#include <map>

namespace {

using Texts = std::map<quint32, const char*>;

QString TextOf(const Texts& texts, quint32 value, const char* otherwise = "N/A") {
    const auto it = texts.find(value);
    return QString::fromLatin1(it == texts.end() ? otherwise : it->second);
}

struct PropertyRow {
    const char* label;
    std::function<QString(const RDMDevice&)> value;
};

// The rows that a supported parameter adds to the property table.
const std::map<quint16, PropertyRow>& ParameterRows() {
    using D = const RDMDevice&;
    static const std::map<quint16, PropertyRow> rows = {
        {Rdm::DeviceModelDescription, {"Model", [](D d) { return d.GetModelDescription(); }}},
        {Rdm::ManufacturerLabel, {"Manufacturer", [](D d) { return d.GetManufacturerLabel(); }}},
        {Rdm::DeviceLabel, {"Label", [](D d) { return d.GetDeviceLabel(); }}},
        {Rdm::BootSoftwareVersionLabel,
         {"Boot Version", [](D d) { return d.GetBootSoftwareVersionLabel(); }}},
        {Rdm::DmxPersonalityDescription,
         {"Mode", [](D d) { return d.GetPersonalityDescription(); }}},
        {Rdm::DeviceHours,
         {"Device Hours", [](D d) { return QString::number(d.GetDeviceHours()); }}},
        {Rdm::LampHours, {"Lamp Hours", [](D d) { return QString::number(d.GetLampHours()); }}},
        {Rdm::LampStrikes,
         {"Lamp Strikes", [](D d) { return QString::number(d.GetLampStrikes()); }}},
        {Rdm::LampState,
         {"Lamp State", [](D d) { return RDMDevice::LampStateText(d.GetLampState()); }}},
        {Rdm::LampOnMode,
         {"Lamp On Mode", [](D d) { return RDMDevice::LampOnModeText(d.GetLampOnMode()); }}},
        {Rdm::DevicePowerCycles,
         {"Power Cycles", [](D d) { return QString::number(d.GetPowerCycles()); }}},
        {Rdm::DisplayInvert,
         {"Display Invert",
          [](D d) { return RDMDevice::DisplayInvertText(d.GetDisplayInvert()); }}},
        {Rdm::DisplayLevel,
         {"Display Level", [](D d) { return RDMDevice::DisplayLevelText(d.GetDisplayLevel()); }}},
        {Rdm::PanInvert,
         {"Pan Invert", [](D d) { return RDMDevice::YesNoText(d.GetPanInvert()); }}},
        {Rdm::TiltInvert,
         {"Tilt Invert", [](D d) { return RDMDevice::YesNoText(d.GetTiltInvert()); }}},
        {Rdm::PanTiltSwap,
         {"Pan Tilt Swap", [](D d) { return RDMDevice::YesNoText(d.GetPanTiltSwap()); }}},
        {Rdm::PowerState,
         {"Power State", [](D d) { return RDMDevice::PowerStateText(d.GetPowerState()); }}},
    };
    return rows;
}

}  // namespace

RDMDevice::RDMDevice(quint64 uid, QObject* parent) : Device(kKindRdm, uid, parent) {}

void RDMDevice::AddSupportedParameter(quint16 pid) {
    if (!m_supportedParameters.contains(pid)) {
        m_supportedParameters.append(pid);
    }
}

void RDMDevice::SetDmxStartAddress(quint16 address) {
    m_dmxStartAddress = address;
    Q_EMIT AddressChanged();
}

void RDMDevice::SetDeviceLabel(const QString& label) {
    if (label != m_deviceLabel) {
        m_deviceLabel = label;
        Q_EMIT DetailsChanged();
    }
}

void RDMDevice::SetDmxFootprint(quint16 footprint) {
    if (footprint != m_footprint) {
        m_footprint = footprint;
        Q_EMIT DetailsChanged();
    }
}

void RDMDevice::FillProperties(QStandardItemModel* model) const {
    using PropertyTable::AddRow;
    PropertyTable::Reset(model);
    AddRow(model, "Unique ID", UidText());
    AddRow(model, "Identify", m_identify ? "On" : "Off", Rdm::IdentifyDevice);
    AddRow(model, "Software Version", m_softwareVersionLabel, Rdm::SoftwareVersionLabel);
    AddRow(model, "Sensors", QString::number(m_sensorCount));
    AddRow(model, "Dmx Start Address", QString::number(m_dmxStartAddress), Rdm::DmxStartAddress);
    AddRow(model, "Channels", QString::number(m_footprint));
    const auto& rows = ParameterRows();
    for (quint16 pid : m_supportedParameters) {
        const auto row = rows.find(pid);
        if (row != rows.end()) {
            AddRow(model, row->second.label, row->second.value(*this), pid);
        }
    }
}

QList<quint16> RDMDevice::ParametersWithRows() {
    QList<quint16> pids;
    for (const auto& row : ParameterRows()) {
        pids.append(row.first);
    }
    return pids;
}

QString RDMDevice::ParameterText(quint16 pid) const {
    const auto& rows = ParameterRows();
    const auto row = rows.find(pid);
    return row == rows.end() ? QString() : row->second.value(*this);
}

QString RDMDevice::YesNoText(quint32 value) {
    return value ? QStringLiteral("Yes") : QStringLiteral("No");
}

QString RDMDevice::LampStateText(quint32 state) {
    static const Texts texts = {{0, "OFF"},     {1, "ON"},          {2, "STRIKE"},
                                {3, "STANDBY"}, {4, "NOT PRESENT"}, {127, "ERROR"}};
    return TextOf(texts, state, "CUSTOM");
}

QString RDMDevice::LampOnModeText(quint32 mode) {
    static const Texts texts = {
        {0, "OFF"}, {1, "ON DMX"}, {2, "ON"}, {3, "ON HOME"}, {128, "CUSTOM"}};
    return TextOf(texts, mode);
}

QString RDMDevice::PowerStateText(quint32 state) {
    static const Texts texts = {{0, "OFF"}, {1, "SHUTDOWN"}, {2, "STANDBY"}, {255, "NORMAL"}};
    return TextOf(texts, state);
}

QString RDMDevice::DisplayLevelText(quint32 level) {
    return QStringLiteral("%1%").arg((qMin<quint32>(level, 255) * 100 + 127) / 255);
}

QString RDMDevice::DisplayInvertText(quint32 value) {
    static const Texts texts = {{0, "OFF"}, {1, "ON"}, {2, "AUTO"}, {255, "NORMAL"}};
    return TextOf(texts, value);
}
