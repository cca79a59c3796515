#pragma once

#include "rdm/devices/Device.h"

// A legacy moving light found by the talk-back discovery: a 32-bit device id on a port, and
// the values its talk-back reads give.
class ORXDevice : public Device {
    Q_OBJECT
public:
    static constexpr quint8 kKindOrx = 2;

    ORXDevice(quint8 port, quint32 deviceId, QObject* parent = nullptr);

    quint32 GetOrxId() const { return quint32(GetUid()); }

    int DeviceType() const override { return 2; }
    void SetModelNumber(quint16 model) override { m_fixtureType = model; }
    quint16 GetModelNumber() const override { return m_fixtureType; }
    // The model's name from the legacy fixture-type table.
    QString GetModelText() const override;
    quint16 GetProductCategory() const override { return 0; }
    void SetProductCategory(quint16) override {}
    QString GetManufacturer() const override { return QStringLiteral("ORX"); }
    quint16 GetDmxStartAddress() const override { return m_dmxAddress; }
    quint16 GetDmxFootprint() const override { return m_footprint; }
    QString GetSoftwareVersion() const override;
    void FillProperties(QStandardItemModel* model) const override;

    // Values of the talk-back reads.
    quint16 m_dmxAddress = 0;
    quint8 m_personality = 0;
    quint8 m_panTiltSwap = 0;
    quint8 m_panInvert = 0;
    quint8 m_tiltInvert = 0;
    quint8 m_displayInvert = 0;
    quint8 m_displayOn = 0;
    quint8 m_lampLimit = 0;
    quint16 m_fixtureType = 0;
    quint8 m_lampState = 0;
    quint8 m_firmwareMajor = 0;
    quint8 m_firmwareMinor = 0;
    quint32 m_deviceHours = 0;
    quint16 m_footprint = 0;
    quint16 m_shutdownTime = 0;
    quint16 m_datalossTime = 0;
    quint8 m_encoderDisable = 0;
    quint8 m_lensType = 0;
    quint8 m_fastMode = 0;
};
