#include "hardware/DriverRequests.h"
#include "hardware/InterfaceClasses.h"
#include "hardware/RdmUniverseUsb.h"
#include "hardware/WidgetManager.h"
#include "hardware/WidgetSummary.h"
#include "hardware/usbpro/UsbProInterface.h"
#include "hardware/usbpro/UsbProPortLayer.h"
#include "sim/UsbProServer.h"
#include "support/Eventually.h"
#include "support/LogCapture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

using namespace Hardware;
using Fault = Sim::UsbProServer::Fault;

namespace {

// Answers every request with its bytes in reverse order.
class ReversingResponder : public Sim::RdmResponder {
public:
    QByteArray HandleRdm(const QByteArray& request) override {
        QByteArray reply = request;
        std::reverse(reply.begin(), reply.end());
        return reply;
    }
};

const QByteArray kRequest = QByteArray::fromHex("cc0102030405");
const QByteArray kReply = QByteArray::fromHex("0504030201cc");

}  // namespace

class UsbProPortLayerTest : public ::testing::Test {
protected:
    UsbProPortLayerTest() : m_link(m_dir.filePath("usbpro")) {
        PortLayer::Install(std::make_unique<UsbProPortLayer>(m_link));
    }

    ~UsbProPortLayerTest() override {
        WidgetManager::Shutdown();
        PortLayer::Install(nullptr);
    }

    Sim::UsbProServer& Serve(Fault fault = Fault::None) {
        m_widget = std::make_shared<Sim::SimWidget>(Sim::WidgetConfig{
            "pro", UsbProPortLayer::InterfaceClass(), DriverRequests::kUsbProProductCode, 2, 4});
        m_widget->AttachResponder(0, std::make_shared<ReversingResponder>());
        m_server = std::make_unique<Sim::UsbProServer>(m_widget, m_link);
        m_server->SetFault(fault);
        QString error;
        EXPECT_TRUE(m_server->Start(&error)) << error.toStdString();
        return *m_server;
    }

    // One RDM request and its reply; "failed" when either step failed.
    static QByteArray Exchange(RdmUniverseUsb& universe, const QByteArray& request = kRequest) {
        if (!universe.SendRdm(0, 512, reinterpret_cast<const quint8*>(request.constData()),
                              quint32(request.size()))) {
            return "failed";
        }
        quint8 reply[512];
        const quint32 n = universe.ReceiveRdm(0, 1000, reply, sizeof reply);
        if (n == 0 && !universe.HasWidget()) {
            return "failed";
        }
        return QByteArray(reinterpret_cast<const char*>(reply), int(n));
    }

    QTemporaryDir m_dir;
    const QString m_link;
    std::shared_ptr<Sim::SimWidget> m_widget;
    std::unique_ptr<Sim::UsbProServer> m_server;
};

TEST_F(UsbProPortLayerTest, ListsTheInterfaceWithSerialNumberAndFirmware) {
    Serve();
    const QList<WidgetSummary> widgets = WidgetSummary::ListPresent();
    ASSERT_EQ(widgets.size(), 1);
    EXPECT_EQ(widgets[0].path, m_link);
    EXPECT_EQ(widgets[0].interfaceClass, UsbProPortLayer::InterfaceClass());
    EXPECT_EQ(widgets[0].productCode, DriverRequests::kUsbProProductCode);
    EXPECT_EQ(widgets[0].portCount, 1);
    EXPECT_EQ(widgets[0].firmwareMajor, 2);
    EXPECT_EQ(widgets[0].firmwareMinor, 4);
    EXPECT_EQ(widgets[0].SerialText(), "12345678");
}

TEST_F(UsbProPortLayerTest, CarriesRdmAndDmxThroughTheInterface) {
    Serve();
    RdmUniverseUsb universe;
    ASSERT_TRUE(universe.HasWidget());
    EXPECT_EQ(Exchange(universe), kReply);

    QByteArray branch(26, '\0');  // DISC_UNIQUE_BRANCH goes out as a discovery request
    branch[0] = char(0xCC);
    branch[20] = 0x10;
    branch[22] = 0x01;
    branch[25] = 0x7E;  // the checksum's low byte: the reply starts with it
    QByteArray reversed = branch;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(Exchange(universe, branch), reversed);

    m_widget->DetachResponders(0);  // nobody answers: the interface reports a timeout
    EXPECT_EQ(Exchange(universe), QByteArray());
    EXPECT_TRUE(universe.HasWidget());

    const QByteArray levels(512, '\x42');
    universe.SendDmx(reinterpret_cast<const quint8*>(levels.constData()), 512);
    EXPECT_TRUE(Eventually([&] { return m_widget->Frame(0) == levels; }));

    const auto handle = universe.CurrentWidget()->Device().handle;
    EXPECT_EQ(PortLayer::Instance().IoControl(handle, 0x12345678, {}, 16).status, EINVAL);
    const QByteArray otherPort = DriverRequests::RdmReceiveHeader(1, 512, 1000);
    EXPECT_EQ(
        PortLayer::Instance().IoControl(handle, DriverRequests::kRdmReceive, otherPort, 512).status,
        EINVAL);
}

