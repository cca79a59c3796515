#include "orx/ORXDevice.h"
#include "orx/ORXProtocol.h"
#include "orx/OrxDefs.h"
#include "sim/SimOrxFixture.h"
#include "support/RdmRig.h"

#include <QStandardItemModel>
#include <QTemporaryDir>

namespace {

// Answers every talk-back frame with twelve bytes that do not add up.
class GarbledFixture : public Sim::RdmResponder {
public:
    QByteArray HandleRdm(const QByteArray& frame) override {
        return quint8(frame[0]) == Orx::kStartCode ? QByteArray(12, '\x26') : QByteArray();
    }
};

Sim::OrxFixtureConfig Legacy(quint32 id) {
    Sim::OrxFixtureConfig config;
    config.id = id;
    return config;
}

}  // namespace

class OrxProtocolTest : public RdmRigTest {
protected:
    ~OrxProtocolTest() override { qDeleteAll(m_found); }

    std::shared_ptr<Sim::SimOrxFixture> AddOrx(const Sim::OrxFixtureConfig& config, int port = 0) {
        auto fixture = std::make_shared<Sim::SimOrxFixture>(config);
        m_widget->AttachResponder(port, fixture);
        return fixture;
    }

    QList<ORXDevice*> DiscoverOn(quint16 port) {
        QList<Device*> found;
        m_orx.Discover(port, found, &m_feedback, DiscoverySearch::Fast);
        m_found.append(found);
        QList<ORXDevice*> devices;
        for (Device* device : found) {
            devices.append(qobject_cast<ORXDevice*>(device));
        }
        return devices;
    }

    ORXProtocol m_orx;
    QList<Device*> m_found;
};

TEST(OrxChecksumTest, RotatesAddsAndCarriesThree) {
    EXPECT_EQ(Orx::Checksum(QByteArray::fromHex("26")), 0x0029);
    EXPECT_EQ(Orx::Checksum(QByteArray::fromHex("2601")), 0x0056);
    EXPECT_EQ(ORXProtocol::QueryFrame(5, 0x01020304, 0x0506).toHex(), "260501020304050617b5");
    const QByteArray talkback = ORXProtocol::TalkbackFrame(0x30, 0x07, 0xAABBCCDD);
    EXPECT_EQ(talkback.size(), 17);
    EXPECT_EQ(talkback.left(15).toHex(), "26503007aabbccdd00000000020000");
}

TEST_F(OrxProtocolTest, FindsEveryFixtureAndReadsItsValues) {
    Sim::OrxFixtureConfig spot = Legacy(0x00A1B2C3);
    spot.dmxAddress = 101;
    spot.fixtureType = 4;
    spot.firmwareMajor = 3;
    spot.firmwareMinor = 12;
    spot.deviceHours = 5120;
    spot.footprint = 18;
    spot.fastMode = 1;
    AddOrx(spot);
    AddOrx(Legacy(0x00A1B2C4));
    AddOrx(Legacy(0x7F000001));
    AddResponder(Fixture());  // RDM fixtures on the same line take no notice
    const QList<ORXDevice*> devices = DiscoverOn(0);
    ASSERT_EQ(devices.size(), 3);
    // Higher ids are found first: the upper half of every range is searched first.
    EXPECT_EQ(devices[0]->GetOrxId(), 0x7F000001u);
    EXPECT_EQ(devices[1]->GetOrxId(), 0x00A1B2C4u);
    const ORXDevice* found = devices[2];
    EXPECT_EQ(found->GetOrxId(), 0x00A1B2C3u);
    EXPECT_EQ(found->GetDmxStartAddress(), 101);
    EXPECT_EQ(found->GetModelNumber(), 4);
    EXPECT_EQ(found->GetModelText(), "ORX Spot 575");
    EXPECT_EQ(found->GetSoftwareVersion(), "3.12");
    EXPECT_EQ(found->m_deviceHours, 5120u);
    EXPECT_EQ(found->m_footprint, 18);
    EXPECT_EQ(found->m_fastMode, 1);
    EXPECT_TRUE(found->GetFirmwareUploadFlag());
    EXPECT_EQ(found->GetFirmwarePacketSize(), 512);
    const QStringList texts = m_feedback.Texts();
    EXPECT_TRUE(texts.contains(" ORX Discovery: Device found 0xa1b2c3"));
    EXPECT_TRUE(texts.contains("ORX Discovery: Getting Dmx adress for 0xa1b2c3"));
    EXPECT_TRUE(texts.contains("ORX Discovery: Getting device hours for 0xa1b2c3"));
    EXPECT_TRUE(texts.filter("Warning").isEmpty())
        << texts.filter("Warning").join("\n").toStdString();
    EXPECT_EQ(texts.last(), " ORX Discovery: Finished!");

    QStandardItemModel model;
    found->FillProperties(&model);
    EXPECT_EQ(model.item(0, 1)->text(), "0xa1b2c3");
}

