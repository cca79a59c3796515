#include "hardware/InterfaceClasses.h"
#include "hardware/RdmUniverseUsb.h"
#include "hardware/SocketPortLayer.h"
#include "hardware/WidgetManager.h"
#include "sim/WidgetSocketServer.h"
#include "support/Eventually.h"
#include "support/LogCapture.h"
#include "support/MirrorResponder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

using namespace Hardware;

class SocketPortLayerTest : public ::testing::Test {
protected:
    SocketPortLayerTest() {
        auto layer = std::make_unique<SocketPortLayer>(m_dir.path());
        m_layer = layer.get();
        PortLayer::Install(std::move(layer));
    }

    ~SocketPortLayerTest() override {
        WidgetManager::Shutdown();
        PortLayer::Install(nullptr);
    }

    static QUuid UniverseClass() { return InterfaceClasses::All()[2]; }

    Sim::WidgetSocketServer& Serve(const QString& name, quint16 productCode = 26) {
        const QString classDir = SocketPortLayer::ClassDir(m_dir.path(), UniverseClass());
        EXPECT_TRUE(QDir().mkpath(classDir));
        auto widget = std::make_shared<Sim::SimWidget>(
            Sim::WidgetConfig{name, UniverseClass(), productCode, 3, 1});
        m_servers.push_back(
            std::make_unique<Sim::WidgetSocketServer>(widget, classDir + "/" + name + ".sock"));
        QString error;
        EXPECT_TRUE(m_servers.back()->Start(&error)) << error.toStdString();
        return *m_servers.back();
    }

    SocketPortLayer& layer() { return *m_layer; }

    QTemporaryDir m_dir;
    SocketPortLayer* m_layer;
    std::vector<std::unique_ptr<Sim::WidgetSocketServer>> m_servers;
};

TEST_F(SocketPortLayerTest, EnumeratesSocketFilesInByteOrder) {
    EXPECT_TRUE(layer().Enumerate(UniverseClass()).isEmpty());  // no class folder yet
    Serve("b");
    Serve("B");
    Serve("a");
    QFile other(SocketPortLayer::ClassDir(m_dir.path(), UniverseClass()) + "/notes.txt");
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    const QString classDir = SocketPortLayer::ClassDir(m_dir.path(), UniverseClass());
    EXPECT_EQ(layer().Enumerate(UniverseClass()),
              QStringList({classDir + "/B.sock", classDir + "/a.sock", classDir + "/b.sock"}));
    EXPECT_TRUE(layer().Enumerate(InterfaceClasses::All()[0]).isEmpty());
}

TEST_F(SocketPortLayerTest, UniverseExchangesRdmAndDmxWithASocketWidget) {
    Sim::WidgetSocketServer& server = Serve("w", 17);
    server.Widget()->AttachResponder(2, std::make_shared<MirrorResponder>());
    RdmUniverseUsb universe;
    ASSERT_TRUE(universe.HasWidget());
    EXPECT_EQ(universe.GetPortCount(), 4);
    quint8 major = 0;
    quint8 minor = 0;
    universe.GetWidgetVersion(&major, &minor);
    EXPECT_EQ(major, 3);
    EXPECT_EQ(minor, 1);

    const QByteArray request = QByteArray::fromHex("cc0102030405");
    ASSERT_TRUE(universe.SendRdm(2, 512, reinterpret_cast<const quint8*>(request.constData()),
                                 quint32(request.size())));
    quint8 reply[4];  // shorter than the reply: cut to the capacity
    ASSERT_EQ(universe.ReceiveRdm(2, 1000, reply, sizeof reply), 4u);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(reply), 4), QByteArray::fromHex("05040302"));

    const QByteArray levels(512, '\x42');
    universe.SendDmx(reinterpret_cast<const quint8*>(levels.constData()), 512);
    EXPECT_EQ(server.Widget()->Frame(3), levels);
    ASSERT_TRUE(universe.HasWidget());

    const auto handle = universe.CurrentWidget()->Device().handle;
    const PortLayer::IoResult unknown = layer().IoControl(handle, 0x12345678, {}, 16);
    EXPECT_EQ(unknown.status, EINVAL);
}

