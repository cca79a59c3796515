#include "orx/ORXDevice.h"
#include "rdm/DiscoveryCommand.h"
#include "rdm/RDMChangeAddressCommand.h"
#include "rdm/RDMIdentifyCommand.h"
#include "rdm/UniqueIdGenerator.h"
#include "rdm/devices/DeviceManager.h"
#include "rdm/devices/RDMDevice.h"
#include "rdm/devices/RdmFamily.h"
#include "sim/SimOrxFixture.h"
#include "support/ProgressSpy.h"
#include "support/RdmRig.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

namespace {

struct Branch {
    quint64 lower;
    quint64 upper;
};

class FakeFamily : public RdmFamily {
public:
    class Member : public RDMDevice {
    public:
        using RDMDevice::RDMDevice;
    };
    explicit FakeFamily(bool usable) : m_usable(usable) {}
    QString ModelName() const override { return "Solvi"; }
    std::unique_ptr<RDMDevice> Create(quint64 uid, quint8 port) const override {
        auto device = std::make_unique<Member>(uid);
        device->SetPort(port);
        return device;
    }
    bool Check(RDMDevice*, IFeedback*) const override { return m_usable; }
    void AssignIdentities(RDMDevice*, IFeedback*) const override { ++assigned; }
    mutable int assigned = 0;

private:
    bool m_usable;
};

void SetSystemSetting(const QString& key, const QVariant& value) {
    QSettings settings(QSettings::SystemScope, "Corvane", "Aurel");
    if (value.isNull()) {
        settings.remove(key);
    } else {
        settings.setValue(key, value);
    }
}

}  // namespace

class DiscoveryTest : public RdmRigTest {
protected:
    ~DiscoveryTest() override {
        SetSystemSetting("UniqueIdGenerator", {});
        SetSystemSetting("ProductionMode", {});
        qDeleteAll(m_found);
    }

    std::vector<Branch> Branches() const {
        std::vector<Branch> branches;
        for (const QByteArray& request : SentRequests()) {
            if (quint8(request[20]) == 0x10 &&
                qFromBigEndian<quint16>(request.constData() + 21) == 1) {
                const auto* data = reinterpret_cast<const quint8*>(request.constData()) + 24;
                branches.push_back(
                    {RDMProtocol::UnpackUid(data), RDMProtocol::UnpackUid(data + 6)});
            }
        }
        return branches;
    }

    QList<quint64> FoundUids() const {
        QList<quint64> uids;
        for (Device* device : m_found) {
            uids.append(device->GetUid());
        }
        std::sort(uids.begin(), uids.end());
        return uids;
    }

    QList<Device*> m_found;
};

TEST_F(DiscoveryTest, EmptyLineGetsFiveBranchesOfTheFullRange) {
    m_protocol.Discover(0, m_found, &m_feedback, DiscoverySearch::Thorough);
    const auto branches = Branches();
    ASSERT_EQ(branches.size(), 5u);
    for (const Branch& branch : branches) {
        EXPECT_EQ(branch.lower, 0u);
        EXPECT_EQ(branch.upper, 0xFFFFFFFFFFFEULL);
    }
    EXPECT_TRUE(m_found.isEmpty());
    const QStringList texts = m_feedback.Texts();
    EXPECT_EQ(texts.first(), "RDM Discovery: Starting..");
    EXPECT_EQ(texts[1], "RDM Discovery: Unmute all devices");
    EXPECT_EQ(texts.last(), "RDM Discovery: Finished!");
    // Each branch is a 38-byte packet sent with the discovery's expected length.
    for (const auto& exchange : m_widget->Traffic()) {
        if (exchange.code == Hardware::DriverRequests::kRdmSend &&
            exchange.input.size() == 16 + 38) {
            EXPECT_EQ(qFromLittleEndian<quint32>(exchange.input.constData() + 8), 63u);
        }
    }
}

TEST_F(DiscoveryTest, OneFixtureIsFoundDescendingTwoRangesAtMostPerLevel) {
    Sim::RdmResponderConfig config = Fixture();
    config.deviceLabel = "Wash SL";
    config.startAddress = 17;
    AddResponder(config, 3);
    m_protocol.Discover(3, m_found, &m_feedback, DiscoverySearch::Thorough);
    ASSERT_EQ(FoundUids(), QList<quint64>({kFixtureUid}));
    auto* device = qobject_cast<RDMDevice*>(m_found[0]);
    ASSERT_TRUE(device);
    EXPECT_EQ(device->GetPort(), 3);
    EXPECT_EQ(device->GetDeviceLabel(), "Wash SL");
    EXPECT_EQ(device->GetDmxStartAddress(), 17);
    // 47 levels below the full range, each visiting its two halves at most.
    EXPECT_LE(m_feedback.Texts().filter(" RDM Discovery: Searching range").size(), 1 + 2 * 48);
    EXPECT_EQ(m_feedback.Texts().filter(" RDM Discovery: Device found 0x4a4100000101").size(), 1);
    EXPECT_TRUE(
        m_feedback.Texts().contains("------ Querying device information for 4a4100000101 ------"));
}

