#include "rdm/SettableParameter.h"
#include "rdm/devices/RDMDevice.h"
#include "support/RdmRig.h"

#include <memory>

namespace {

Sim::RdmResponderConfig TwoPersonalities(Sim::RdmResponderConfig config) {
    config.deviceLabel = "Wash 1";
    config.personalities = {{14, "Standard 14ch"}, {20, "Extended 20ch"}};
    config.displayLevel = 255;
    return config;
}

QStringList Errors(const RecordingFeedback& feedback) {
    QStringList errors;
    for (const RecordingFeedback::Line& line : feedback.Lines()) {
        if (line.status >= FeedbackStatusError) {
            errors.append(line.text);
        }
    }
    return errors;
}

}  // namespace

class SetParameterTest : public RdmRigTest {
protected:
    // Finds the fixtures on port 0 afresh and reads them as discovery does.
    std::unique_ptr<RDMDevice> Rediscover() {
        QList<Device*> found;
        m_protocol.Discover(0, found, &m_feedback, DiscoverySearch::Thorough);
        EXPECT_EQ(found.size(), 1);
        std::unique_ptr<RDMDevice> device(qobject_cast<RDMDevice*>(found.value(0)));
        return device;
    }

    // Encodes the typed value against the device and sets it.
    bool Set(RDMDevice* device, const char* name, const QString& typed) {
        const SettableParameter* parameter = SettableParameter::Find(QString(name));
        QByteArray data;
        EXPECT_EQ(parameter->Encode(typed, *device, &data), QString());
        return m_protocol.SetParameter(device, *parameter, data, &m_feedback);
    }
};

TEST_F(SetParameterTest, SetValuesAreKeptByTheFixtureAndReadBackAfterRediscovery) {
    AddResponder(TwoPersonalities(Fixture()));
    std::unique_ptr<RDMDevice> device = Rediscover();
    ASSERT_TRUE(device);
    EXPECT_EQ(device->GetPersonalities().size(), 2);  // all offered, with their footprints

    ASSERT_TRUE(Set(device.get(), "label", "Wash SR"));
    ASSERT_TRUE(Set(device.get(), "personality", "2"));
    ASSERT_TRUE(Set(device.get(), "display-level", "40%"));
    // The device shows at once what the fixture answered, footprint of the new mode included.
    EXPECT_EQ(device->GetDeviceLabel(), "Wash SR");
    EXPECT_EQ(device->GetDmxFootprint(), 20);
    EXPECT_EQ(device->ParameterText(Rdm::DisplayLevel), "40%");

    std::unique_ptr<RDMDevice> again = Rediscover();
    ASSERT_TRUE(again);
    EXPECT_EQ(again->GetDeviceLabel(), "Wash SR");
    EXPECT_EQ(again->GetPersonality(), 2);
    EXPECT_EQ(again->GetDmxFootprint(), 20);
    EXPECT_EQ(again->GetPersonalityDescription(), "Extended 20ch");
    EXPECT_EQ(again->GetDisplayLevel(), 102);
    EXPECT_EQ(again->ParameterText(Rdm::DisplayLevel), "40%");
    EXPECT_TRUE(Errors(m_feedback).isEmpty()) << m_feedback.Texts().join('\n').toStdString();
}

TEST_F(SetParameterTest, ANackLeavesTheValueAndNamesTheReason) {
    struct Case {
        const char* name;
        QByteArray data;
        std::function<void(Sim::RdmResponderConfig&)> setUp;
        QString message;
    };
    const Case cases[] = {
        {"label", "Wash SR", [](auto& c) { c.writeProtected = {Rdm::DeviceLabel}; },
         " Device 0x4a4100000101 Failed Setting Device Label: Nack Error 4!"},
        {"personality", QByteArray(1, 3), [](auto&) {},
         " Device 0x4a4100000101 Failed Setting Dmx Personality: Nack Error 6!"},
        {"display-invert", QByteArray(1, 7), [](auto&) {},
         " Device 0x4a4100000101 Failed Setting Display Invert: Nack Error 6!"},
        {"pan-invert", QByteArray(1, 1), [](auto& c) { c.supportedParameters = {0x0082}; },
         " Device 0x4a4100000101 Failed Setting Pan Invert: Nack Error 0!"},
        {"label", QByteArray(33, 'x'), [](auto&) {},
         " Device 0x4a4100000101 Failed Setting Device Label: Nack Error 1!"},
    };
    for (const Case& c : cases) {
        Sim::RdmResponderConfig config = TwoPersonalities(Fixture());
        c.setUp(config);
        std::shared_ptr<Sim::SimRdmResponder> responder = AddResponder(config);
        std::unique_ptr<RDMDevice> device = Rediscover();
        ASSERT_TRUE(device);
        const SettableParameter& parameter = *SettableParameter::Find(QString(c.name));
        const QString before = parameter.Current(*device);
        m_feedback.Clear();

        EXPECT_FALSE(m_protocol.SetParameter(device.get(), parameter, c.data, &m_feedback));
        EXPECT_EQ(parameter.Current(*device), before) << c.name;
        EXPECT_EQ(Errors(m_feedback), QStringList{c.message});
        EXPECT_EQ(responder->State().deviceLabel, "Wash 1");
        m_widget->DetachResponders(0);
    }
}

TEST(SettableParameterTest, TypedValuesBecomeTheBytesOnTheLine) {
    RDMDevice device(1);
    device.SetPersonalityCount(3);
    const std::tuple<const char*, QString, QByteArray> good[] = {
        {"label", "Wash SR", "Wash SR"},
        {"label", "", ""},
        {"display-level", "40%", QByteArray(1, char(102))},
        {"display-level", "100", QByteArray(1, char(255))},
        {"pan-invert", "on", QByteArray(1, 1)},
        {"pan-invert", "No", QByteArray(1, 0)},
        {"display-invert", "AUTO", QByteArray(1, 2)},
        {"lamp-on-mode", "dmx", QByteArray(1, 1)},
        {"power-state", "255", QByteArray(1, char(255))},
        {"personality", "3", QByteArray(1, 3)},
        {"reset", "cold", QByteArray(1, char(0xFF))},
    };
    for (const auto& [name, typed, bytes] : good) {
        QByteArray data = "unchanged";
        EXPECT_EQ(SettableParameter::Find(QString(name))->Encode(typed, device, &data), QString())
            << name << " " << typed.toStdString();
        EXPECT_EQ(data, bytes) << name << " " << typed.toStdString();
    }
    const std::pair<const char*, QString> bad[] = {
        {"label", QString(33, 'x')},
        {"label", QString::fromUtf8("Wäsh \u2603")},
        {"display-level", "101%"},
        {"display-level", "bright"},
        {"pan-invert", "maybe"},
        {"personality", "4"},
        {"personality", "0"},
        {"power-state", "3"},
        {"reset", "now"},
    };
    for (const auto& [name, typed] : bad) {
        QByteArray data;
        EXPECT_NE(SettableParameter::Find(QString(name))->Encode(typed, device, &data), QString())
            << name << " " << typed.toStdString();
    }
}
