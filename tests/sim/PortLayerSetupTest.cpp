#include "sim/PortLayerSetup.h"

#include <gtest/gtest.h>

TEST(PortLayerSetupTest, UsbProTakesTheNextArgumentAsItsDeviceOnlyWhenItIsAPath) {
    const struct {
        QStringList given;
        QStringList parsed;
    } cases[] = {
        {{"aurelctl", "widgets", "--usbpro"}, {"aurelctl", "widgets", "--usbpro"}},
        {{"aurelctl", "--usbpro", "discover"}, {"aurelctl", "--usbpro", "discover"}},
        {{"aurelctl", "--usbpro", "--json"}, {"aurelctl", "--usbpro", "--json"}},
        {{"aurel", "--usbpro", "/dev/ttyUSB0"},
         {"aurel", "--usbpro", "--usbpro-device", "/dev/ttyUSB0"}},
        {{"aurel", "--usbpro=./pro", "x"}, {"aurel", "--usbpro", "--usbpro-device", "./pro", "x"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sim::SplitUsbProDevice(c.given), c.parsed) << c.given.join(' ').toStdString();
    }
}

TEST(PortLayerSetupTest, UsbProIsOneChoiceAmongTheOthers) {
    Sim::PortLayerChoice choice;
    choice.demo = true;
    choice.usbProDevice = "/dev/ttyUSB0";
    QString error;
    EXPECT_FALSE(Sim::InstallPortLayer(choice, &error));
    EXPECT_EQ(error, "choose one of --widget-dir, --rig, --demo and --usbpro");
}
