#include "rdm/DiscoveryCommand.h"
#include "rdm/SearchBudget.h"
#include "rdm/UniqueBranchReply.h"
#include "rdm/devices/Device.h"
#include "sim/Rig.h"
#include "support/RdmRig.h"

#include <QDir>
#include <QSignalSpy>

namespace {

constexpr auto kFast = DiscoverySearch::Fast;
constexpr auto kThorough = DiscoverySearch::Thorough;

bool IsBranch(const QByteArray& request) {
    return quint8(request[20]) == 0x10 && quint8(request[22]) == 0x01;
}

// Cancels the search when it sees the n-th discovery request, and counts what comes after.
class CancelAt : public Sim::RdmResponder {
public:
    CancelAt(RecordingFeedback& feedback, int at) : m_feedback(feedback), m_at(at) {}
    QByteArray HandleRdm(const QByteArray&) override {
        ++seen;
        if (seen == m_at) {
            m_feedback.m_cancelled = true;
        }
        return {};
    }
    int seen = 0;

private:
    RecordingFeedback& m_feedback;
    const int m_at;
};

}  // namespace

class FastDiscoveryTest : public RdmRigTest {
protected:
    ~FastDiscoveryTest() override { qDeleteAll(m_found); }

    QList<quint64> Discover(DiscoverySearch search, int port = 0) {
        qDeleteAll(m_found);
        m_found.clear();
        m_widget->ClearTraffic();
        m_feedback.Clear();
        m_protocol.Discover(quint16(port), m_found, &m_feedback, search);
        QList<quint64> uids;
        for (Device* device : m_found) {
            uids.append(device->GetUid());
        }
        std::sort(uids.begin(), uids.end());
        return uids;
    }

    int Branches() const {
        const auto requests = SentRequests();
        return int(std::count_if(requests.begin(), requests.end(), IsBranch));
    }

    QList<Device*> m_found;
};

TEST(UniqueBranchReplyTest, DecodesOnlyAWholeReplyOfOneFixture) {
    const QByteArray one = Sim::SimRdmResponder::EncodeDiscoveryReply(0x4A4100000101ULL);
    QByteArray collision = one;
    const QByteArray other = Sim::SimRdmResponder::EncodeDiscoveryReply(0x0001000000FEULL);
    for (int i = 0; i < collision.size(); ++i) {
        collision[i] = char(quint8(collision[i]) & quint8(other[i]));
    }
    const struct {
        const char* name;
        QByteArray bytes;
        std::optional<quint64> uid;
    } cases[] = {
        {"whole", one, 0x4A4100000101ULL},
        {"without preamble", one.mid(7), 0x4A4100000101ULL},
        {"eight bytes of preamble", QByteArray(1, char(0xFE)) + one, std::nullopt},
        {"collision", collision, std::nullopt},
        {"noise", Sim::SimRdmResponder::NoiseReply(0x4A4100000101ULL), std::nullopt},
        {"cut short", one.left(one.size() - 1), std::nullopt},
        {"no separator", QByteArray(7, char(0xFE)) + one.mid(8), std::nullopt},
        {"nothing", QByteArray(), std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UniqueBranchReply::Decode(reinterpret_cast<const quint8*>(c.bytes.constData()),
                                            int(c.bytes.size())),
                  c.uid)
            << c.name;
    }
}

TEST_F(FastDiscoveryTest, EveryShippedRigFindsTheSameFixturesBothWays) {
    QList<Sim::Rig> rigs = {Sim::Rig::Demo()};
    for (const QFileInfo& file : QDir(RIGS_DIR).entryInfoList({"*.json"})) {
        QString error;
        const std::optional<Sim::Rig> rig = Sim::Rig::Load(file.filePath(), &error);
        ASSERT_TRUE(rig) << error.toStdString();
        rigs.append(*rig);
    }
    int fixtures = 0;
    for (const Sim::Rig& rig : rigs) {
        for (const Sim::RigWidget& widget : rig.widgets) {
            for (int port = 0; port < 8; ++port) {
                m_widget->DetachResponders(port);
            }
            widget.AttachFixtures(*m_widget);
            for (int port = 0; port < 8; ++port) {
                const QList<quint64> fast = Discover(kFast, port);
                EXPECT_EQ(fast, Discover(kThorough, port)) << widget.config.name.toStdString();
                fixtures += int(fast.size());
            }
        }
    }
    EXPECT_GT(fixtures, 10);
}

TEST_F(FastDiscoveryTest, OneFixtureTakesTwoBranchesAndTheSafetyNet) {
    AddResponder(Fixture());
    EXPECT_EQ(Discover(kFast), QList<quint64>({kFixtureUid}));
    // Found whole at the first branch, then silence, then the long check of the whole range.
    EXPECT_EQ(Branches(), 2 + RDMProtocol::kBranchAttempts);
    EXPECT_FALSE(m_feedback.Texts().join('\n').contains("thoroughly"));
}

