#include "LumoRigTest.h"

#include <QTest>

#include "lumo/MarqaProtocol.h"
#include "lumo/SolviProtocol.h"

#include <gtest/gtest.h>

namespace {

// A fixture whose manufacturer parameters follow a script.
class ScriptedFixture : public Sim::SimRdmResponder {
public:
    using Answer = SimRdmResponder::Answer;
    using Script = std::function<std::optional<Answer>(quint8, quint16, const QByteArray&)>;
    ScriptedFixture(Sim::RdmResponderConfig config, Script script)
        : SimRdmResponder(std::move(config)), m_script(std::move(script)) {}

    static Answer Reply(quint8 type, const QByteArray& data) { return {type, data}; }

protected:
    std::optional<Answer> OwnParameter(quint8 commandClass, quint16 pid,
                                       const QByteArray& data) override {
        return m_script(commandClass, pid, data);
    }

private:
    Script m_script;
};

// A protocol that counts the transactions it starts, by parameter id.
class CountingProtocol : public MarqaProtocol {
public:
    std::map<quint16, int> transactions;
    ResponseStatus RdmTransaction(quint8 port, quint32 deviceId, quint16 manufacturerId,
                                  quint8 commandClass, quint16 pid, const quint8* data,
                                  int dataLength, quint8* reply, quint32& replyLength,
                                  IFeedback* feedback) override {
        ++transactions[pid];
        return MarqaProtocol::RdmTransaction(port, deviceId, manufacturerId, commandClass, pid,
                                             data, dataLength, reply, replyLength, feedback);
    }
};

// A protocol whose images are plain runs of bytes of a chosen length.
class SizedProtocol : public LumoProtocol {
public:
    int size = 0;
    int SerializeImage(const LumoRDMImage&, QByteArray* out) const override {
        *out = QByteArray(size, '\x5A');
        return size;
    }
};

class LumoProtocolTest : public LumoRigTest {
protected:
    LumoProtocolTest() : m_device(MakeDevice<MarqaRDM>(kMarqaUid)) {}

    void Script(ScriptedFixture::Script script) {
        Sim::RdmResponderConfig config = Fixture(kMarqaUid);
        config.modelDescription = "MARQA";
        m_widget->DetachResponders(0);
        m_widget->AttachResponder(0, std::make_shared<ScriptedFixture>(config, std::move(script)));
    }

    bool HasLine(const QString& text) const { return m_feedback.Texts().contains(text); }

