#include "LumoRigTest.h"

#include "firmware/FirmwarePackage.h"
#include "firmware/FirmwareUpgradeCommand.h"
#include "firmware/LumoUpgradeCommand.h"
#include "orx/ORXDevice.h"
#include "orx/ORXProtocol.h"
#include "orx/OrxDefs.h"
#include "os/HexText.h"
#include "sim/FirmwareCatalogue.h"
#include "sim/SimOrxFixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Sim::FirmwareCatalogue;
using Sim::FirmwareRole;

// Bytes that differ from those of every other image made here.
QByteArray Bytes(int size) {
    static int serial = 0;
    ++serial;
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        bytes[i] = char((i * 7 + serial * 31) % 251);
    }
    return bytes;
}

class FirmwareUpgradeTest : public LumoRigTest {
protected:
    // A package of the family the simulated fixtures know the versions of.
    QString Package(const FirmwarePackage::Family& family, bool graphics, bool fpga,
                    quint32 fpgaVersion) {
        m_contents.motion = Bytes(700);
        m_contents.graphics = graphics ? Bytes(600) : QByteArray();
        m_contents.fpga = fpga ? Bytes(500) : QByteArray();
        m_contents.versions = {{5, 0, 0, quint32(++m_release)}, {3, 1, 0, 2}, fpgaVersion};
        const QString path = m_dir.filePath(
            QStringLiteral("%1-%2.crvpkg").arg(QString(family.model).toLower()).arg(m_release));
        QString error;
        EXPECT_TRUE(FirmwarePackage::Write(path, family, m_contents, &error));
        EXPECT_TRUE(FirmwareCatalogue::Instance().LearnPackage(path, &error));
        return path;
    }

    template <class Fixture>
    LumoRDM* Target(quint64 uid, int port, quint8 fpga) {
        auto device = MakeDevice<Fixture>(uid, port);
        device->SetFpgaVersion(fpga);
        m_devices.push_back(std::move(device));
        return static_cast<LumoRDM*>(m_devices.back().get());
    }

    bool Run(Command& command) {
        command.SetFeedback(&m_feedback);
        const qint64 start = clock().NowMs();
        const bool ok = command.Execute();
        m_elapsed = clock().NowMs() - start;
        return ok;
    }

    QTemporaryDir m_dir;
    FirmwarePackage::Contents m_contents;
    int m_release = 0;
    std::vector<std::unique_ptr<RDMDevice>> m_devices;
    qint64 m_elapsed = 0;
};

TEST_F(FirmwareUpgradeTest, LedUpgradeSendsEachImageOfThePackageThatIsThere) {
    struct Case {
        const char* name;
        bool graphics;
        bool fpga;
        QList<quint8> fixtureFpga;  // one fixture each, on ports 0, 1, ...
        QList<bool> fpgaSent;
        int upToDate;
        bool ok;
    };
    const Case cases[] = {
        {"FPGA 7 against 6, 7 and 8", true, true, {6, 7, 8}, {true, false, true}, 1, true},
        {"FPGA up to date everywhere", true, true, {7, 7}, {false, false}, 2, true},
        {"no FPGA image", true, false, {6}, {true}, 0, false},
        {"no graphics image", false, true, {6}, {true}, 0, false},
    };
    quint64 uid = kMarqaUid;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_feedback.Clear();
        const QString package = Package(FirmwarePackage::kMarqa, c.graphics, c.fpga, 7);
        QList<std::shared_ptr<Sim::SimLumoFixture>> fixtures;
        QList<Device*> devices;
        for (int i = 0; i < c.fixtureFpga.size(); ++i) {
            Sim::LumoFixtureConfig config;
            config.fpgaVersion = c.fixtureFpga[i];
            fixtures.append(AddLumo("MARQA", ++uid, config, i));
            devices.append(Target<MarqaRDM>(uid, i, c.fixtureFpga[i]));
        }
        MarqaUpgradeCommand command;
        command.Setup(devices, package);
        EXPECT_EQ(Run(command), c.ok) << m_feedback.Texts().join('\n').toStdString();

        const QStringList texts = m_feedback.Texts();
        EXPECT_EQ(texts.filter("FPGA version is up to date").size(), c.upToDate);
        const qsizetype fpgaTargets = c.fpgaSent.count(true);
        EXPECT_EQ(texts.contains(QStringLiteral("Waiting for %1 devices to be ready to program the "
                                                "FPGA...")
                                     .arg(fpgaTargets)),
                  fpgaTargets > 0 && c.fpga);
        EXPECT_TRUE(texts.contains(
            QStringLiteral(" Waiting 30 seconds for %1 device(s) to reset").arg(devices.size())));
        EXPECT_EQ(texts.last(), "Upgrade Completed!");
        EXPECT_GE(m_elapsed,
                  LumoUpgradeCommand::kGraphicsRestartMs + LumoUpgradeCommand::kResetWaitMs);
        for (int i = 0; i < fixtures.size(); ++i) {
            SCOPED_TRACE(i);
            const auto& fixture = fixtures[i];
            EXPECT_EQ(fixture->InstalledImage(FirmwareRole::Motion),
                      FirmwareCatalogue::Padded(m_contents.motion));
            EXPECT_EQ(fixture->InstalledImage(FirmwareRole::Graphics),
                      FirmwareCatalogue::Padded(m_contents.graphics));
            // FPGA blocks are broadcast: a fixture left out may see them too.
            if (c.fpgaSent[i] && c.fpga) {
                EXPECT_EQ(fixture->FpgaImage(), m_contents.fpga);
            }
            // The new versions reach the device the upgrade was given.
            const auto* device = static_cast<LumoRDM*>(devices[i]);
            EXPECT_EQ(device->GetSoftwareVersionLabel(),
                      FirmwarePackage::VersionText(m_contents.versions.motion));
            EXPECT_EQ(device->GetFpgaVersion(), c.fpgaSent[i] && c.fpga ? 7 : c.fixtureFpga[i]);
        }
        for (int i = 0; i < fixtures.size(); ++i) {
            m_widget->DetachResponders(i);
        }
    }
}