TEST_F(FastDiscoveryTest, CollisionsAndMultiPortRespondersAreFoundBothWays) {
    const QList<quint64> uids = {0x4A4100000101ULL, 0x4A4100000102ULL, 0x4A4100000103ULL,
                                 0x4A4100008000ULL, 0x0001000000FFULL, 0x7FF0FFFFFFFEULL};
    for (quint64 uid : uids) {
        Sim::RdmResponderConfig config = Fixture(uid);
        if (uid == 0x4A4100000102ULL || uid == 0x4A4100000103ULL) {
            config.bindingUid = 0x4A4100000102ULL;  // mutes answer with 8 bytes
        }
        AddResponder(config);
    }
    QList<quint64> expected = uids;
    std::sort(expected.begin(), expected.end());
    for (const DiscoverySearch search : {kFast, kThorough}) {
        EXPECT_EQ(Discover(search), expected);
    }
}

TEST_F(FastDiscoveryTest, LateFixtureIsFoundByTheSafetyNet) {
    Sim::RdmResponderConfig late = Fixture(0x4A4100000102ULL);
    late.faults.lateBranchMs = 30;
    AddResponder(late);
    AddResponder(Fixture());
    EXPECT_EQ(Discover(kFast), QList<quint64>({kFixtureUid, 0x4A4100000102ULL}));
    // The fast search alone did not hear it.
    EXPECT_TRUE(m_feedback.Texts().contains(
        " RDM Discovery: Late replies, searching the whole range thoroughly"));
    EXPECT_EQ(m_feedback.Texts().filter(" RDM Discovery: Device found 0x4a4100000102").size(), 1);
}

TEST_F(FastDiscoveryTest, LineThatAnswersEveryBranchEndsAtTheBoundKeepingWhatWasFound) {
    Sim::RdmResponderConfig noisy = Fixture(0x0001000000FFULL);
    noisy.faults.answersEveryBranch = true;
    noisy.faults.noMuteAck = true;
    AddResponder(noisy);
    AddResponder(Fixture());
    const struct {
        DiscoverySearch search;
        SearchBudget::Bounds bounds;
    } cases[] = {{kFast, SearchBudget::kFast}, {kThorough, SearchBudget::kThorough}};
    for (const auto& c : cases) {
        const QList<quint64> found = Discover(c.search);
        EXPECT_LE(found.size(), 1);
        EXPECT_TRUE(
            m_feedback.Texts().contains(" RDM Discovery: Stopped, the line answers every request"));
        EXPECT_EQ(m_feedback.Texts().last(), "RDM Discovery: Finished!");
        const auto requests = SentRequests();
        const auto discovery = std::count_if(requests.begin(), requests.end(),
                                             [](const QByteArray& r) { return r[20] == 0x10; });
        EXPECT_LE(discovery, c.bounds.requests + c.bounds.requestsPerFixture + 1);
    }
}

TEST_F(FastDiscoveryTest, CancelStopsWithinOneRequest) {
    AddResponder(Fixture(0x4A4100000102ULL), 1);
    AddResponder(Fixture(0x4A4100000103ULL), 1);
    for (const DiscoverySearch search : {kFast, kThorough}) {
        for (const int at : {2, 5, 9}) {
            m_feedback.m_cancelled = false;
            auto watch = std::make_shared<CancelAt>(m_feedback, at);
            m_widget->AttachResponder(1, watch);
            EXPECT_TRUE(Discover(search, 1).isEmpty());
            EXPECT_EQ(watch->seen, at);  // the cancel was seen before the next request
            EXPECT_TRUE(m_feedback.Texts().contains(" RDM Discovery: Cancelled"));
            EXPECT_FALSE(m_feedback.Texts().contains("RDM Discovery: Finished!"));
            m_widget->DetachResponders(1);
            AddResponder(Fixture(0x4A4100000102ULL), 1);
            AddResponder(Fixture(0x4A4100000103ULL), 1);
        }
    }
}

TEST_F(FastDiscoveryTest, CancelledCommandSendsNoRdmAndMergesNothing) {
    AddResponder(Fixture());
    DiscoveryCommand command;
    command.SetLists({&m_protocol}, {});
    QSignalSpy finished(&command, &DiscoveryCommand::FinishedDiscovery);
    command.Cancel();
    m_widget->ClearTraffic();
    EXPECT_FALSE(command.Execute());
    EXPECT_TRUE(SentRequests().empty());
    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(command.GetDevices().isEmpty());
}
