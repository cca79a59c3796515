#pragma once

#include "rdm/devices/Device.h"

#include <QList>
#include <QMap>

#include <array>

// One DMX personality of a fixture, as DMX_PERSONALITY_DESCRIPTION gives it.
struct DmxPersonality {
    quint16 footprint = 0;
    QString description;
};

// A fixture found by RDM discovery, with the values the standard parameters read from it.
class RDMDevice : public Device {
    Q_OBJECT
public:
    static constexpr quint8 kKindRdm = 1;

    explicit RDMDevice(quint64 uid, QObject* parent = nullptr);

    int DeviceType() const override { return 1; }
    void SetModelNumber(quint16 model) override { m_modelNumber = model; }
    quint16 GetModelNumber() const override { return m_modelNumber; }
    QString GetModelText() const override { return m_modelDescription; }
    quint16 GetProductCategory() const override { return m_productCategory; }
    void SetProductCategory(quint16 category) override { m_productCategory = category; }
    QString GetManufacturer() const override { return m_manufacturerLabel; }
    quint16 GetDmxStartAddress() const override { return m_dmxStartAddress; }
    QString GetSoftwareVersion() const override { return m_softwareVersionLabel; }

    // The property table: "Parameter" and "Value" columns, the fixed rows, then one row for
    // each supported parameter that has one, in the device's own order.
    void FillProperties(QStandardItemModel* model) const override;
    // The name shown for the fixture: its device label.
    virtual QString GetDisplayName() const { return m_deviceLabel; }

    QString GetDeviceLabel() const { return m_deviceLabel; }
    // Both emit DetailsChanged() when the value changes.
    void SetDeviceLabel(const QString& label);
    QString GetManufacturerLabel() const { return m_manufacturerLabel; }
    void SetManufacturerLabel(const QString& label) { m_manufacturerLabel = label; }
    QString GetModelDescription() const { return m_modelDescription; }
    void SetModelDescription(const QString& text) { m_modelDescription = text.trimmed(); }
    quint16 GetSubDeviceCount() const { return m_subDeviceCount; }
    void SetSubDeviceCount(quint16 count) { m_subDeviceCount = count; }

    // The DEVICE_INFO software version id, most significant byte first.
    std::array<quint32, 4> GetSoftwareVersionId() const { return m_softwareVersionId; }
    void SetSoftwareVersionId(const std::array<quint32, 4>& version) {
        m_softwareVersionId = version;
    }
    QString GetSoftwareVersionLabel() const { return m_softwareVersionLabel; }
    void SetSoftwareVersionLabel(const QString& label) { m_softwareVersionLabel = label; }
    QString GetBootSoftwareVersionLabel() const { return m_bootSoftwareVersionLabel; }
    void SetBootSoftwareVersionLabel(const QString& label) { m_bootSoftwareVersionLabel = label; }

    QList<quint16> GetSupportedParameters() const { return m_supportedParameters; }
    void AddSupportedParameter(quint16 pid);
    void ClearSupportedParameters() { m_supportedParameters.clear(); }

    // Emits AddressChanged().
    void SetDmxStartAddress(quint16 address);
    quint16 GetDmxFootprint() const override { return m_footprint; }
    void SetDmxFootprint(quint16 footprint);
    QString GetPersonalityDescription() const { return m_personalityDescription; }
    void SetPersonalityDescription(const QString& text) { m_personalityDescription = text; }
    quint8 GetPersonality() const { return m_personality; }
    void SetPersonality(quint8 personality) { m_personality = personality; }
    // How many personalities DEVICE_INFO says the fixture has.
    quint8 GetPersonalityCount() const { return m_personalityCount; }
    void SetPersonalityCount(quint8 count) { m_personalityCount = count; }
    // The personalities whose descriptions were read, by number (from 1).
    QMap<quint8, DmxPersonality> GetPersonalities() const { return m_personalities; }
    void SetPersonalityDescription(quint8 personality, const DmxPersonality& description) {
        m_personalities.insert(personality, description);
    }
    quint16 GetSensorCount() const { return m_sensorCount; }
    void SetSensorCount(quint16 count) { m_sensorCount = count; }

