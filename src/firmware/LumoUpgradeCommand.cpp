#include "firmware/LumoUpgradeCommand.h"

#include "lumo/LumoProtocol.h"
#include "lumo/devices/MarqaRDM.h"
#include "lumo/devices/SolviRDM.h"
#include "orx/ORXProtocol.h"
#include "os/Clock.h"
#include "os/HexText.h"

namespace {

QString Line(const char* text, quint64 uid) {
    return QString::fromLatin1(text).arg(Hex(uid));
}

QList<Device*> AsDevices(const QList<LumoRDM*>& fixtures) {
    return {fixtures.begin(), fixtures.end()};
}

}  // namespace

LumoUpgradeCommand::LumoUpgradeCommand(const FirmwarePackage::Family& family, Maker make,
                                       const QString& caption, QObject* parent)
    : Command(parent), m_family(family), m_make(make) {
    SetName(caption);
}

void LumoUpgradeCommand::Setup(const QList<Device*>& devices, const QString& package) {
    {
        QMutexLocker lock(&m_mutex);
        m_devices = DeviceUses(devices);
        m_package = package;
    }
    Describe(QStringLiteral("Upgrade %1 device(s) from %2").arg(devices.size()).arg(package));
}

bool LumoUpgradeCommand::Accepts(const Device* device) const {
    const auto* fixture = qobject_cast<const LumoRDM*>(device);
    return fixture && FirmwarePackage::ForModel(fixture->GetModelText()) == &m_family;
}

bool LumoUpgradeCommand::Execute() {
    QList<Device*> devices;
    QString package;
    {
        QMutexLocker lock(&m_mutex);
        devices = m_devices.Devices();
        package = m_package;
    }
    QList<Device*> sources;
    std::vector<std::unique_ptr<LumoRDM>> owned;
    QList<LumoRDM*> working;
    for (Device* device : devices) {
        if (!Accepts(device)) {
            continue;
        }
        std::unique_ptr<LumoRDM> fixture = m_make(device->GetUid());
        // Carries the port too: without it a fixture on any port but the first is not reached.
        fixture->SetPort(device->GetPort());
        fixture->SetFpgaVersion(static_cast<LumoRDM*>(device)->GetFpgaVersion());
        sources.append(device);
        working.append(fixture.get());
        owned.push_back(std::move(fixture));
    }
    if (working.isEmpty()) {
        // Nothing is sent: the boot loader reset would reach every fixture on the line.
        AddString(QStringLiteral(" Error: No %1 device to upgrade").arg(m_family.model),
                  FeedbackStatusError);
        AddString(QStringLiteral("Upgrade Completed!"), FeedbackStatusNormal);
        Q_EMIT FinishedMarqaUpgrade();
        Finished(ResultOf(false));
        return false;
    }

    bool ok = UploadGraphics(working, package);
    Os::Clock::Instance().Wait(kGraphicsRestartMs);
    ok = UploadMotion(working, package) && ok;
    const QList<LumoRDM*> fpga = SelectFpga(working, package);
    if (!fpga.isEmpty()) {
        ok = UploadFpga(fpga, package) && ok;
    }
    AddString(QStringLiteral(" Waiting 30 seconds for %1 device(s) to reset").arg(working.size()),
              FeedbackStatusNormal);
    Os::Clock::Instance().Wait(kResetWaitMs);
    ok = ReadBack(working, sources, fpga, package) && ok;

    AddString(QStringLiteral("Upgrade Completed!"), FeedbackStatusNormal);
    Q_EMIT FinishedMarqaUpgrade();
    Finished(ResultOf(ok));
    return ok;
}

bool LumoUpgradeCommand::UploadImage(const QList<LumoRDM*>& devices, const QString& package,
                                     const char* entry, const QString& announcement) {
    const QString path = FirmwarePackage::EntryPath(package, entry);
    QByteArray image;
    QString error;
    if (!FirmwarePackage::ReadImage(path, &image, &error)) {
        AddString(" Error: " + error, FeedbackStatusError);
        return false;
    }
    AddString(announcement, FeedbackStatusNormal);
    return ORXProtocol::Instance()->UploadFirmware(AsDevices(devices), path, this);
}

bool LumoUpgradeCommand::UploadGraphics(const QList<LumoRDM*>& devices, const QString& package) {
    return UploadImage(devices, package, m_family.graphics,
                       QStringLiteral("Uploading graphics engine firmware."));
}

bool LumoUpgradeCommand::UploadMotion(const QList<LumoRDM*>& devices, const QString& package) {
    return UploadImage(devices, package, m_family.motion,
                       QStringLiteral("Uploading motion firmware."));
}

