#include "LumoRigTest.h"

#include "lumo/devices/LumoFamily.h"
#include "lumo/tree/LumoRDMContentRoot.h"
#include "rdm/UniqueIdGenerator.h"

#include <QEventLoop>
#include <QSettings>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class LumoDeviceTest : public LumoRigTest {
protected:
    LumoDeviceTest() { LumoFamily::RegisterAll(); }

    QList<Device*> Discover() {
        QList<Device*> found;
        m_protocol.Discover(0, found, &m_feedback, DiscoverySearch::Fast);
        return found;
    }

    static QString Row(const QStandardItemModel& model, const QString& label) {
        for (int row = 0; row < model.rowCount(); ++row) {
            if (model.item(row, 0)->text() == label) {
                return model.item(row, 1)->text();
            }
        }
        return "(none)";
    }
};

TEST_F(LumoDeviceTest, DiscoveryMakesFamilyObjectsOnlyForAnExactModelName) {
    AddLumo("solvi", 0x435600000011ULL);
    AddLumo("MARQA", 0x435600000012ULL);
    Sim::RdmResponderConfig studio = Fixture(0x435600000013ULL);
    studio.modelDescription = "studio";
    AddResponder(studio);
    // Says it is one of the family but knows none of the family's parameters.
    Sim::RdmResponderConfig pretender = Fixture(0x435600000014ULL);
    pretender.modelDescription = "Marqa";
    AddResponder(pretender);

    std::map<quint64, QString> classes;
    for (Device* device : Discover()) {
        classes[device->GetUid()] = device->metaObject()->className();
        delete device;
    }
    EXPECT_EQ(classes, (std::map<quint64, QString>{{0x435600000011ULL, "SolviRDM"},
                                                   {0x435600000012ULL, "MarqaRDM"},
                                                   {0x435600000013ULL, "RDMDevice"},
                                                   {0x435600000014ULL, "RDMDevice"}}));
    EXPECT_TRUE(
        m_feedback.Texts().contains("Cannot instantiate Marqa because cannot get the FPGA "
                                    "version or the GE unique Id"));
}

TEST_F(LumoDeviceTest, FixturesWithoutIdentitiesGetNewOnesOnAFactoryMachine) {
    QTemporaryDir dir;
    QFile ids(dir.filePath("marqa.id"));
    ASSERT_TRUE(ids.open(QIODevice::WriteOnly));
    ids.write("500\n");
    ids.close();
    const auto setting = [](const QString& key, const QVariant& value) {
        QSettings settings(QSettings::SystemScope, "Corvane", "Aurel");
        value.isNull() ? settings.remove(key) : settings.setValue(key, value);
    };
    setting("UniqueIdGenerator/MARQA", ids.fileName());
    Sim::LumoFixtureConfig unset;
    unset.graphicsUniqueId = 2;
    auto fixture = AddLumo("MARQA", 0x435600000001ULL, unset);

    // Without the factory key nothing changes, and a warning names the file and the setting
    // that names it; the fixture is found and read all the same.
    QList<Device*> found = Discover();
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0]->GetUid(), 0x435600000001ULL);
    EXPECT_EQ(qobject_cast<LumoRDM*>(found[0])->GetGraphicsUniqueId(), 2u);  // read, kept
    const QString warning =
        "Warning: Could not read the unique id file: the unique id file " + ids.fileName() +
        " is only used on a factory machine, and " +
        QSettings(QSettings::SystemScope, "Corvane", "Aurel").fileName() +
        " holds no factory key under \"UniqueIdGenerator/key\". The fixture keeps the ids it has.";
    int warnings = 0;
    for (const RecordingFeedback::Line& line : m_feedback.Lines()) {
        EXPECT_LT(line.status, FeedbackStatusError) << line.text.toStdString();
        warnings += line.text == warning && line.status == FeedbackStatusWarning;
    }
    EXPECT_EQ(warnings, 2);  // the graphics engine's id and the motion id
    qDeleteAll(found);

    setting("UniqueIdGenerator/key", QString::number(UniqueIdGenerator::kFactoryKey));
    m_feedback.Clear();
    found = Discover();
    setting("UniqueIdGenerator", {});
    ASSERT_EQ(found.size(), 1);
    std::unique_ptr<Device> device(found[0]);
    EXPECT_TRUE(
        m_feedback.Texts().contains("Attempting to assign the graphics engine a new unique Id."));
    EXPECT_TRUE(m_feedback.Texts().contains("Attempting to assign motion a new unique ID."));
    EXPECT_EQ(fixture->GraphicsUniqueId(), 500u);
    EXPECT_EQ(fixture->MotionUniqueId(), 501u);
    EXPECT_EQ(device->GetUid(), 0x4356000001F5ULL);
    EXPECT_EQ(qobject_cast<LumoRDM*>(device.get())->GetGraphicsUniqueId(), 500u);
}