TEST_F(DiscoveryTest, CollidingFixturesAreAllFound) {
    const QList<quint64> uids = {0x4A4100000101ULL, 0x4A4100000102ULL, 0x4A4100008000ULL,
                                 0x0001000000FFULL, 0x7FF0FFFFFFFEULL, 0x514200000001ULL};
    for (quint64 uid : uids) {
        AddResponder(Fixture(uid), 1);
    }
    m_protocol.Discover(1, m_found, &m_feedback, DiscoverySearch::Thorough);
    QList<quint64> expected = uids;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FoundUids(), expected);
}

TEST_F(DiscoveryTest, FixtureThatNeverAcknowledgesMuteIsNotAdded) {
    Sim::RdmResponderConfig silent = Fixture(0x4A4100000102ULL);
    silent.faults.noMuteAck = true;
    AddResponder(silent);
    AddResponder(Fixture());
    m_protocol.Discover(0, m_found, &m_feedback, DiscoverySearch::Thorough);
    EXPECT_EQ(FoundUids(), QList<quint64>({kFixtureUid}));
}

TEST_F(DiscoveryTest, MultiPortRespondersThatSendTheirBindingUidAreMutedAndFound) {
    Sim::RdmResponderConfig first = Fixture(0x4A4100000102ULL);
    first.bindingUid = 0x4A4100000102ULL;
    Sim::RdmResponderConfig second = Fixture(0x4A4100000103ULL);
    second.bindingUid = 0x4A4100000102ULL;
    AddResponder(first);
    AddResponder(second);
    AddResponder(Fixture());
    m_protocol.Discover(0, m_found, &m_feedback, DiscoverySearch::Thorough);
    EXPECT_EQ(FoundUids(), QList<quint64>({kFixtureUid, 0x4A4100000102ULL, 0x4A4100000103ULL}));
    EXPECT_FALSE(m_feedback.Texts().join('\n').contains("too small"))
        << m_feedback.Texts().join('\n').toStdString();
}

TEST_F(DiscoveryTest, ProductionModeSearchesOnlyUpToTheFactoryRange) {
    SetSystemSetting("UniqueIdGenerator/key", QString::number(UniqueIdGenerator::kFactoryKey));
    SetSystemSetting("ProductionMode", true);
    AddResponder(Fixture(0x7FF200000001ULL));
    AddResponder(Fixture(0x7FF100000002ULL));
    m_protocol.Discover(0, m_found, &m_feedback, DiscoverySearch::Thorough);
    EXPECT_EQ(FoundUids(), QList<quint64>({0x7FF100000002ULL}));
    EXPECT_EQ(Branches().front().upper, 0x7FF100000002ULL);
}

TEST_F(DiscoveryTest, FamilyMembersReplaceTheGenericDeviceWhenTheirChecksPass) {
    for (const bool usable : {true, false}) {
        auto owned = std::make_unique<FakeFamily>(usable);
        FakeFamily* family = owned.get();
        RdmFamily::Register(std::move(owned));
        Sim::RdmResponderConfig config = Fixture(0x4A4100000200ULL + usable);
        config.modelDescription = "solvi";
        AddResponder(config, usable ? 0 : 1);
        m_feedback.Clear();
        QList<Device*> found;
        m_protocol.Discover(usable ? 0 : 1, found, &m_feedback, DiscoverySearch::Thorough);
        ASSERT_EQ(found.size(), 1);
        EXPECT_EQ(dynamic_cast<FakeFamily::Member*>(found[0]) != nullptr, usable);
        EXPECT_EQ(family->assigned, usable ? 1 : 0);
        EXPECT_EQ(m_feedback.Texts().contains("Cannot instantiate solvi because cannot get the "
                                              "FPGA version or the GE unique Id"),
                  !usable);
        m_found.append(found);
        RdmFamily::Unregister(family);
    }
}

TEST_F(DiscoveryTest, WithoutWidgetDiscoveryStopsAtOnce) {
    layer().Unplug("w");
    m_protocol.Discover(0, m_found, &m_feedback, DiscoverySearch::Thorough);
    EXPECT_EQ(m_feedback.Texts(), QStringList({"RDM Discovery: Starting..",
                                               " Error: No communication device detected"}));
}

