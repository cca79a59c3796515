#include "hardware/DmxWidget.h"
#include "support/EventRecorder.h"
#include "support/LogCapture.h"
#include "support/SimulatedRig.h"

#include <QtEndian>

#include <cerrno>

using namespace Hardware;
using namespace Hardware::DriverRequests;

namespace {

quint32 U32(const QByteArray& bytes, int offset) {
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}
quint16 U16(const QByteArray& bytes, int offset) {
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

std::vector<Sim::SimWidget::Exchange> Requests(const Sim::SimWidget& widget, quint32 kind,
                                               quint32 code = 0) {
    std::vector<Sim::SimWidget::Exchange> found;
    for (const auto& exchange : widget.Traffic()) {
        if (exchange.kind == kind && (kind == Sim::SimWidget::kWrite || exchange.code == code)) {
            found.push_back(exchange);
        }
    }
    return found;
}

class Listener : public UmWidget::Listener {
public:
    void OnWidgetEvent(const UmWidget::Event& event) override {
        sizes.push_back(static_cast<const DmxWidget::DmxRxEvent&>(event).Size());
    }
    std::vector<int> sizes;
};

}  // namespace

class DmxWidgetTest : public SimulatedRigTest {
protected:
    // Plugs a widget and makes a handle on it, as the universe would.
    std::unique_ptr<DmxWidget> Make(quint16 productCode, std::shared_ptr<Sim::SimWidget>* sim) {
        *sim = layer().Plug(Config("w", productCode));
        const auto devices = WidgetManager::ListDevices(UniverseClass());
        EXPECT_EQ(devices.size(), 1);
        auto widget = std::make_unique<DmxWidget>(devices.first());
        for (quint16 port = 0; port < widget->GetPortCount(); ++port) {
            widget->SetPortMode(port, kPortModeDmxOutput);
        }
        (*sim)->ClearTraffic();
        return widget;
    }

    static QByteArray Pattern(int size, char seed) {
        QByteArray data(size, '\0');
        for (int i = 0; i < size; ++i) {
            data[i] = char(seed + i);
        }
        return data;
    }
};

TEST(PortCountTest, ByProductCode) {
    const std::pair<quint16, quint16> table[] = {{2, 1},  {17, 4},  {23, 4}, {26, 8},
                                                 {29, 8}, {131, 1}, {0, 0},  {27, 0}};
    for (const auto& [product, ports] : table) {
        EXPECT_EQ(PortCountForProduct(product), ports) << product;
    }
}

TEST_F(DmxWidgetTest, EightPortWidgetWritesAllFramesOnceOnTheTriggerPort) {
    std::shared_ptr<Sim::SimWidget> sim;
    auto widget = Make(26, &sim);
    EXPECT_EQ(widget->GetPortCount(), 8);
    EXPECT_EQ(widget->TriggerPort(), 7);
    for (quint16 port = 0; port < 8; ++port) {
        const QByteArray data = Pattern(512, char(port * 16));
        EXPECT_TRUE(widget->SendDmx(port, reinterpret_cast<const quint8*>(data.constData()), 512));
        EXPECT_EQ(Requests(*sim, Sim::SimWidget::kWrite).size(), port == 7 ? 1u : 0u);
    }
    const auto writes = Requests(*sim, Sim::SimWidget::kWrite);
    ASSERT_EQ(writes.size(), 1u);
    ASSERT_EQ(writes[0].input.size(), 4096);
    for (int port = 0; port < 8; ++port) {
        EXPECT_EQ(writes[0].input.mid(port * 512, 512), Pattern(512, char(port * 16)));
        EXPECT_EQ(sim->Frame(port), Pattern(512, char(port * 16)));
    }
}

TEST_F(DmxWidgetTest, FramesFollowPortModesAndShortDataIsZeroFilled) {
    std::shared_ptr<Sim::SimWidget> sim;
    auto widget = Make(17, &sim);
    const QByteArray data = Pattern(10, 1);
    const auto* bytes = reinterpret_cast<const quint8*>(data.constData());

    EXPECT_TRUE(widget->SendDmx(2, bytes, 10));  // not the trigger port: frame only
    EXPECT_TRUE(Requests(*sim, Sim::SimWidget::kWrite).empty());
    EXPECT_EQ(widget->Frame(2), data + QByteArray(502, '\0'));

    ASSERT_TRUE(widget->SetPortMode(3, kPortModeRdmDiscovery));
    EXPECT_TRUE(widget->SendDmx(3, bytes, 10));  // port 3 keeps its frame but still writes
    const auto writes = Requests(*sim, Sim::SimWidget::kWrite);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].input.size(), 4 * 512);
    EXPECT_EQ(widget->Frame(3), QByteArray(512, '\0'));
    EXPECT_EQ(writes[0].input.mid(2 * 512, 512), data + QByteArray(502, '\0'));
}