TEST_F(FirmwareUpgradeTest, FixtureThatLosesPowerFailsWhileTheOthersOnBothPortsFinish) {
    const QString package = Package(FirmwarePackage::kSolvi, true, true, 4);
    Sim::LumoFixtureConfig fragile;
    fragile.faults.firmware.powerLossAfterPackets = 2;
    auto first = AddLumo("Solvi", kSolviUid, {}, 0);
    auto second = AddLumo("Solvi", kSolviUid + 1, {}, 1);
    auto third = AddLumo("Solvi", kSolviUid + 2, fragile, 1);
    const QList<Device*> devices = {Target<SolviRDM>(kSolviUid, 0, 1),
                                    Target<SolviRDM>(kSolviUid + 1, 1, 1),
                                    Target<SolviRDM>(kSolviUid + 2, 1, 1)};
    SolviUpgradeCommand command;
    command.Setup(devices, package);
    EXPECT_FALSE(Run(command));

    const QStringList texts = m_feedback.Texts();
    const QString lost = " Error: Device 0x" + Hex(quint32(kSolviUid + 2)) + " lost.";
    EXPECT_EQ(texts.filter(lost).size(), 1) << texts.join('\n').toStdString();
    EXPECT_TRUE(texts.contains(" Error: Device 0x" + Hex(kSolviUid + 2) +
                               " did not answer after the upgrade"));
    EXPECT_EQ(texts.last(), "Upgrade Completed!");
    for (const auto& fixture : {first, second}) {
        EXPECT_EQ(fixture->InstalledImage(FirmwareRole::Graphics),
                  FirmwareCatalogue::Padded(m_contents.graphics));
        EXPECT_EQ(fixture->InstalledImage(FirmwareRole::Motion),
                  FirmwareCatalogue::Padded(m_contents.motion));
        EXPECT_EQ(fixture->FpgaImage(), m_contents.fpga);
    }
    EXPECT_EQ(static_cast<LumoRDM*>(devices[1])->GetSoftwareVersion(),
              "Motion 5.0.0.1, Graphics 3.1.0.2, FPGA 4");
    EXPECT_TRUE(third->InstalledImage(FirmwareRole::Graphics).isEmpty());
}

TEST_F(FirmwareUpgradeTest, LegacyUploadChecksTheFileBeforeAnyFixtureIsReset) {
    Sim::OrxFixtureConfig config;
    config.id = 0x11;
    auto fixture = std::make_shared<Sim::SimOrxFixture>(config);
    m_widget->AttachResponder(0, fixture);
    ORXDevice device(0, 0x11);
    FirmwareUpgradeCommand command;
    command.Setup({&device}, ORXProtocol::Instance(), m_dir.filePath("missing.orx"));
    EXPECT_FALSE(Run(command));
    EXPECT_TRUE(m_feedback.Texts().first().startsWith(" Error: Cannot open firmware file"));
    for (const QByteArray& request : SentRequests()) {
        EXPECT_NE(quint8(request[0]), Orx::kStartCode);
    }
    EXPECT_LT(m_elapsed, ORXProtocol::kResetSettleMs);
}

TEST_F(FirmwareUpgradeTest, LegacyUploadGivesTheVersionToFixturesThatVerify) {
    const QByteArray image = Bytes(900);
    FirmwareCatalogue::Instance().Learn(image, FirmwareRole::Talkback, "4.2");
    const QString file = m_dir.filePath("spot.orx");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(image);
    out.close();
    struct Legacy {
        quint32 id;
        Sim::FirmwareFaults faults;
        quint16 versionAfter;
    };
    const Legacy legacy[] = {
        {0x21, {}, 0x0402},
        {0x22, {.neverReady = true}, 0x0100},
        {0x23, {.failVerify = true}, 0x0100},
    };
    QList<std::shared_ptr<Sim::SimOrxFixture>> fixtures;
    std::vector<std::unique_ptr<ORXDevice>> devices;
    QList<Device*> list;
    for (const Legacy& l : legacy) {
        Sim::OrxFixtureConfig config;
        config.id = l.id;
        config.faults.firmware = l.faults;
        fixtures.append(std::make_shared<Sim::SimOrxFixture>(config));
        m_widget->AttachResponder(2, fixtures.back());
        devices.push_back(std::make_unique<ORXDevice>(2, l.id));
        list.append(devices.back().get());
    }
    FirmwareUpgradeCommand command;
    command.Setup(list, ORXProtocol::Instance(), file);
    EXPECT_TRUE(Run(command));
    const QStringList texts = m_feedback.Texts();
    EXPECT_TRUE(texts.contains("Devices 2 out of 3 is ready!"));
    EXPECT_TRUE(texts.contains(" Error: Device 0x23 checksum failed"));
    EXPECT_TRUE(texts.contains(" 1 device(s) out of 2 verified."));
    for (int i = 0; i < fixtures.size(); ++i) {
        EXPECT_EQ(fixtures[i]->FirmwareVersion(), legacy[i].versionAfter);
    }
    EXPECT_EQ(fixtures[0]->Flash(4), FirmwareCatalogue::Padded(image));
}

}  // namespace
