#include "hardware/InterfaceClasses.h"
#include "sim/Rig.h"
#include "sim/SimulatedPortLayer.h"

#include <gtest/gtest.h>

TEST(RigTest, ReadsWidgetsWithDefaults) {
    QString error;
    const auto rig = Sim::Rig::Parse(R"({"widgets": [
        {"name": "a", "productCode": 17, "firmware": "4.12"},
        {"name": "b-2", "productCode": 2,
         "interfaceClass": "d98a7a23-98bd-48c1-a651-cf054d42db0a"}]})",
                                     &error);
    ASSERT_TRUE(rig) << error.toStdString();
    ASSERT_EQ(rig->widgets.size(), 2);
    EXPECT_EQ(rig->widgets[0].config.name, "a");
    EXPECT_EQ(rig->widgets[0].config.productCode, 17);
    EXPECT_EQ(rig->widgets[0].config.firmwareMajor, 4);
    EXPECT_EQ(rig->widgets[0].config.firmwareMinor, 12);
    EXPECT_EQ(rig->widgets[0].config.interfaceClass, Hardware::InterfaceClasses::All()[2]);
    EXPECT_EQ(rig->widgets[1].config.firmwareMajor, 1);
    EXPECT_EQ(rig->widgets[1].config.interfaceClass, Hardware::InterfaceClasses::All()[9]);

    Sim::SimulatedPortLayer layer;
    rig->PlugInto(layer);
    EXPECT_EQ(layer.Enumerate(Hardware::InterfaceClasses::All()[2]).size(), 1);
    EXPECT_TRUE(layer.Widget("b-2"));
}

TEST(RigTest, RejectsBadRigsWithAClearMessage) {
    const std::pair<const char*, const char*> cases[] = {
        {"{", "not valid JSON at offset"},
        {"[]", "expected an object with a \"widgets\" array"},
        {R"({"widgets": [7]})", "widget 1: not an object"},
        {R"({"widgets": [{"name": "a/b", "productCode": 2}]})", "widget 1: \"name\" must be"},
        {R"({"widgets": [{"name": "a"}]})", "widget 1: \"productCode\" must be"},
        {R"({"widgets": [{"name": "a", "productCode": 70000}]})", "\"productCode\" must be"},
        {R"({"widgets": [{"name": "a", "productCode": 2.5}]})", "\"productCode\" must be"},
        {R"({"widgets": [{"name": "a", "productCode": 2, "firmware": "1.256"}]})",
         "\"firmware\" must be"},
        {R"({"widgets": [{"name": "a", "productCode": 2, "interfaceClass": "x"}]})",
         "\"interfaceClass\" is not a widget interface class"},
        {R"({"widgets": [{"name": "a", "productCode": 2, "port": 1}]})",
         "widget 1: unknown field \"port\""},
        {R"({"widgets": [{"name": "a", "productCode": 2}, {"name": "a", "productCode": 2}]})",
         "widget 2: the name \"a\" is used twice"},
        {R"({"widgets": [{"name": "a", "productCode": 2, "fixtures": [
            {"port": 0, "type": "rdm", "uid": "4a41:00000101"}]}, {"name": "b", "productCode": 2,
            "fixtures": [{"port": 0, "type": "orx", "id": "0x0001"}, {"port": 0, "type": "marqa", "uid":
            "4a41:00000101"}]}]})",
         "widget 2 fixture 2: the id 4a41:00000101 is used twice (widget 1 fixture 1 has it)"},
    };
    for (const auto& [json, message] : cases) {
        QString error;
        EXPECT_FALSE(Sim::Rig::Parse(json, &error)) << json;
        EXPECT_TRUE(error.startsWith(message) || error.contains(message))
            << json << " -> " << error.toStdString();
    }
    QString error;
    EXPECT_FALSE(Sim::Rig::Load("/nonexistent/rig.json", &error));
    EXPECT_TRUE(error.startsWith("cannot read rig file /nonexistent/rig.json"));
    // Endless files are refused at a bound instead of read until memory runs out.
    EXPECT_FALSE(Sim::Rig::Load("/dev/zero", &error));
    EXPECT_TRUE(error.contains("more than the")) << error.toStdString();
    EXPECT_FALSE(
        Sim::Rig::Parse(R"({"widgets": [{"name": "a", "productCode": 26, "fixtures": [{"port": 0,
        "type": "marqa", "uid": "4356:0000a001", "folders": [{"number": 41,
        "files": [{"file": 1, "image": "/dev/zero"}]}]}]}]})",
                        &error));
    EXPECT_TRUE(error.contains("more than the")) << error.toStdString();
}

TEST(RigTest, DemoRigHasWidgetsOfBothUniverseClasses) {
    const Sim::Rig demo = Sim::Rig::Demo();
    ASSERT_EQ(demo.widgets.size(), 2);
    EXPECT_NE(demo.widgets[0].config.interfaceClass, demo.widgets[1].config.interfaceClass);
}
