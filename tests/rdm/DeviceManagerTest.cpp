#include "comm/Command.h"
#include "rdm/devices/DeviceManager.h"
#include "rdm/devices/RDMDevice.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardItemModel>

#include <gtest/gtest.h>

namespace {

void DeleteLaterNow() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class NoopCommand : public Command {
public:
    bool Execute() override { return true; }
};

QStringList Rows(const QStandardItemModel& model) {
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        rows.append(model.item(row, 0)->text() + "=" + model.item(row, 1)->text());
    }
    return rows;
}

}  // namespace

TEST(DeviceManagerTest, RediscoveryReplacesByIdAndDropsTheMissing) {
    DeviceManager manager(nullptr);
    QStringList events;
    QObject::connect(&manager, &DeviceManager::DeviceAdded,
                     [&](Device* d) { events.append("added " + d->UidText()); });
    QObject::connect(&manager, &DeviceManager::DeviceRemoved,
                     [&](Device* d) { events.append("removed " + d->UidText()); });
    auto* first = new RDMDevice(0x2);
    auto* gone = new RDMDevice(0x1);
    manager.MergeDiscovery({first, gone});
    QPointer<Device> firstAlive(first);
    QPointer<Device> goneAlive(gone);

    auto* again = new RDMDevice(0x2);
    manager.MergeDiscovery({again});
    EXPECT_EQ(events,
              QStringList({"added 0x2", "added 0x1", "removed 0x2", "added 0x2", "removed 0x1"}));
    EXPECT_EQ(manager.Devices(), QList<Device*>({again}));
    EXPECT_EQ(manager.FindDevice(0x2), again);
    DeleteLaterNow();
    EXPECT_TRUE(firstAlive.isNull());
    EXPECT_TRUE(goneAlive.isNull());

    manager.MergeDiscovery({});  // a discovery that found nothing empties the registry
    EXPECT_TRUE(manager.Devices().isEmpty());
    EXPECT_EQ(events.last(), "removed 0x2");
}

TEST(DeviceManagerTest, RemovedDeviceInUseIsReleasedWhenItsLastUseEnds) {
    DeviceManager manager(nullptr);
    auto* device = new RDMDevice(0x7);
    manager.MergeDiscovery({device});
    QPointer<Device> alive(device);
    {
        DeviceUse use(device);
        manager.MergeDiscovery({});
        DeleteLaterNow();
        EXPECT_FALSE(alive.isNull());
        EXPECT_EQ(manager.RetiredCount(), 1);
    }
    DeleteLaterNow();
    EXPECT_TRUE(alive.isNull());
    EXPECT_EQ(manager.RetiredCount(), 0);
}

TEST(DeviceManagerTest, KeptCommandIsDeletedWhenItCompletes) {
    DeviceManager manager(nullptr);
    auto* command = new NoopCommand;
    QPointer<Command> alive(command);
    manager.KeepCommand(command);
    manager.OnCommandCompleted(QUuid::createUuid());  // someone else's command
    EXPECT_TRUE(manager.HasCommand(command->GetId()));
    manager.OnCommandCompleted(command->GetId());
    EXPECT_FALSE(manager.HasCommand(command->GetId()));
    DeleteLaterNow();
    EXPECT_TRUE(alive.isNull());
}

TEST(RDMDevicePropertiesTest, FixedRowsThenSupportedParametersInTheDevicesOrder) {
    RDMDevice device(0x4A4100000101ULL);
    QStandardItemModel model;
    device.FillProperties(&model);
    EXPECT_EQ(Rows(model),
              QStringList({"Unique ID=0x4a4100000101", "Identify=Off",
                           "Software Version=", "Sensors=0", "Dmx Start Address=0", "Channels=0"}));
    EXPECT_EQ(model.horizontalHeaderItem(0)->text(), "Parameter");
    EXPECT_EQ(model.horizontalHeaderItem(1)->text(), "Value");

    for (quint16 pid : {0x1010, 0x0501, 0x7FE0, 0x0403, 0x0600, 0x0080, 0x0404, 0x0500}) {
        device.AddSupportedParameter(pid);
    }
    device.SetIdentify(1);
    device.SetPowerState(255);
    device.SetDisplayLevel(80);
    device.SetLampState(9);
    device.SetPanInvert(1);
    device.SetModelDescription("  Spot  ");
    device.SetLampOnMode(5);
    device.SetDisplayInvert(2);
    device.FillProperties(&model);
    EXPECT_EQ(
        Rows(model).mid(1),
        QStringList({"Identify=On", "Software Version=", "Sensors=0", "Dmx Start Address=0",
                     "Channels=0", "Power State=NORMAL", "Display Level=31%", "Lamp State=CUSTOM",
                     "Pan Invert=Yes", "Model=Spot", "Lamp On Mode=N/A", "Display Invert=AUTO"}));
}

TEST(RDMDevicePropertiesTest, ValueTexts) {
    const std::tuple<QString (*)(quint32), quint32, const char*> cases[] = {
        {&RDMDevice::LampStateText, 0, "OFF"},       {&RDMDevice::LampStateText, 4, "NOT PRESENT"},
        {&RDMDevice::LampStateText, 127, "ERROR"},   {&RDMDevice::LampStateText, 5, "CUSTOM"},
        {&RDMDevice::LampOnModeText, 3, "ON HOME"},  {&RDMDevice::LampOnModeText, 128, "CUSTOM"},
        {&RDMDevice::LampOnModeText, 4, "N/A"},      {&RDMDevice::PowerStateText, 1, "SHUTDOWN"},
        {&RDMDevice::PowerStateText, 3, "N/A"},      {&RDMDevice::DisplayInvertText, 255, "NORMAL"},
        {&RDMDevice::DisplayLevelText, 255, "100%"}, {&RDMDevice::DisplayLevelText, 0, "0%"},
        {&RDMDevice::DisplayLevelText, 128, "50%"},
    };
    for (const auto& [text, value, expected] : cases) {
        EXPECT_EQ(text(value), expected) << value;
    }
}
