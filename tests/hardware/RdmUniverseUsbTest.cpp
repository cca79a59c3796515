#include "hardware/RdmUniverseUsb.h"
#include "sim/LineTime.h"
#include "support/LogCapture.h"
#include "support/MirrorResponder.h"
#include "support/SimulatedRig.h"

#include <cerrno>

using namespace Hardware::DriverRequests;

namespace {

int Writes(const Sim::SimWidget& widget) {
    int writes = 0;
    for (const auto& exchange : widget.Traffic()) {
        writes += exchange.kind == Sim::SimWidget::kWrite ? 1 : 0;
    }
    return writes;
}

}  // namespace

class RdmUniverseUsbTest : public SimulatedRigTest {};

TEST_F(RdmUniverseUsbTest, WithoutWidgetEverythingFailsQuietly) {
    LogCapture log;
    RdmUniverseUsb universe;
    const quint8 request[2] = {0xCC, 0x01};
    quint8 reply[512];
    quint8 major = 9;
    quint8 minor = 9;
    EXPECT_FALSE(universe.HasWidget());
    EXPECT_EQ(universe.GetPortCount(), 0);
    EXPECT_FALSE(universe.SendRdm(0, 512, request, 2));
    EXPECT_EQ(universe.ReceiveRdm(0, 1000, reply, sizeof reply), 0u);
    universe.SendDmx(request, 2);
    universe.PreparePortForRdm(0);
    universe.GetWidgetVersion(&major, &minor);
    EXPECT_EQ(major, 0);
    EXPECT_EQ(minor, 0);
    EXPECT_TRUE(log.Matching("Device Fail").isEmpty());
}

TEST_F(RdmUniverseUsbTest, OpensPresentWidgetWithEveryPortInDmxMode) {
    const auto sim = layer().Plug(Config("w", 17));
    RdmUniverseUsb universe;
    ASSERT_TRUE(universe.HasWidget());
    EXPECT_EQ(universe.GetPortCount(), 4);
    EXPECT_EQ(sim->PortModeBlock(), QByteArray::fromHex("000101010100000000"));
    EXPECT_EQ(universe.CurrentWidget()->TriggerPort(), 3);
    quint8 major = 0;
    quint8 minor = 0;
    universe.GetWidgetVersion(&major, &minor);
    EXPECT_EQ(major, 2);
    EXPECT_EQ(minor, 7);

    universe.PreparePortForRdm(1);
    universe.PreparePortForRdm(4);  // out of range: no request
    EXPECT_EQ(sim->PortModeBlock(), QByteArray::fromHex("000103010100000000"));
}

TEST_F(RdmUniverseUsbTest, RdmExchangeReachesTheResponderAndTakesLineTime) {
    const auto sim = layer().Plug(Config("w", 26));
    auto responder = std::make_shared<MirrorResponder>();
    sim->AttachResponder(6, responder);
    RdmUniverseUsb universe;
    sim->ClearTraffic();

    const QByteArray request = QByteArray::fromHex("cc0118");
    const qint64 before = clock().NowMicros();
    ASSERT_TRUE(universe.SendRdm(6, 512, reinterpret_cast<const quint8*>(request.constData()), 3));
    EXPECT_EQ(clock().NowMicros() - before, Sim::LineTime::RdmExchange(request, "abc"));
    quint8 reply[512];
    ASSERT_EQ(universe.ReceiveRdm(6, 1000, reply, sizeof reply), 3u);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(reply), 3), QByteArray::fromHex("1801cc"));
    EXPECT_EQ(universe.ReceiveRdm(6, 1000, reply, sizeof reply), 0u);  // handed out once

    const size_t before8 = sim->Traffic().size();
    EXPECT_FALSE(universe.SendRdm(8, 512, reply, 3));  // port == port count: no I/O
    EXPECT_EQ(universe.ReceiveRdm(8, 1000, reply, sizeof reply), 0u);
    EXPECT_EQ(sim->Traffic().size(), before8);
    EXPECT_EQ(responder->requests, 1);
}