TEST_F(SocketPortLayerTest, ServerThatVanishesMidRequestClosesTheWidget) {
    Sim::WidgetSocketServer& server = Serve("w");
    RdmUniverseUsb universe;
    ASSERT_TRUE(universe.HasWidget());
    LogCapture log;
    server.DropNextRequest();
    const quint8 request[1] = {0xCC};
    EXPECT_FALSE(universe.SendRdm(0, 512, request, 1));
    EXPECT_FALSE(universe.HasWidget());
    EXPECT_EQ(log.Matching("Device Fail"),
              QStringList({"Device Fail : path " + server.SocketPath() + " error : 5"}));
}

TEST_F(SocketPortLayerTest, StalledServerTimesOutAndTheConnectionIsGivenUp) {
    Sim::WidgetSocketServer& server = Serve("w");
    layer().SetReplyTimeoutMs(100);
    int error = 0;
    const PortLayer::Handle handle = layer().Open(server.SocketPath(), &error);
    ASSERT_NE(handle, PortLayer::kInvalidHandle);
    server.StallNextRequest();
    EXPECT_EQ(layer().IoControl(handle, 0x88B56BC0, {}, 16).status, ETIMEDOUT);
    EXPECT_NE(layer().IoControl(handle, 0x88B56BC0, {}, 16).status, 0);
    layer().Close(handle);
    EXPECT_EQ(layer().IoControl(handle, 0x88B56BC0, {}, 16).status, EBADF);
}

TEST_F(SocketPortLayerTest, HotPlugFollowsSocketFilesAppearingAndVanishing) {
    RdmUniverseUsb universe;
    EXPECT_FALSE(universe.HasWidget());
    Serve("w");  // its class folder is created after the watch began
    EXPECT_TRUE(Eventually([&] { return universe.HasWidget(); }));
    m_servers.clear();  // the server stops and removes its socket
    EXPECT_TRUE(Eventually([&] { return !universe.HasWidget(); }));
    EXPECT_TRUE(WidgetManager::ListDevices(UniverseClass()).isEmpty());
}

TEST_F(SocketPortLayerTest, MissingWidgetFolderIsNotMadeButWatchedForUntilItAppears) {
    const QString widgetDir = m_dir.filePath("later/widgets");
    PortLayer::Install(std::make_unique<SocketPortLayer>(widgetDir));
    RdmUniverseUsb universe;
    EXPECT_FALSE(universe.HasWidget());
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath("later")));

    // A server that comes later makes the folders, one level after the other.
    const QString classDir = SocketPortLayer::ClassDir(widgetDir, UniverseClass());
    ASSERT_TRUE(QDir().mkpath(classDir));
    Sim::WidgetSocketServer server(
        std::make_shared<Sim::SimWidget>(Sim::WidgetConfig{"w", UniverseClass(), 26, 3, 1}),
        classDir + "/w.sock");
    QString error;
    ASSERT_TRUE(server.Start(&error)) << error.toStdString();
    EXPECT_TRUE(Eventually([&] { return universe.HasWidget(); }));
}

TEST_F(SocketPortLayerTest, SocketNobodyServesCannotBeOpened) {
    const QString classDir = SocketPortLayer::ClassDir(m_dir.path(), UniverseClass());
    ASSERT_TRUE(QDir().mkpath(classDir));
    QFile dead(classDir + "/dead.sock");
    ASSERT_TRUE(dead.open(QIODevice::WriteOnly));
    dead.close();
    LogCapture log;
    WidgetManager::Init();
    EXPECT_EQ(log.Matching("Cannot open widget"),
              QStringList({"Cannot open widget: path " + classDir + "/dead.sock"}));
}