TEST_F(OrxProtocolTest, ReplyThatDoesNotAddUpCountsAsNoDevice) {
    m_widget->AttachResponder(0, std::make_shared<GarbledFixture>());
    EXPECT_EQ(m_orx.Query(0, Orx::kQueryPresence, 0, 0, 255), -1);
    EXPECT_TRUE(DiscoverOn(0).isEmpty());
}

TEST_F(OrxProtocolTest, FixtureThatWillNotExtinguishIsNotAdded) {
    Sim::OrxFixtureConfig stubborn = Legacy(0x42);
    stubborn.faults.neverExtinguish = true;
    AddOrx(stubborn);
    EXPECT_TRUE(DiscoverOn(0).isEmpty());
    EXPECT_TRUE(m_feedback.Texts().contains(" ORX Discovery: Device would not extinquish 0x42"));
}

TEST_F(OrxProtocolTest, WithoutWidgetNothingIsFound) {
    layer().Unplug("w");
    EXPECT_TRUE(DiscoverOn(0).isEmpty());
    EXPECT_EQ(m_feedback.Texts(),
              QStringList({"ORX Discovery: Starting..",
                           " ORX Discovery: No communication device detected"}));
}

TEST_F(OrxProtocolTest, UploadDropsALostFixtureAndVerifiesTheRest) {
    auto first = AddOrx(Legacy(0x11), 0);
    auto second = AddOrx(Legacy(0x22), 1);
    Sim::OrxFixtureConfig fragile = Legacy(0x33);
    fragile.faults.firmware.powerLossAfterPackets = 2;
    auto third = AddOrx(fragile, 1);
    QList<Device*> devices;
    for (quint16 port : {0, 1}) {
        m_orx.Discover(port, devices, nullptr, DiscoverySearch::Fast);
    }
    m_found.append(devices);
    ASSERT_EQ(devices.size(), 3);

    QTemporaryDir dir;
    QFile file(dir.filePath("spot.orx"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray image;
    for (int packet = 0; packet < 5; ++packet) {
        image += QByteArray(256, packet == 2 ? char(0xFF) : char(0x10 + packet));
    }
    image += "tail";  // a short last packet
    file.write(image);
    file.close();

    EXPECT_TRUE(m_orx.UploadFirmware(devices, file.fileName(), &m_feedback));
    const QStringList texts = m_feedback.Texts();
    EXPECT_TRUE(texts.contains(" Sending 6 data packets to fixtures"));
    EXPECT_EQ(texts.filter(" - Skipping packet").size(), 1);
    EXPECT_TRUE(texts.contains(" Error: Device 0x33 lost., 2 devices left in upload"));
    EXPECT_TRUE(texts.contains(" Device 0x11 verified"));
    EXPECT_TRUE(texts.contains(" Device 0x22 verified"));
    EXPECT_TRUE(texts.contains(" 2 device(s) out of 2 verified."));
    const QByteArray expected = image.leftJustified(6 * 256, char(0xFF));
    EXPECT_EQ(first->Flash(6), expected);
    EXPECT_EQ(second->Flash(6), expected);
}

TEST_F(OrxProtocolTest, UploadFailsWhenNoFixtureIsReady) {
    QList<Device*> devices = {new ORXDevice(0, 0x99)};  // nobody answers for it
    m_found.append(devices);
    QTemporaryDir dir;
    QFile file(dir.filePath("x.orx"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("abc");
    file.close();
    const qint64 start = clock().NowMs();
    EXPECT_FALSE(m_orx.UploadFirmware(devices, file.fileName(), &m_feedback));
    EXPECT_GE(clock().NowMs() - start, ORXProtocol::kEraseTimeoutMs);
    EXPECT_EQ(m_feedback.Texts().last(), " Error: No fixtures ready for code!");
}