    std::unique_ptr<MarqaRDM> m_device;
    LumoProtocol& m_lumo = *MarqaProtocol::Instance();
};

TEST_F(LumoProtocolTest, ImagesAreCutIntoBlocksOf226BytesEndingWithTypeFour) {
    struct Case {
        int size;
        std::vector<int> types;
        std::vector<int> lengths;
    };
    const Case cases[] = {
        {226 * 3, {1, 2, 4}, {226, 226, 226}},
        {226, {4}, {226}},
        {100, {4}, {100}},
        {227, {1, 4}, {226, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        m_widget->ClearTraffic();
        AddLumo("MARQA", kMarqaUid, Holding({Folder(41)}));
        SizedProtocol protocol;
        protocol.size = c.size;
        protocol.UploadFile(m_device.get(), 41, 1, MarqaRDMImage(), &m_feedback);
        // Each block goes once to every port of the widget.
        const int ports = 8;
        const std::vector<QByteArray> blocks = Requests(Lumo::BroadcastFileBlock);
        ASSERT_EQ(blocks.size() % ports, 0u);
        std::vector<int> perPortTypes;
        std::vector<int> perPortLengths;
        for (size_t i = 0; i < blocks.size(); ++i) {
            const QByteArray& block = blocks[i];
            ASSERT_GE(block.size(), 5);
            EXPECT_EQ(quint8(block[0]), 41);
            EXPECT_EQ(quint8(block[1]), 1);
            EXPECT_EQ(size_t(quint8(block[2]) << 8 | quint8(block[3])), i / ports);
            if (i % ports == 0) {
                perPortTypes.push_back(quint8(block[4]));
                perPortLengths.push_back(int(block.size()) - 5);
            }
        }
        EXPECT_EQ(perPortTypes, c.types);
        EXPECT_EQ(perPortLengths, c.lengths);
        m_widget->DetachResponders(0);
    }
}

TEST_F(LumoProtocolTest, FileListsKeepOnlyTheRequestedFolderAndStopAfter250Overflows) {
    int requests = 0;
    bool endless = false;
    Script([&](quint8 commandClass, quint16 pid,
               const QByteArray&) -> std::optional<ScriptedFixture::Answer> {
        if (commandClass != 0x20 || pid != Lumo::FileInfo) {
            return std::nullopt;
        }
        ++requests;
        QByteArray entries =
            LumoWire::EncodeFile({3, 1, 0x01020304, "Three"}, LumoWire::KeyOrder::LowFirst) +
            LumoWire::EncodeFile({4, 2, 7, "Four"}, LumoWire::KeyOrder::LowFirst);
        return ScriptedFixture::Reply(endless ? 3 : 0, entries);
    });

    QList<LumoFileRecord> files;
    EXPECT_TRUE(m_lumo.GetFileInfo(m_device.get(), 3, 0, files, &m_feedback));
    EXPECT_EQ(files, (QList<LumoFileRecord>{{3, 1, 0x01020304, "Three"}}));
    EXPECT_TRUE(HasLine(" Discovered folder=4, file=2, name=Four"));

    endless = true;
    requests = 0;
    files.clear();
    m_feedback.Clear();
    EXPECT_FALSE(m_lumo.GetFileInfo(m_device.get(), 3, 0, files, &m_feedback));
    EXPECT_EQ(requests, 251);
    EXPECT_EQ(files.size(), 251);  // what arrived stays in the list
    EXPECT_TRUE(HasLine(" Error received over 250 overflow responses"));

    // Folder lists are bounded the same way.
    QList<LumoFolderRecord> folders;
    requests = 0;
    Script([&](quint8, quint16 pid, const QByteArray&) -> std::optional<ScriptedFixture::Answer> {
        if (pid != Lumo::FolderInfo) {
            return std::nullopt;
        }
        ++requests;
        return ScriptedFixture::Reply(3, LumoWire::EncodeFolder({41, "User"}));
    });
    EXPECT_FALSE(m_lumo.GetFolderInfo(m_device.get(), 0, folders, &m_feedback));
    EXPECT_EQ(requests, 251);
}

TEST_F(LumoProtocolTest, ASilentFixtureIsAskedForItsStateEvery500MsUntil101Requests) {
    CountingProtocol protocol;
    const qint64 start = clock().NowMicros();
    EXPECT_EQ(protocol.GetBulkDataReady(0, kMarqaUid, &m_feedback), Lumo::BulkAbort);
    EXPECT_EQ(protocol.transactions[Lumo::BulkDataReady], 101);
    const qint64 waited = clock().NowMicros() - start;
    EXPECT_GE(waited, 100 * 500'000LL);
    EXPECT_TRUE(HasLine(" Failed - Device did not respond."));
}

TEST_F(LumoProtocolTest, ElevenRetriesRemoveAFixtureFromATransferTenAreTolerated) {
    const MarqaRDMImage image = Image<MarqaRDMImage>(15);  // 13 blocks, 12 state reads
    for (const int retries : {10, 11}) {
        SCOPED_TRACE(retries);
        m_feedback.Clear();
        auto fixture =
            AddLumo("MARQA", kMarqaUid, Holding({Folder(41)}, Sim::LumoFaults{-1, retries, -1, 0}));
        const bool ok = m_lumo.UploadFile(m_device.get(), 41, 1, image, &m_feedback);
        const QString removed =
            " Error: Too many retries for device 0x43560000a001. Removing device";
        EXPECT_EQ(ok, retries == 10);
        EXPECT_EQ(HasLine(removed), retries == 11);
        EXPECT_EQ(fixture->File(41, 1).has_value(), retries == 10);
        m_widget->DetachResponders(0);
    }
}

TEST_F(LumoProtocolTest, QuorelAddressIsSentLowByteFirstAndReadHighByteFirst) {
    auto fixture = AddLumo("MARQA", kMarqaUid);
    ASSERT_TRUE(m_lumo.SetQuorelAddress(m_device.get(), 0x0102, &m_feedback));
    const auto sets = Requests(Lumo::QuorelAddress, 0x30);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0], QByteArray("\x02\x01", 2));
    EXPECT_EQ(fixture->QuorelAddress(), 0x0102);

    m_device->SetQuorelAddress(0);
    ASSERT_TRUE(m_lumo.GetQuorelAddress(m_device.get(), &m_feedback));
    EXPECT_EQ(m_device->GetQuorelAddress(), 0x0102);
}

TEST_F(LumoProtocolTest, NackReasonsReadAsTheirTexts) {
    const std::pair<quint16, QString> texts[] = {
        {0x810E, "(0x810e) File does not exist"},
        {0x810C, "(0x810c) File overrrun"},
        {0x8114, "(0x8114) Could not erase existing unique Id"},
        {0x8112, "Unknown Error code 0x8112 !"},
        {0x0005, "Unknown Error code 0x5 !"},
    };
    for (const auto& [reason, text] : texts) {
        EXPECT_EQ(LumoProtocol::LumoErrorText(reason), text);
    }
    AddLumo("MARQA", kMarqaUid);
    EXPECT_FALSE(m_lumo.EraseFolder(m_device.get(), 77, &m_feedback));
    EXPECT_TRUE(
        HasLine(" Device 0x43560000a001 Failed to Erase Folder: Nack Error (0x810d) Folder "
                "does not exist!"));
}

TEST_F(LumoProtocolTest, RequestsThatNameFileZeroOrFolderZeroSendNothing) {
    AddLumo("MARQA", kMarqaUid, Holding({Folder(41)}));
    EXPECT_FALSE(m_lumo.EraseFile(m_device.get(), 0, 1, &m_feedback));
    EXPECT_FALSE(m_lumo.EraseFile(m_device.get(), 41, 0, &m_feedback));
    EXPECT_FALSE(m_lumo.MoveFile(m_device.get(), 41, 1, 41, 0, &m_feedback));
    EXPECT_FALSE(m_lumo.SetFileInfo(m_device.get(), {41, 0, 1, "x"}, &m_feedback));
    EXPECT_TRUE(Requests(Lumo::EraseFile).empty());
    EXPECT_TRUE(Requests(Lumo::MoveFile).empty());
    EXPECT_TRUE(Requests(Lumo::FileInfo).empty());
}

TEST_F(LumoProtocolTest, ABroadcastWithNoFixtureLeftSendsNothingAndFails) {
    Script([](quint8, quint16 pid, const QByteArray&) -> std::optional<ScriptedFixture::Answer> {
        if (pid != Lumo::BulkDataReady) {
            return std::nullopt;
        }
        return ScriptedFixture::Reply(0, QByteArray(1, char(Lumo::BulkAbort)));
    });
    QList<LumoRDM*> devices{m_device.get()};
    EXPECT_FALSE(
        m_lumo.UploadFileToDevices(devices, 41, 1, Image<MarqaRDMImage>(3, 1, "x"), &m_feedback));
    EXPECT_TRUE(devices.isEmpty());
    EXPECT_TRUE(Requests(Lumo::BroadcastFileBlock).empty());
    EXPECT_TRUE(HasLine(" Error: No device left to upload to"));
}

TEST_F(LumoProtocolTest, TransfersWithoutAWidgetSayWhyAtOnce) {
    AddLumo("MARQA", kMarqaUid, Holding({Folder(41)}));
    layer().Unplug("w");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_comm->IsWidgetPresent(); }, 5000));
    const MarqaRDMImage image = Image<MarqaRDMImage>(3, 1, "x");
    QList<LumoRDM*> devices{m_device.get()};
    MarqaRDMImage back;
    const std::function<bool()> transfers[] = {
        [&] { return m_lumo.UploadFile(m_device.get(), 41, 1, image, &m_feedback); },
        [&] { return m_lumo.UploadFileToDevices(devices, 41, 1, image, &m_feedback); },
        [&] { return m_lumo.DownloadFile(m_device.get(), 41, 1, back, &m_feedback); },
    };
    for (const auto& transfer : transfers) {
        m_feedback.Clear();
        EXPECT_FALSE(transfer());
        ASSERT_EQ(m_feedback.Lines().size(), 2u) << m_feedback.Texts().join('\n').toStdString();
        EXPECT_EQ(m_feedback.Lines()[1].text, " Error: No communication device detected");
        EXPECT_EQ(m_feedback.Lines()[1].status, FeedbackStatusError);
    }
}