TEST_F(DiscoveryTest, CommandWithoutProtocolsStillWakesTheLineAndPreparesEveryPort) {
    DiscoveryCommand command;
    QSignalSpy finished(&command, &DiscoveryCommand::FinishedDiscovery);
    QSignalSpy result(&command, &Command::IFeedback_Finished);
    m_widget->ClearTraffic();
    const qint64 start = clock().NowMs();
    EXPECT_TRUE(command.Execute());
    EXPECT_GE(clock().NowMs() - start, DiscoveryCommand::kWakeUpMs);
    EXPECT_EQ(command.GetName(), "Fixture Discovery");
    EXPECT_TRUE(command.GetDevices().isEmpty());
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished[0][0].toUuid(), command.GetId());
    ASSERT_EQ(result.count(), 1);
    EXPECT_EQ(result[0][0].value<FeedbackResult>(), FeedbackResultSuccess);
    EXPECT_EQ(m_widget->PortModeBlock(), QByteArray::fromHex("000303030303030303"));
    const auto traffic = m_widget->Traffic();
    const auto write = std::find_if(traffic.begin(), traffic.end(), [](const auto& exchange) {
        return exchange.kind == Sim::SimWidget::kWrite;
    });
    ASSERT_NE(write, traffic.end());
    EXPECT_EQ(write->input, QByteArray(8 * 512, '\0'));
}

TEST_F(DiscoveryTest, CommandReportsRisingProgressWithTheRangesAndFixturesOfEachPort) {
    for (const quint64 uid : {0x4A4100000101ULL, 0x4A4100000102ULL, 0x0001000000FFULL}) {
        AddResponder(Fixture(uid), 0);
    }
    AddResponder(Fixture(0x514200000001ULL), 2);
    DiscoveryCommand command;
    command.SetLists({&m_protocol}, {});
    ProgressSpy progress(&command);
    QSignalSpy lines(&command, &Command::IFeedback_AddString);
    // The devices found are the caller's.
    const auto release = qScopeGuard([&command] { qDeleteAll(command.GetDevices()); });
    ASSERT_TRUE(command.Execute());

    progress.ExpectRisingToTheTotal();
    // The wake-up and the one protocol on each of the eight ports.
    EXPECT_EQ(progress.Totals(), QList<int>({9 * DiscoveryCommand::kShareSteps}));
    const QStringList texts = progress.Texts();
    EXPECT_EQ(texts.first(), "Waking up fixtures");
    EXPECT_EQ(texts.last(), "Found 4 fixture(s)");
    EXPECT_TRUE(texts.contains("Port 0: reading fixture 3 of 3")) << texts.join('\n').toStdString();
    EXPECT_TRUE(texts.contains("Port 2: found 1 fixture(s)"));
    const QStringList searched = texts.filter(QRegularExpression("^Port 0: searched \\d+ ranges"));
    ASSERT_FALSE(searched.isEmpty());
    EXPECT_TRUE(searched.last().endsWith("found 3")) << searched.last().toStdString();
    // Progress is told when it moves, not with every range searched.
    int ranges = 0;
    for (const QList<QVariant>& line : lines) {
        ranges += line[0].toString().startsWith(" RDM Discovery: Searching range");
    }
    EXPECT_LT(texts.size(), ranges / 2) << texts.size() << " texts, " << ranges << " ranges";
}

TEST_F(DiscoveryTest, CommandWithoutWidgetFails) {
    layer().Unplug("w");
    DiscoveryCommand command;
    QSignalSpy result(&command, &Command::IFeedback_Finished);
    QSignalSpy lines(&command, &Command::IFeedback_AddString);
    EXPECT_FALSE(command.Execute());
    ASSERT_EQ(lines.count(), 1);
    EXPECT_EQ(lines[0][0].toString(), "Dmx widget driver is not installed!");
    EXPECT_EQ(result[0][0].value<FeedbackResult>(), FeedbackResultFailure);
}

TEST_F(DiscoveryTest, IdentifySendsTheInverseState) {
    auto responder = AddResponder(Fixture());
    Sim::RdmResponderConfig lit = Fixture();
    RDMDevice device(kFixtureUid);
    device.SetIdentify(1);
    RDMIdentifyCommand command;
    QSignalSpy finished(&command, &RDMIdentifyCommand::FinishedIdentify);
    command.SetDevice(&device);
    EXPECT_TRUE(command.Execute());
    EXPECT_EQ(SentRequests().back().mid(20, 5), QByteArray::fromHex("3010000100"));
    EXPECT_EQ(device.GetIdentify(), 0);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_TRUE(finished[0][1].toBool());
    EXPECT_EQ(command.GetName(), "Identify Device");
}