QList<LumoRDM*> LumoUpgradeCommand::SelectFpga(const QList<LumoRDM*>& devices,
                                               const QString& package) {
    QList<LumoRDM*> selected;
    for (LumoRDM* device : devices) {
        quint32 version = 0;
        if (!device->ReadFpgaVersion(package, &version)) {
            AddString(QStringLiteral(" Error could not get FPGA package"), FeedbackStatusError);
        } else if (version == device->GetFpgaVersion()) {
            // Equal versions only: an older package is installed as readily as a newer one.
            AddString(Line(" Device 0x%1 FPGA version is up to date", device->GetUid()),
                      FeedbackStatusNormal);
        } else {
            selected.append(device);
        }
    }
    return selected;
}

bool LumoUpgradeCommand::UploadFpga(QList<LumoRDM*> devices, const QString& package) {
    QByteArray image;
    QString error;
    if (!FirmwarePackage::ReadImage(FirmwarePackage::EntryPath(package, m_family.fpga), &image,
                                    &error)) {
        AddString(" Error: " + error, FeedbackStatusError);
        return false;
    }
    // The fixtures are polled between blocks with the FPGA transfer state (0xA061), not the
    // file one: the FPGA blocks run their own transfer, whose state only that parameter tells.
    return LumoProtocol::ProtocolFor(devices.first())->ProgramFpga(devices, image, this);
}

bool LumoUpgradeCommand::ReadBack(const QList<LumoRDM*>& working, const QList<Device*>& sources,
                                  const QList<LumoRDM*>& fpga, const QString& package) {
    bool all = !working.isEmpty();
    for (qsizetype i = 0; i < working.size(); ++i) {
        LumoRDM* device = working[i];
        LumoProtocol* protocol = LumoProtocol::ProtocolFor(device);
        const bool read = protocol->GetDeviceInfo(device, this) &&
                          protocol->GetSoftwareVersionLabel(device, this) &&
                          protocol->GetGraphicsVersion(device, this) &&
                          protocol->GetFpgaVersion(device, this);
        if (!read) {
            AddString(
                Line(" Error: Device 0x%1 did not answer after the upgrade", device->GetUid()),
                FeedbackStatusError);
            all = false;
            continue;
        }
        auto* source = static_cast<LumoRDM*>(sources[i]);
        source->SetSoftwareVersionLabel(device->GetSoftwareVersionLabel());
        source->SetGraphicsVersion(device->GetGraphicsVersion());
        source->SetFpgaVersion(device->GetFpgaVersion());
        // What should run now: the package's motion and graphics, and its FPGA where it was sent.
        std::array<quint32, 4> motion{};
        std::array<quint32, 4> graphics{};
        quint32 fpgaVersion = 0;
        const bool known = device->ReadMotionVersion(package, &motion) &&
                           device->ReadGraphicsVersion(package, &graphics) &&
                           device->ReadFpgaVersion(package, &fpgaVersion);
        const bool upgraded =
            known && device->GetSoftwareVersionLabel() == FirmwarePackage::VersionText(motion) &&
            device->GetGraphicsVersion() == FirmwarePackage::VersionText(graphics) &&
            (!fpga.contains(device) || device->GetFpgaVersion() == fpgaVersion);
        if (upgraded) {
            AddString(QStringLiteral(" Device 0x%1 runs %2")
                          .arg(Hex(device->GetUid()), device->GetSoftwareVersion()),
                      FeedbackStatusNormal);
        } else {
            AddString(QStringLiteral(" Error: Device 0x%1 runs %2 after the upgrade")
                          .arg(Hex(device->GetUid()), device->GetSoftwareVersion()),
                      FeedbackStatusError);
            all = false;
        }
    }
    return all;
}

namespace {

template <class Fixture>
std::unique_ptr<LumoRDM> Make(quint64 uid) {
    return std::make_unique<Fixture>(uid);
}

}  // namespace

MarqaUpgradeCommand::MarqaUpgradeCommand(QObject* parent)
    : LumoUpgradeCommand(FirmwarePackage::kMarqa, &Make<MarqaRDM>,
                         QStringLiteral("MARQA Firmware Upgrade"), parent) {}

SolviUpgradeCommand::SolviUpgradeCommand(QObject* parent)
    : LumoUpgradeCommand(FirmwarePackage::kSolvi, &Make<SolviRDM>,
                         QStringLiteral("Solvi Firmware Upgrade"), parent) {}