TEST_F(LumoProtocolTest, UploadedImagesDownloadByteForByte) {
    auto marqa = AddLumo("MARQA", kMarqaUid, Holding({Folder(41)}));
    auto solvi = AddLumo("Solvi", kSolviUid, Holding({Folder(251)}), 1);
    const auto solviDevice = MakeDevice<SolviRDM>(kSolviUid, 1);

    const MarqaRDMImage marqaImage = Image<MarqaRDMImage>(40, 0xCAFE0001, "Wave");
    ASSERT_TRUE(m_lumo.UploadFile(m_device.get(), 41, 7, marqaImage, &m_feedback));
    MarqaRDMImage marqaBack;
    ASSERT_TRUE(m_lumo.DownloadFile(m_device.get(), 41, 7, marqaBack, &m_feedback));
    EXPECT_EQ(marqaBack.ToBytes(), marqaImage.ToBytes());
    EXPECT_EQ(marqa->File(41, 7)->key, 0xCAFE0001u);

    LumoProtocol& solviProtocol = *SolviProtocol::Instance();
    const SolviRDMImage solviImage = Image<SolviRDMImage>(255, 0xBEEF0002, "Quorel");
    ASSERT_TRUE(solviProtocol.UploadFile(solviDevice.get(), 251, 1, solviImage, &m_feedback));
    SolviRDMImage solviBack;
    ASSERT_TRUE(solviProtocol.DownloadFile(solviDevice.get(), 251, 1, solviBack, &m_feedback));
    EXPECT_EQ(solviBack.ToBytes(), solviImage.ToBytes());

    // The file list reports the keys the fixtures took from the images.
    QList<LumoFileRecord> files;
    ASSERT_TRUE(solviProtocol.GetFileInfo(solviDevice.get(), 251, 0, files, &m_feedback));
    EXPECT_EQ(files, (QList<LumoFileRecord>{{251, 1, 0xBEEF0002, "Quorel"}}));
    EXPECT_TRUE(solvi->File(251, 1).has_value());
}

