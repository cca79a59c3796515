#pragma once

#include "comm/Command.h"
#include "firmware/FirmwarePackage.h"
#include "rdm/devices/Device.h"

#include <QList>
#include <QString>

#include <memory>
#include <vector>

class LumoRDM;

// Upgrades LED fixtures of one family from a firmware package: the graphics engine image,
// then the motion image (both over the talk-back boot loader), then the FPGA image to the
// fixtures whose FPGA version differs from the package's, and finally reads the fixtures'
// versions again. Each step's failure is logged and the next step still runs. The fixtures
// are reached through working device objects made for the run, with the ids and ports of the
// devices given; the versions read at the end are copied back to those devices.
class LumoUpgradeCommand : public Command {
    Q_OBJECT
public:
    static constexpr qint64 kGraphicsRestartMs = 10000;
    static constexpr qint64 kResetWaitMs = 30000;

    void Setup(const QList<Device*>& devices, const QString& package);
    bool Execute() override;

Q_SIGNALS:
    void FinishedMarqaUpgrade();

protected:
    using Maker = std::unique_ptr<LumoRDM> (*)(quint64 uid);
    // `make` makes a device object of the family.
    LumoUpgradeCommand(const FirmwarePackage::Family& family, Maker make, const QString& caption,
                       QObject* parent);

    // Each sends one image of the package; false when it was not sent or no fixture took it.
    virtual bool UploadFpga(QList<LumoRDM*> devices, const QString& package);
    virtual bool UploadMotion(const QList<LumoRDM*>& devices, const QString& package);
    virtual bool UploadGraphics(const QList<LumoRDM*>& devices, const QString& package);

private:
    // A device of the command's family.
    bool Accepts(const Device* device) const;
    // The image of the package sent through the talk-back boot loader.
    bool UploadImage(const QList<LumoRDM*>& devices, const QString& package, const char* entry,
                     const QString& announcement);
    QList<LumoRDM*> SelectFpga(const QList<LumoRDM*>& devices, const QString& package);
    // Reads the versions again; true when every fixture now reports the package's.
    bool ReadBack(const QList<LumoRDM*>& working, const QList<Device*>& sources,
                  const QList<LumoRDM*>& fpga, const QString& package);

    const FirmwarePackage::Family& m_family;
    const Maker m_make;
    DeviceUses m_devices;  // held while the command may run
    QString m_package;
};

class MarqaUpgradeCommand : public LumoUpgradeCommand {
    Q_OBJECT
public:
    explicit MarqaUpgradeCommand(QObject* parent = nullptr);
};

class SolviUpgradeCommand : public LumoUpgradeCommand {
    Q_OBJECT
public:
    explicit SolviUpgradeCommand(QObject* parent = nullptr);
};
