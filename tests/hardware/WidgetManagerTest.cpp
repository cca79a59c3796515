#include "hardware/DriverRequests.h"
#include "hardware/WidgetManager.h"
#include "support/EventRecorder.h"
#include "support/LogCapture.h"
#include "support/SimulatedRig.h"

#include <cerrno>

using Hardware::WidgetManager;

namespace {

QStringList MapLines(const LogCapture& log) {
    QStringList lines;
    for (const QString& text : log.Texts()) {
        if (text.contains("widget map size") || text.contains("widget: path") ||
            text == "OnDeviceChange( )") {
            lines.append(text);
        }
    }
    return lines;
}

}  // namespace

class WidgetManagerTest : public SimulatedRigTest {};

TEST_F(WidgetManagerTest, PluggingInformsEveryListenerOnceWithMatchingMapSizes) {
    EventRecorder first(UniverseClass());
    EventRecorder second(UniverseClass());
    EventRecorder otherClass(SecondUniverseClass());
    LogCapture log;
    layer().Plug(Config("a"));

    const QString path = Sim::SimulatedPortLayer::PathOf(Config("a"));
    EXPECT_EQ(MapLines(log),
              QStringList({"OnDeviceChange( )", "Enter widget map size: 0",
                           "Inserting widget: path " + path, "Exit widget map size: 1"}));
    for (const EventRecorder* recorder : {&first, &second}) {
        ASSERT_EQ(recorder->Events().size(), 1u);
        EXPECT_EQ(recorder->Events()[0].code, WidgetManager::DeviceInserted);
        EXPECT_EQ(recorder->Events()[0].path, path);
        EXPECT_NE(recorder->Events()[0].handle, Hardware::PortLayer::kInvalidHandle);
    }
    EXPECT_TRUE(otherClass.Events().empty());
    EXPECT_EQ(WidgetManager::ListDevices(UniverseClass()).size(), 1);

    log.Clear();
    WidgetManager::EventDeviceChange();  // nothing changed
    EXPECT_EQ(MapLines(log), QStringList({"Enter widget map size: 1", "Exit widget map size: 1"}));
    EXPECT_EQ(first.Events().size(), 1u);
}

TEST_F(WidgetManagerTest, ArrivalsAreDeliveredBeforeRemovalsAndHandlesCloseFirst) {
    layer().Plug(Config("a"));
    EventRecorder recorder(UniverseClass());
    std::vector<int> statusDuringEvent;
    recorder.onEvent = [&](const Hardware::WidgetMapData& device, int) {
        // Handlers run outside the map lock: they may call back into the manager.
        WidgetManager::ListDevices(UniverseClass());
        statusDuringEvent.push_back(
            Hardware::PortLayer::Instance()
                .IoControl(device.handle, Hardware::DriverRequests::kDeviceInfo, {}, 16)
                .status);
    };
    layer().Unplug("a", false);
    layer().Plug(Config("b"), false);
    layer().Plug(Config("c"), false);
    WidgetManager::EventDeviceChange();

    const auto events = recorder.Events();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].code, WidgetManager::DeviceInserted);
    EXPECT_TRUE(events[0].path.endsWith("/b"));
    EXPECT_TRUE(events[1].path.endsWith("/c"));
    EXPECT_EQ(events[2].code, WidgetManager::DeviceRemoved);
    EXPECT_TRUE(events[2].path.endsWith("/a"));
    EXPECT_EQ(statusDuringEvent, (std::vector<int>{0, 0, EBADF}));  // a's handle is closed
    EXPECT_EQ(WidgetManager::ListDevices(UniverseClass()).size(), 2);
}

TEST_F(WidgetManagerTest, DeviceThatCannotBeOpenedIsLoggedAtEveryPassAndNeverAnnounced) {
    EventRecorder recorder(UniverseClass());
    layer().Plug(Config("locked"), false);
    layer().RefuseOpen("locked", true);
    LogCapture log;
    WidgetManager::EventDeviceChange();
    WidgetManager::EventDeviceChange();
    const QString cannot =
        "Cannot open widget: path " + Sim::SimulatedPortLayer::PathOf(Config("locked"));
    EXPECT_EQ(log.Matching("Cannot open widget").size(), 2);
    EXPECT_EQ(log.Matching("Cannot open widget").first(), cannot);
    EXPECT_EQ(log.Matching("Exit widget map size: 0").size(), 2);
    EXPECT_TRUE(recorder.Events().empty());

    layer().RefuseOpen("locked", false);
    WidgetManager::EventDeviceChange();
    EXPECT_EQ(recorder.Events().size(), 1u);
}

TEST_F(WidgetManagerTest, DeviceFailIsLoggedAndPassedOnWithoutRemovingTheDevice) {
    layer().Plug(Config("a"));
    EventRecorder recorder(UniverseClass());
    LogCapture log;
    const auto device = WidgetManager::ListDevices(UniverseClass()).first();
    WidgetManager::EventDeviceFail(device, EIO);
    EXPECT_EQ(log.Matching("Device Fail"),
              QStringList({"Device Fail : path " + device.path + " error : 5"}));
    ASSERT_EQ(recorder.Events().size(), 1u);
    EXPECT_EQ(recorder.Events()[0].code, WidgetManager::DeviceFailed);
    EXPECT_EQ(WidgetManager::ListDevices(UniverseClass()).size(), 1);
}