TEST_F(LumoDeviceTest, AFixtureShowsItsVersionsQuorelAddressAndContentCounts) {
    Sim::LumoFixtureConfig config;
    config.graphicsUniqueId = 0xA10001;
    config.graphicsVersion = "2.3.0.11";
    config.fpgaVersion = 7;
    config.quorelAddress = 12;
    // More items than the fixture holds: the remaining count stops at 0.
    const QByteArray image = Image<MarqaRDMImage>(1).ToBytes();
    Sim::LumoStoredFolder user{41, "User", {}};
    Sim::LumoStoredFolder more{42, "More", {}};
    Sim::LumoStoredFolder quorel{251, "Quorel", {}};
    for (int file = 1; file <= 200; ++file) {
        (file <= 100 ? user : more)
            .files.append({quint8(file <= 100 ? file : file - 100), quint32(file), "Item", image});
    }
    for (int file = 1; file <= 60; ++file) {
        quorel.files.append({quint8(file), quint32(1000 + file), "Part", image});
    }
    config.folders = {user, more, quorel};
    AddLumo("MARQA", kMarqaUid, config);

    const QList<Device*> found = Discover();
    ASSERT_EQ(found.size(), 1);
    std::unique_ptr<MarqaRDM> device(qobject_cast<MarqaRDM*>(found[0]));
    ASSERT_TRUE(device);
    EXPECT_EQ(device->GetSoftwareVersion(), "Motion 1.0.0, Graphics 2.3.0.11, FPGA 7");
    QStandardItemModel table;
    device->FillProperties(&table);
    EXPECT_EQ(Row(table, "User Content Remaining"), "255");  // nothing read yet
    EXPECT_EQ(Row(table, "Quorel Address"), "12");
    EXPECT_EQ(Row(table, "GE Unique Id"), "0xa10001");

    device->GetContentRoot();
    ASSERT_TRUE(QTest::qWaitFor([&] { return device->CountQuorelContent() == 60; }, 20000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return device->CountUserContent() == 200; }, 20000));
    device->FillProperties(&table);
    EXPECT_EQ(Row(table, "User Content Remaining"), "0");
    EXPECT_EQ(Row(table, "User Content Used"), "200");
    EXPECT_EQ(Row(table, "Quorel Content Used"), "60");
}

TEST_F(LumoDeviceTest, FirmwareFoldersTellTheirPackageVersion) {
    QTemporaryDir folder;
    const auto write = [&](const QByteArray& text) {
        QFile file(folder.filePath("Marqa_config.xml"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    MarqaRDM device(kMarqaUid);
    EXPECT_EQ(device.GetFirmwarePackageVersion(folder.path()), "(Error opening file)");
    write(
        "<firmware><motion version=\"1.2.3\"/><graphics version=\"2.0.0.1\"/>"
        "<fpga version=\"9\"/></firmware>");
    EXPECT_EQ(device.GetFirmwarePackageVersion(folder.path()), "(Error parsing file)");
    write(
        "<firmware><motion version=\"1.2.3.4\"/><other/><graphics version=\"2.0.0.1\"/>"
        "<fpga version=\"9\"/></firmware>");
    EXPECT_EQ(device.GetFirmwarePackageVersion(folder.path()),
              "Motion 1.2.3.4, Graphics 2.0.0.1, FPGA 9");
    std::array<quint32, 4> motion{};
    EXPECT_TRUE(device.ReadMotionVersion(folder.path(), &motion));
    EXPECT_EQ(motion, (std::array<quint32, 4>{1, 2, 3, 4}));
    EXPECT_EQ(device.GetFirmwarePackagePattern(), "marqa*.crvpkg");
    EXPECT_EQ(SolviRDM(kSolviUid).GetFirmwarePackagePattern(), "solvi*.crvpkg");
}

}  // namespace