TEST_F(DiscoveryTest, AddressChangeNeedsAnRdmDevice) {
    auto responder = AddResponder(Fixture());
    ORXDevice legacy(0, 0x1234);
    RDMChangeAddressCommand wrong;
    QSignalSpy wrongFinished(&wrong, &RDMChangeAddressCommand::FinishedChangeAddress);
    QSignalSpy lines(&wrong, &Command::IFeedback_AddString);
    wrong.SetDevice(&legacy, 10);
    EXPECT_FALSE(wrong.Execute());
    EXPECT_EQ(lines[0][0].toString(),
              "Error: Set Dmx address failed for 4660! Invalid Device object.");
    EXPECT_FALSE(wrongFinished[0][1].toBool());

    RDMDevice device(kFixtureUid);
    RDMChangeAddressCommand right;
    right.SetDevice(&device, 300);
    EXPECT_TRUE(right.Execute());
    EXPECT_EQ(responder->State().startAddress, 300);
    EXPECT_EQ(device.GetDmxStartAddress(), 300);
}

TEST(UniqueIdGeneratorTest, HandsOutIdsOnlyOnAFactoryMachineAndSaysWhyNot) {
    QTemporaryDir dir;
    const QString file = dir.filePath("solvi.id");
    const QString settings = QSettings(QSettings::SystemScope, "Corvane", "Aurel").fileName();
    const auto write = [&](const QByteArray& bytes) {
        QFile ids(file);
        ASSERT_TRUE(ids.open(QIODevice::WriteOnly));
        ids.write(bytes);
    };
    const auto refusal = [](const QString& model) {
        QString why;
        EXPECT_FALSE(UniqueIdGenerator::NextId(model, &why));
        return why;
    };
    EXPECT_EQ(refusal("Solvi"),
              "no unique id file is named under \"UniqueIdGenerator/Solvi\" in " + settings);
    SetSystemSetting("UniqueIdGenerator/Solvi", file);
    EXPECT_EQ(refusal("Solvi"), "the unique id file " + file +
                                    " (named under \"UniqueIdGenerator/Solvi\" in " + settings +
                                    ") does not exist");
    write("41\n");
    EXPECT_EQ(refusal("Solvi"), "the unique id file " + file +
                                    " is only used on a factory machine, and " + settings +
                                    " holds no factory key under \"UniqueIdGenerator/key\"");
    SetSystemSetting("UniqueIdGenerator/key", QString::number(UniqueIdGenerator::kFactoryKey));
    EXPECT_EQ(UniqueIdGenerator::NextId("Solvi"), 41u);
    EXPECT_EQ(UniqueIdGenerator::NextId("Solvi"), 42u);
    EXPECT_FALSE(UniqueIdGenerator::IsProductionMode());
    write("garbage");
    EXPECT_EQ(refusal("Solvi"),
              "the unique id file " + file + " holds no next id from 1 to 4294967294");
    SetSystemSetting("UniqueIdGenerator", {});
}

TEST_F(DiscoveryTest, ManagerMergesEachDiscoveryAndKeepsTheProtocolsItDidNotRun) {
    AddResponder(Fixture(0x4A4100000101ULL), 0);
    auto second = AddResponder(Fixture(0x4A4100000102ULL), 1);
    Sim::OrxFixtureConfig legacy;
    legacy.id = 0x00A1B2C3;
    m_widget->AttachResponder(2, std::make_shared<Sim::SimOrxFixture>(legacy));
    DeviceManager manager(m_comm.get());
    auto wait = [&](int count) {
        QElapsedTimer timer;
        timer.start();
        while (manager.Devices().size() != count && timer.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return manager.Devices().size() == count;
    };
    manager.DiscoverAll();
    ASSERT_TRUE(wait(3));
    EXPECT_TRUE(manager.FindDevice(0x00A1B2C3));
    EXPECT_TRUE(qobject_cast<RDMDevice*>(manager.FindDevice(0x4A4100000102ULL)));
    EXPECT_EQ(manager.FindDevice(0x4A4100000101ULL)->thread(), QThread::currentThread());

    // The second fixture goes quiet; an RDM discovery drops it and keeps the legacy one.
    Sim::RdmFaults gone;
    gone.dropEvery = 1;
    gone.noMuteAck = true;
    second->SetFaults(gone);
    Device* legacyDevice = manager.FindDevice(0x00A1B2C3);
    manager.DiscoverRdm();
    ASSERT_TRUE(wait(2));
    EXPECT_EQ(manager.FindDevice(0x00A1B2C3), legacyDevice);
    EXPECT_FALSE(manager.FindDevice(0x4A4100000102ULL));
}