TEST_F(DmxWidgetTest, SetPortModeRewritesOnlyThatPortsByte) {
    std::shared_ptr<Sim::SimWidget> sim;
    auto widget = Make(17, &sim);
    ASSERT_TRUE(widget->SetPortMode(2, kPortModeRdmDiscovery));
    const auto gets = Requests(*sim, Sim::SimWidget::kIoControl, kGetPortModes);
    const auto sets = Requests(*sim, Sim::SimWidget::kIoControl, kSetPortModes);
    ASSERT_EQ(gets.size(), 1u);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(gets[0].capacity, 9u);
    EXPECT_EQ(sets[0].input, QByteArray::fromHex("000101030100000000"));
    EXPECT_EQ(widget->PortMode(2), kPortModeRdmDiscovery);
}

TEST_F(DmxWidgetTest, InvalidTriggerPortIsRefusedAndKept) {
    std::shared_ptr<Sim::SimWidget> sim;
    auto widget = Make(17, &sim);
    LogCapture log;
    EXPECT_FALSE(widget->SetTriggerPort(4));
    EXPECT_EQ(widget->TriggerPort(), 3);
    EXPECT_EQ(log.Texts(), QStringList({"Invalid trigger port setting: 4"}));
    EXPECT_TRUE(widget->SetTriggerPort(1));
    EXPECT_EQ(widget->TriggerPort(), 1);
}

TEST_F(DmxWidgetTest, RdmRequestAndReceiveHeadersAreExact) {
    std::shared_ptr<Sim::SimWidget> sim;
    auto widget = Make(26, &sim);
    const QByteArray request = Pattern(600, 3);
    EXPECT_TRUE(widget->SendRdm(5, 512, reinterpret_cast<const quint8*>(request.constData()), 600));
    quint8 reply[63];
    EXPECT_EQ(widget->ReceiveRdm(6, 10000, reply, sizeof reply), 0);  // nobody answered

    const auto sends = Requests(*sim, Sim::SimWidget::kIoControl, kRdmSend);
    ASSERT_EQ(sends.size(), 1u);
    const QByteArray& sent = sends[0].input;
    ASSERT_EQ(sent.size(), 16 + 496);
    EXPECT_EQ(U32(sent, 0), 600u);
    EXPECT_EQ(U32(sent, 4), 25u);
    EXPECT_EQ(U32(sent, 8), 512u);
    EXPECT_EQ(U16(sent, 12), 5);
    EXPECT_EQ(U16(sent, 14), 0);
    EXPECT_EQ(sent.mid(16), request.left(496));

    const auto receives = Requests(*sim, Sim::SimWidget::kIoControl, kRdmReceive);
    ASSERT_EQ(receives.size(), 1u);
    const QByteArray& header = receives[0].input;
    ASSERT_EQ(header.size(), 16);
    EXPECT_EQ(U32(header, 0), 63u);
    EXPECT_EQ(U32(header, 4), 10000u);
    EXPECT_EQ(U32(header, 8), 0u);
    EXPECT_EQ(U16(header, 12), 6);
    EXPECT_EQ(receives[0].capacity, 63u);
}

