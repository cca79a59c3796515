#include "rdm/devices/RDMDevice.h"
#include "support/RdmRig.h"

#include <QSignalSpy>
#include <QtEndian>

class StandardParametersTest : public RdmRigTest {
protected:
    QList<quint16> PidsSent() const {
        QList<quint16> pids;
        for (const QByteArray& request : SentRequests()) {
            pids.append(qFromBigEndian<quint16>(request.constData() + 21));
        }
        return pids;
    }

    RDMDevice m_device{kFixtureUid};
};

TEST_F(StandardParametersTest, DeviceInfoIsDecodedIntoTheDevice) {
    Sim::RdmResponderConfig config = Fixture();
    config.modelId = 0x1234;
    config.productCategory = 0x0509;
    config.softwareVersionId = 0x01020304;
    config.startAddress = 301;
    config.sensorCount = 3;
    config.subDeviceCount = 2;
    config.personalities = {{14, "Standard"}, {20, "Extended 20ch"}};
    config.personality = 2;
    AddResponder(config);

    ASSERT_TRUE(m_protocol.GetDeviceInfo(&m_device, &m_feedback));
    EXPECT_EQ(m_device.GetModelNumber(), 0x1234);
    EXPECT_EQ(m_device.GetProductCategory(), 0x0509);
    EXPECT_EQ(m_device.GetSoftwareVersionId(), (std::array<quint32, 4>{1, 2, 3, 4}));
    EXPECT_EQ(m_device.GetDmxStartAddress(), 301);
    EXPECT_EQ(m_device.GetSensorCount(), 3);
    EXPECT_EQ(m_device.GetSubDeviceCount(), 2);
    EXPECT_EQ(m_device.GetPersonality(), 2);
    EXPECT_EQ(m_device.GetDmxFootprint(), 20);
    EXPECT_EQ(m_device.GetPersonalityDescription(), "Extended 20ch");
    EXPECT_EQ(PidsSent(), QList<quint16>({Rdm::DeviceInfo, Rdm::DmxPersonalityDescription}));
    EXPECT_EQ(SentRequests()[1].mid(23, 2), QByteArray::fromHex("0102"));  // asks for personality 2
}

TEST_F(StandardParametersTest, SupportedParametersArriveOverSeveralChunks) {
    Sim::RdmResponderConfig config = Fixture();
    config.supportedParameters = {0x0080, 0x0400, 0x0081, 0x1010, 0x0602};
    config.parametersPerReply = 2;
    AddResponder(config);
    ASSERT_TRUE(m_protocol.GetSupportedParameters(&m_device, &m_feedback));
    EXPECT_EQ(m_device.GetSupportedParameters(), config.supportedParameters);
    EXPECT_EQ(SentRequests().size(), 3u);
}

TEST_F(StandardParametersTest, UpdateReadsOnlyTheListedOptionalParameters) {
    Sim::RdmResponderConfig config = Fixture();
    config.supportedParameters = {0x0080, 0x0400, 0x7FE0};
    config.modelDescription = "  Wash 575 ";
    config.deviceHours = 4321;
    config.softwareVersionLabel = "2.4.1";
    AddResponder(config);
    EXPECT_TRUE(m_protocol.UpdateDeviceInformation({&m_device, nullptr}, &m_feedback));
    EXPECT_EQ(PidsSent(), QList<quint16>({Rdm::DeviceInfo, Rdm::DmxPersonalityDescription,
                                          Rdm::SoftwareVersionLabel, Rdm::DmxStartAddress,
                                          Rdm::IdentifyDevice, Rdm::SupportedParameters,
                                          Rdm::DeviceModelDescription, Rdm::DeviceHours}));
    EXPECT_EQ(m_device.GetModelDescription(), "Wash 575");
    EXPECT_EQ(m_device.GetDeviceHours(), 4321u);
    EXPECT_EQ(m_feedback.Texts(), QStringList({"\n Updating device information for 2 devices",
                                               " Software version is 2.4.1"}));
}

TEST_F(StandardParametersTest, TextsNeedNoTerminator) {
    Sim::RdmResponderConfig config = Fixture();
    config.deviceLabel = "Truss 3 left";  // 12 bytes on the wire, no terminator
    AddResponder(config);
    ASSERT_TRUE(m_protocol.GetDeviceLabel(&m_device, &m_feedback));
    EXPECT_EQ(m_device.GetDeviceLabel(), "Truss 3 left");
}

TEST_F(StandardParametersTest, NackIsReportedWithUidInHexAndReasonInDecimal) {
    AddResponder(Fixture());
    m_device.SetIdentify(0);
    EXPECT_FALSE(m_protocol.SetIdentify(&m_device, 7, &m_feedback));  // out of range
    EXPECT_EQ(m_device.GetIdentify(), 0);
    EXPECT_EQ(m_feedback.Texts(),
              QStringList({" Device 0x4a4100000101 Failed Setting Identify: Nack Error 6!"}));
    EXPECT_EQ(m_feedback.Lines()[0].status, FeedbackStatusError);
}

TEST_F(StandardParametersTest, SettersStoreOnlyWhatTheFixtureTook) {
    auto responder = AddResponder(Fixture());
    QSignalSpy addressChanged(&m_device, &Device::AddressChanged);
    ASSERT_TRUE(m_protocol.SetDmxStartAddress(&m_device, 257, &m_feedback));
    EXPECT_EQ(m_device.GetDmxStartAddress(), 257);
    EXPECT_EQ(responder->State().startAddress, 257);
    EXPECT_EQ(addressChanged.count(), 1);

    EXPECT_FALSE(m_protocol.SetDmxStartAddress(&m_device, 600, &m_feedback));
    EXPECT_EQ(m_device.GetDmxStartAddress(), 257);
    EXPECT_EQ(m_feedback.Texts().last(),
              " Device 0x4a4100000101 Failed Setting Dmx Start Address: Nack Error 6!");

    ASSERT_TRUE(m_protocol.SetIdentify(&m_device, 1, &m_feedback));
    EXPECT_TRUE(responder->State().identify);
    EXPECT_EQ(m_device.GetIdentify(), 1);
}

TEST_F(StandardParametersTest, SilentFixtureLeavesTheDeviceUnchanged) {
    m_device.SetDeviceLabel("kept");
    EXPECT_FALSE(m_protocol.GetDeviceLabel(&m_device, &m_feedback));
    EXPECT_EQ(m_device.GetDeviceLabel(), "kept");
    EXPECT_FALSE(m_protocol.GetSupportedParameters(&m_device, &m_feedback));
}

TEST_F(StandardParametersTest, EndlessOverflowIsCutOff) {
    Sim::RdmResponderConfig config = Fixture();
    config.parametersPerReply = 1;
    config.supportedParameters.clear();
    for (int pid = 0x8000; pid < 0x8000 + 400; ++pid) {
        config.supportedParameters.append(quint16(pid));
    }
    AddResponder(config);
    EXPECT_FALSE(m_protocol.GetSupportedParameters(&m_device, &m_feedback));
    EXPECT_EQ(SentRequests().size(), 251u);
    EXPECT_TRUE(m_feedback.Texts().last().endsWith("Too many overflow replies!"));
}
