#include "comm/CommManager.h"
#include "hardware/DriverRequests.h"
#include "hardware/PortLayer.h"
#include "hardware/WidgetManager.h"
#include "hardware/usbpro/UsbProPortLayer.h"
#include "os/Clock.h"
#include "rdm/RDMProtocol.h"
#include "rdm/devices/Device.h"
#include "sim/Rig.h"
#include "sim/SimulatedPortLayer.h"
#include "sim/UsbProServer.h"
#include "support/RecordingFeedback.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The UIDs an RDM discovery finds on the ports, through the layer installed now.
QList<quint64> DiscoverPorts(int ports) {
    CommManager comm;
    CommManager* previous = CommManager::Install(&comm);
    RDMProtocol protocol;
    RecordingFeedback feedback;
    QList<Device*> found;
    for (int port = 0; port < ports; ++port) {
        protocol.Discover(quint16(port), found, &feedback, DiscoverySearch::Fast);
    }
    QList<quint64> uids;
    for (Device* device : found) {
        uids.append(device->GetUid());
    }
    qDeleteAll(found);
    CommManager::Install(previous);
    std::sort(uids.begin(), uids.end());
    return uids;
}

}  // namespace

// The interface carries the fixtures of every port of the rig's widget on its one line.
TEST(UsbProDiscoveryTest, FindsTheStageRigsFixturesLikeTheSimulatedLayer) {
    Os::ScopedVirtualClock clock;
    QString error;
    const std::optional<Sim::Rig> rig =
        Sim::Rig::Load(QDir(RIGS_DIR).filePath("stage.json"), &error);
    ASSERT_TRUE(rig) << error.toStdString();

    auto simulated = std::make_unique<Sim::SimulatedPortLayer>();
    rig->PlugInto(*simulated);
    Hardware::PortLayer::Install(std::move(simulated));
    const QList<quint64> expected = DiscoverPorts(Hardware::DriverRequests::kMaxPorts);
    Hardware::WidgetManager::Shutdown();
    ASSERT_EQ(expected.size(), 6);

    QTemporaryDir dir;
    Sim::UsbProServer server(rig->widgets.first().AsUsbProInterface(), dir.filePath("usbpro"));
    ASSERT_TRUE(server.Start(&error)) << error.toStdString();
    Hardware::PortLayer::Install(std::make_unique<Hardware::UsbProPortLayer>(server.LinkPath()));
    EXPECT_EQ(DiscoverPorts(1), expected);
    Hardware::WidgetManager::Shutdown();
    Hardware::PortLayer::Install(nullptr);
}