TEST_F(DmxWidgetTest, FailedRequestIsReportedOnceThroughTheWidgetManager) {
    std::shared_ptr<Sim::SimWidget> sim;
    auto widget = Make(26, &sim);
    EventRecorder recorder(UniverseClass());
    LogCapture log;
    sim->FailNextRequests(EIO);
    const quint8 request[4] = {0xCC, 1, 2, 3};
    EXPECT_FALSE(widget->SendRdm(0, 512, request, 4));
    EXPECT_EQ(log.Matching("Device Fail").size(), 1);
    EXPECT_TRUE(log.Matching("Device Fail").first().endsWith(" error : 5"));
    ASSERT_EQ(recorder.Events().size(), 1u);
    EXPECT_EQ(recorder.Events()[0].code, WidgetManager::DeviceFailed);

    sim->FailNextRequests(ETIMEDOUT);
    quint8 reply[512];
    EXPECT_EQ(widget->ReceiveRdm(0, 1000, reply, sizeof reply), -1);
    EXPECT_TRUE(widget->SendRdm(0, 512, request, 4));  // the widget keeps no error state
}

TEST_F(DmxWidgetTest, InvalidHandleFailsWithoutReportingAFailure) {
    EventRecorder recorder(UniverseClass());
    LogCapture log;
    DmxWidget widget(WidgetMapData{"nowhere", PortLayer::kInvalidHandle, UniverseClass()});
    const quint8 request[1] = {0xCC};
    EXPECT_EQ(widget.GetPortCount(), 0);
    EXPECT_FALSE(widget.SendRdm(0, 512, request, 1));
    EXPECT_FALSE(widget.SetPortMode(0, kPortModeDmxOutput));
    EXPECT_TRUE(log.Matching("Device Fail").isEmpty());
    EXPECT_TRUE(recorder.Events().empty());
}

TEST_F(DmxWidgetTest, BlocksAreFetchedUntilOneSucceedsThenCached) {
    layer().Plug(Config("w", 26));
    const auto device = WidgetManager::ListDevices(UniverseClass()).first();
    const auto sim = layer().Widget("w");
    sim->FailNextRequests(EIO);
    DmxWidget widget(device);  // the device-info fetch at construction fails
    EXPECT_EQ(widget.TriggerPort(), 0xFFFF);
    sim->FailNextRequests(EIO);
    EXPECT_EQ(widget.GetWidgetVersion(), QByteArray(8, '\0'));
    sim->ClearTraffic();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(widget.ProductCode(), 26);
        EXPECT_EQ(quint8(widget.GetWidgetVersion()[2]), 2);
        EXPECT_EQ(quint8(widget.GetWidgetVersion()[3]), 7);
    }
    EXPECT_EQ(Requests(*sim, Sim::SimWidget::kIoControl, kDeviceInfo).size(), 1u);
    EXPECT_EQ(Requests(*sim, Sim::SimWidget::kIoControl, kFirmwareVersion).size(), 1u);
}

TEST(DmxReaderTest, HandsOnlyWholeFramesToTheListener) {
    LogCapture log;
    Listener listener;
    const QByteArray frame(512, '\x11');
    const auto* bytes = reinterpret_cast<const quint8*>(frame.constData());
    DmxWidget::DmxReader(&listener, bytes, 512);
    DmxWidget::DmxReader(&listener, bytes, 100);
    DmxWidget::DmxReader(&listener, nullptr, 512);
    DmxWidget::DmxReader(nullptr, bytes, 512);
    DmxWidget::DmxReader(&listener, bytes, 0);
    EXPECT_EQ(listener.sizes, std::vector<int>{512});
    EXPECT_EQ(log.Texts(), QStringList({"Unexpected reader data size, bufferSize 100",
                                        "Unexpected reader data, bufferSize 512",
                                        "Unexpected reader data, bufferSize 512",
                                        "Unexpected reader data, bufferSize 0"}));
    EXPECT_EQ(log.Lines()[0].function, "Hardware::DmxWidget::DmxReader");
}