    bool GetFactoryDefaults() const { return m_factoryDefaults; }
    void SetFactoryDefaults(bool value) { m_factoryDefaults = value; }
    quint32 GetDeviceHours() const { return m_deviceHours; }
    void SetDeviceHours(quint32 hours) { m_deviceHours = hours; }
    quint32 GetLampHours() const { return m_lampHours; }
    void SetLampHours(quint32 hours) { m_lampHours = hours; }
    quint32 GetLampStrikes() const { return m_lampStrikes; }
    void SetLampStrikes(quint32 strikes) { m_lampStrikes = strikes; }
    quint32 GetLampState() const { return m_lampState; }
    void SetLampState(quint32 state) { m_lampState = state; }
    quint32 GetLampOnMode() const { return m_lampOnMode; }
    void SetLampOnMode(quint32 mode) { m_lampOnMode = mode; }
    quint32 GetPowerCycles() const { return m_powerCycles; }
    void SetPowerCycles(quint32 cycles) { m_powerCycles = cycles; }
    quint32 GetDisplayInvert() const { return m_displayInvert; }
    void SetDisplayInvert(quint32 value) { m_displayInvert = value; }
    quint8 GetDisplayLevel() const { return m_displayLevel; }
    void SetDisplayLevel(quint8 level) { m_displayLevel = level; }
    quint8 GetPanInvert() const { return m_panInvert; }
    void SetPanInvert(quint8 value) { m_panInvert = value; }
    quint8 GetTiltInvert() const { return m_tiltInvert; }
    void SetTiltInvert(quint8 value) { m_tiltInvert = value; }
    quint8 GetPanTiltSwap() const { return m_panTiltSwap; }
    void SetPanTiltSwap(quint8 value) { m_panTiltSwap = value; }
    quint32 GetPowerState() const { return m_powerState; }
    void SetPowerState(quint32 state) { m_powerState = state; }
    quint8 GetIdentify() const { return m_identify; }
    void SetIdentify(quint8 state) { m_identify = state; }

    // The value of a supported parameter's property row as shown; a null text for a
    // parameter without a row.
    QString ParameterText(quint16 pid) const;
    // The supported parameters that add a property row.
    static QList<quint16> ParametersWithRows();

    // Texts of the coded values, "N/A" for a value without one.
    static QString LampStateText(quint32 state);
    static QString LampOnModeText(quint32 mode);
    static QString PowerStateText(quint32 state);
    static QString DisplayInvertText(quint32 value);
    static QString YesNoText(quint32 value);
    // The display level (0..255) as a percentage of full: 255 is "100%".
    static QString DisplayLevelText(quint32 level);

private:
    QString m_deviceLabel;
    QString m_manufacturerLabel = QStringLiteral("Unknown");
    QString m_modelDescription = QStringLiteral("Unknown");
    quint16 m_modelNumber = 0;
    quint16 m_productCategory = 0;
    quint16 m_subDeviceCount = 0;
    std::array<quint32, 4> m_softwareVersionId{};
    QString m_softwareVersionLabel;
    QString m_bootSoftwareVersionLabel;
    QList<quint16> m_supportedParameters;
    quint16 m_dmxStartAddress = 0;
    quint16 m_footprint = 0;
    QString m_personalityDescription = QStringLiteral("N/A");
    quint8 m_personality = 0;
    quint8 m_personalityCount = 0;
    QMap<quint8, DmxPersonality> m_personalities;
    quint16 m_sensorCount = 0;
    bool m_factoryDefaults = false;
    quint32 m_deviceHours = 0;
    quint32 m_lampHours = 0;
    quint32 m_lampStrikes = 0;
    quint32 m_lampState = 0;
    quint32 m_lampOnMode = 0;
    quint32 m_powerCycles = 0;
    quint32 m_displayInvert = 0;
    quint8 m_displayLevel = 0;
    quint8 m_panInvert = 0;
    quint8 m_tiltInvert = 0;
    quint8 m_panTiltSwap = 0;
    quint32 m_powerState = 0;
    quint8 m_identify = 0;
};