TEST_F(RdmUniverseUsbTest, SendDmxKeepsTheFrameTailAndSendsTheWholeFrameOnEveryPort) {
    const auto sim = layer().Plug(Config("w", 17));
    RdmUniverseUsb universe;
    sim->ClearTraffic();
    const QByteArray first(512, '\x07');
    universe.SendDmx(reinterpret_cast<const quint8*>(first.constData()), 512);
    const QByteArray ten(10, '\x01');
    universe.SendDmx(reinterpret_cast<const quint8*>(ten.constData()), 10);

    const QByteArray expected = ten + QByteArray(502, '\x07');
    EXPECT_EQ(universe.DmxFrame(), expected);
    EXPECT_EQ(Writes(*sim), 2);  // one write per frame, on the last port
    for (int port = 0; port < 4; ++port) {
        EXPECT_EQ(sim->Frame(port), expected);
    }
}

TEST_F(RdmUniverseUsbTest, FollowsHotPlugAndIgnoresASecondWidget) {
    RdmUniverseUsb universe;
    EXPECT_FALSE(universe.HasWidget());
    layer().Plug(Config("first", 17));
    ASSERT_TRUE(universe.HasWidget());
    const QString firstPath = universe.CurrentWidget()->Device().path;

    layer().Plug(Config("second", 26, SecondUniverseClass()));
    EXPECT_EQ(universe.CurrentWidget()->Device().path, firstPath);
    layer().Unplug("second");
    ASSERT_TRUE(universe.HasWidget());
    EXPECT_EQ(universe.GetPortCount(), 4);

    layer().Unplug("first");
    EXPECT_FALSE(universe.HasWidget());

    // Plugged in again, the widget gets a new handle and a fresh object that works.
    const auto again = layer().Plug(Config("first", 17));
    ASSERT_TRUE(universe.HasWidget());
    const quint8 request[1] = {0xCC};
    EXPECT_TRUE(universe.SendRdm(0, 512, request, 1));
}

TEST_F(RdmUniverseUsbTest, FailedReceiveClosesTheWidgetUntilItArrivesAgain) {
    const auto sim = layer().Plug(Config("w", 26));
    RdmUniverseUsb universe;
    LogCapture log;
    sim->FailNextRequests(EIO);
    quint8 reply[512];
    EXPECT_EQ(universe.ReceiveRdm(0, 1000, reply, sizeof reply), 0u);
    EXPECT_FALSE(universe.HasWidget());
    EXPECT_EQ(log.Matching("Device Fail").size(), 1);
    const quint8 request[1] = {0xCC};
    EXPECT_FALSE(universe.SendRdm(0, 512, request, 1));  // stays closed
}

TEST_F(RdmUniverseUsbTest, FailedDmxWriteClosesTheWidget) {
    const auto sim = layer().Plug(Config("w", 26));
    RdmUniverseUsb universe;
    sim->FailNextRequests(EIO);
    const quint8 data[1] = {0xFF};
    universe.SendDmx(data, 1);
    EXPECT_FALSE(universe.HasWidget());
}

TEST_F(RdmUniverseUsbTest, UnplugWhileACallHoldsTheWidgetDoesNotFreeIt) {
    layer().Plug(Config("w", 26));
    RdmUniverseUsb universe;
    zub::counted_ref<RdmUniverseUsb::Widget> held = universe.CurrentWidget();
    ASSERT_TRUE(held);
    layer().Unplug("w");
    EXPECT_FALSE(universe.HasWidget());
    // The object is still alive for the running call; its I/O now fails cleanly.
    EXPECT_GE(held->RefCount(), 1);
    EXPECT_EQ(held->GetPortCount(), 8);
    const quint8 request[1] = {0xCC};
    EXPECT_FALSE(held->SendRdm(0, 512, request, 1));
}

TEST_F(RdmUniverseUsbTest, WidgetWithUnknownProductIsNotOpened) {
    layer().Plug(Config("odd", 99));
    layer().Plug(Config("good", 2, SecondUniverseClass()));
    RdmUniverseUsb universe;
    ASSERT_TRUE(universe.HasWidget());
    EXPECT_TRUE(universe.CurrentWidget()->Device().path.endsWith("/good"));
    EXPECT_EQ(universe.GetPortCount(), 1);
}