TEST_F(LumoProtocolTest, SixDownloadErrorsInARowEndADownloadFiveAreTolerated) {
    const MarqaRDMImage image = Image<MarqaRDMImage>(3);
    for (const int nacks : {5, 6}) {
        SCOPED_TRACE(nacks);
        m_feedback.Clear();
        Sim::LumoFixtureConfig config;
        config.folders = {{41, "User", {{1, 1, "Ring", image.ToBytes()}}}};
        config.faults.nackDownloadCount = nacks;
        AddLumo("MARQA", kMarqaUid, config);
        MarqaRDMImage back;
        EXPECT_EQ(m_lumo.DownloadFile(m_device.get(), 41, 1, back, &m_feedback), nacks == 5);
        EXPECT_EQ(HasLine(" Error count exceeded getting content for folder 41"), nacks == 6);
        // A failed download leaves the image as it was.
        EXPECT_EQ(back.entries.empty(), nacks == 6);
        m_widget->DetachResponders(0);
    }
}

TEST_F(LumoProtocolTest, DownloadsRefuseShortAndOversizedReplies) {
    struct Case {
        const char* name;
        QByteArray packet;
    };
    const Case cases[] = {
        {"short", QByteArray("\x29\x01\x00", 3)},
        // A fixture that never ends the file would otherwise write past the largest image.
        {"endless", QByteArray("\x29\x01\x00\x00\x02", 5) + QByteArray(226, 'x')},
        // Packets without data, never the last: bounded like errors, not 65,535 requests.
        {"empty", QByteArray("\x29\x01\x00\x00\x02", 5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int packet = 0;
        Script(
            [&](quint8, quint16 pid, const QByteArray&) -> std::optional<ScriptedFixture::Answer> {
                if (pid != Lumo::DownloadPacket) {
                    return std::nullopt;
                }
                QByteArray reply = c.packet;
                if (reply.size() >= 5) {
                    reply[2] = char(packet >> 8);
                    reply[3] = char(packet++);
                }
                return ScriptedFixture::Reply(0, reply);
            });
        MarqaRDMImage back;
        EXPECT_FALSE(m_lumo.DownloadFile(m_device.get(), 41, 1, back, &m_feedback));
        EXPECT_TRUE(back.entries.empty());
        EXPECT_LE(packet, (792 + 255 * 136) / 226 + 1);
        m_widget->DetachResponders(0);
    }
}

TEST_F(LumoProtocolTest, PacketsOutOfOrderAreRejected) {
    Script([&](quint8, quint16 pid, const QByteArray&) -> std::optional<ScriptedFixture::Answer> {
        if (pid != Lumo::DownloadPacket) {
            return std::nullopt;
        }
        static int number = 0;
        number += 2;  // skips every other packet
        return ScriptedFixture::Reply(
            0, QByteArray("\x29\x01", 2) + char(number >> 8) + char(number) + '\x02' + "data");
    });
    MarqaRDMImage back;
    EXPECT_FALSE(m_lumo.DownloadFile(m_device.get(), 41, 1, back, &m_feedback));
    EXPECT_TRUE(HasLine(" Error! Packet out of order for folder 41"));
    EXPECT_TRUE(HasLine(" Error count exceeded getting content for folder 41"));
}

}  // namespace

namespace {

TEST_F(LumoProtocolTest, TheFpgaIsProgrammedOnEveryReadyFixtureAtOnce) {
    auto first = AddLumo("MARQA", kMarqaUid);
    auto second = AddLumo("MARQA", kMarqaUid + 1, {}, 1);
    const auto other = MakeDevice<MarqaRDM>(kMarqaUid + 1, 1);
    QByteArray image(226 * 5 + 17, '\0');
    for (int i = 0; i < image.size(); ++i) {
        image[i] = char(i * 31);
    }
    QList<LumoRDM*> devices{m_device.get(), other.get()};
    ASSERT_TRUE(m_lumo.ProgramFpga(devices, image, &m_feedback));
    EXPECT_EQ(devices.size(), 2);
    EXPECT_EQ(first->FpgaImage(), image);
    EXPECT_EQ(second->FpgaImage(), image);
    // One set of blocks for both fixtures, once per port.
    EXPECT_EQ(Requests(Lumo::BroadcastFpgaBlock).size(), 6u * 8u);
    EXPECT_TRUE(HasLine(" FPGA uploaded!"));
}

}  // namespace