TEST_F(UsbProPortLayerTest, FramingFaultsCostAtMostOneReply) {
    Sim::UsbProServer& server = Serve();
    RdmUniverseUsb universe;
    ASSERT_TRUE(universe.HasWidget());
    const struct {
        Fault fault;
        QByteArray first;  // the first reply after the fault; the second is always whole
        QString logged;
    } cases[] = {
        {Fault::SplitReplies, kReply, {}},
        {Fault::GarbageBetween, kReply, "skipped 3 byte(s) outside a message"},
        {Fault::OversizedNextReply, {}, "dropped a message of 700 bytes, more than the 600"},
    };
    for (const auto& c : cases) {
        LogCapture log;
        server.SetFault(c.fault);
        EXPECT_EQ(Exchange(universe), c.first) << int(c.fault);
        EXPECT_EQ(Exchange(universe), kReply) << int(c.fault);
        server.SetFault(Fault::None);
        if (!c.logged.isEmpty()) {
            EXPECT_FALSE(log.Matching(m_link + ": " + c.logged).isEmpty())
                << log.Texts().join('\n').toStdString();
        }
    }
    EXPECT_TRUE(universe.HasWidget());
}

TEST_F(UsbProPortLayerTest, InterfaceThatStopsAnsweringFailsTheRequestSoon) {
    Sim::UsbProServer& server = Serve();
    RdmUniverseUsb universe;
    ASSERT_TRUE(universe.HasWidget());
    LogCapture log;
    server.SetFault(Fault::Silent);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(Exchange(universe), "failed");
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(log.Matching("Device Fail"),
              QStringList(
                  {QStringLiteral("Device Fail : path %1 error : %2").arg(m_link).arg(ETIMEDOUT)}));
}

TEST_F(UsbProPortLayerTest, UnplugMidRequestFailsItAndTheWidgetGoes) {
    Sim::UsbProServer& server = Serve();
    RdmUniverseUsb universe;
    ASSERT_TRUE(universe.HasWidget());
    LogCapture log;
    server.SetFault(Fault::UnplugOnRequest);
    EXPECT_EQ(Exchange(universe), "failed");
    EXPECT_EQ(
        log.Matching("Device Fail"),
        QStringList({QStringLiteral("Device Fail : path %1 error : %2").arg(m_link).arg(ENODEV)}));
    EXPECT_TRUE(Eventually(
        [] { return WidgetManager::ListDevices(UsbProPortLayer::InterfaceClass()).isEmpty(); }));
}

TEST_F(UsbProPortLayerTest, SerialDeviceThatDoesNotAnswerIsLeftAlone) {
    Serve(Fault::Silent);
    LogCapture log;
    EXPECT_TRUE(WidgetManager::ListDevices(UsbProPortLayer::InterfaceClass()).isEmpty());
    EXPECT_EQ(log.Matching("Not an interface"),
              QStringList({"Not an interface (no parameters): path " + m_link}));
    QElapsedTimer timer;
    timer.start();
    WidgetManager::EventDeviceChange();  // not asked again while it stays
    EXPECT_LT(timer.elapsed(), UsbPro::Interface::kProbeTimeoutMs);
    EXPECT_EQ(log.Matching("Not an interface").size(), 1);
}

TEST_F(UsbProPortLayerTest, HotPlugFollowsTheInterfaceAppearingAndVanishing) {
    RdmUniverseUsb universe;
    EXPECT_FALSE(universe.HasWidget());
    Serve();
    EXPECT_TRUE(Eventually([&] { return universe.HasWidget(); }));
    m_server->Stop();  // the terminal closes and the link goes
    EXPECT_TRUE(Eventually([&] { return !universe.HasWidget(); }));
}

TEST_F(UsbProPortLayerTest, ScanListsEachInterfaceOnceByItsStableName) {
    Serve();
    const QString device = QFileInfo(m_link).symLinkTarget();  // the terminal's device node
    QDir dev(m_dir.filePath("dev"));
    ASSERT_TRUE(dev.mkpath("serial/by-id"));
    ASSERT_TRUE(QFile::link(device, dev.filePath("ttyUSB3")));
    ASSERT_TRUE(QFile::link(device, dev.filePath("serial/by-id/usb-Interface_12345678-if00")));
    ASSERT_TRUE(QFile::link(device, dev.filePath("ttyS0")));  // not a USB serial device
    UsbProPortLayer scan(UsbProPortLayer::Locations{dev.path(), dev.filePath("serial/by-id")});
    EXPECT_EQ(scan.Enumerate(UsbProPortLayer::InterfaceClass()),
              QStringList({dev.filePath("serial/by-id/usb-Interface_12345678-if00")}));
    EXPECT_TRUE(scan.Enumerate(InterfaceClasses::All()[0]).isEmpty());
}

TEST_F(UsbProPortLayerTest, InterfaceIsOpenedAfreshAfterTheManagerShutsDown) {
    Serve();
    {
        RdmUniverseUsb universe;
        EXPECT_EQ(Exchange(universe), kReply);
    }
    WidgetManager::Shutdown();  // cancels and closes every handle
    RdmUniverseUsb universe;
    ASSERT_TRUE(universe.HasWidget());
    EXPECT_EQ(Exchange(universe), kReply);
}
