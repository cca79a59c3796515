#include "LumoRigTest.h"
#include "support/ProgressSpy.h"

#include "comm/UserNotice.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"
#include "lumo/commands/LumoContentDownloadCommand.h"
#include "lumo/commands/LumoContentMultiUploadCommand.h"
#include "lumo/commands/LumoContentUploadCommand.h"
#include "lumo/commands/LumoRemoveContentCommand.h"
#include "lumo/commands/LumoRenameContentCommand.h"
#include "lumo/commands/LumoSetQuorelIdCommand.h"

#include <QRegularExpression>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

class LumoCommandsTest : public LumoRigTest {
protected:
    static std::unique_ptr<Content> Marqa(int file, quint32 key, int frames = 15) {
        auto image = std::make_unique<MarqaImage>();
        image->FromRDMImage(Image<MarqaRDMImage>(frames, key, QStringLiteral("File %1").arg(file)));
        image->SetAddress(file);
        return image;
    }
    static std::unique_ptr<Content> Solvi(int file, quint32 key) {
        auto image = std::make_unique<SolviImage>();
        image->FromRDMImage(Image<SolviRDMImage>(2, key, "Other"));
        image->SetAddress(file);
        return image;
    }

    // The result signals of a command, as (file, ok) pairs.
    template <class Signal>
    static std::vector<std::pair<int, bool>> Results(QSignalSpy& spy, int fileArgument) {
        std::vector<std::pair<int, bool>> results;
        for (const QList<QVariant>& call : spy) {
            results.emplace_back(call[fileArgument].toInt(), call.last().toBool());
        }
        return results;
    }
};

TEST_F(LumoCommandsTest, UploadSkipsItemsOfTheOtherFamilyWithoutASignal) {
    auto fixture = AddLumo("MARQA", kMarqaUid, Holding({Folder(41)}));
    const auto device = MakeDevice<MarqaRDM>(kMarqaUid);
    ContentList items;
    items.push_back(Marqa(1, 0x11));
    items.push_back(Solvi(2, 0x22));
    items.push_back(Marqa(3, 0x33));
    MarqaContentUploadCommand command;
    command.Setup(device.get(), 41, std::move(items));
    QSignalSpy spy(&command, &MarqaContentUploadCommand::FinishedContentUpload);
    EXPECT_TRUE(command.Execute());
    EXPECT_EQ(Results<void>(spy, 1), (std::vector<std::pair<int, bool>>{{1, true}, {3, true}}));
    EXPECT_TRUE(fixture->File(41, 1) && fixture->File(41, 3));
    EXPECT_FALSE(fixture->File(41, 2));
    EXPECT_EQ(command.GetName(), "MARQA Content Upload");
}

TEST_F(LumoCommandsTest, AnImageOfMoreThan255FramesIsRefusedAndTheUploadFails) {
    auto fixture = AddLumo("MARQA", kMarqaUid, Holding({Folder(41)}));
    const auto device = MakeDevice<MarqaRDM>(kMarqaUid);
    ContentList items;
    items.push_back(Marqa(1, 0x11, 256));
    items.push_back(Marqa(2, 0x22, 255));
    MarqaContentUploadCommand command;
    command.Setup(device.get(), 41, std::move(items));
    QSignalSpy spy(&command, &MarqaContentUploadCommand::FinishedContentUpload);
    RecordingFeedback feedback;
    command.SetFeedback(&feedback);
    EXPECT_FALSE(command.Execute());
    EXPECT_EQ(Results<void>(spy, 1), (std::vector<std::pair<int, bool>>{{1, false}, {2, true}}));
    EXPECT_FALSE(fixture->File(41, 1));
    ASSERT_TRUE(fixture->File(41, 2));
    EXPECT_EQ(quint8(fixture->File(41, 2)->bytes[1]), 255);  // the header's frame count
    EXPECT_TRUE(feedback.Texts().contains(
        " Error: File 1 has 256 frames, more than the 255 an LED image can hold, not uploaded"))
        << feedback.Texts().join('\n').toStdString();
}

TEST_F(LumoCommandsTest, MulticastUploadLeavesOutAFixtureThatAbortedAFile) {
    const quint64 uids[] = {kMarqaUid, kMarqaUid + 1, kMarqaUid + 2};
    std::vector<std::shared_ptr<Sim::SimLumoFixture>> fixtures;
    std::vector<std::unique_ptr<MarqaRDM>> devices;
    QList<Device*> targets;
    for (int i = 0; i < 3; ++i) {
        Sim::LumoFixtureConfig config = Holding({Folder(41)});
        if (i == 1) {
            config.faults.abortAtBlock = 2;
        }
        fixtures.push_back(AddLumo("MARQA", uids[i], config, i));
        devices.push_back(MakeDevice<MarqaRDM>(uids[i], i));
        targets.append(devices.back().get());
    }
    ContentList items;
    for (int file = 1; file <= 3; ++file) {
        items.push_back(Marqa(file, 0x100 + quint32(file)));
    }
    MarqaContentMultiUploadCommand command;
    command.Setup(targets, 41, std::move(items));
    QSignalSpy spy(&command, &MarqaContentMultiUploadCommand::FinishedContentUpload);
    m_widget->ClearTraffic();
    EXPECT_TRUE(command.Execute());
    EXPECT_EQ(spy.size(), 3);
    EXPECT_EQ(command.Devices(), (QList<LumoRDM*>{devices[0].get(), devices[2].get()}));
    for (int file = 1; file <= 3; ++file) {
        EXPECT_TRUE(fixtures[0]->File(41, quint8(file)) && fixtures[2]->File(41, quint8(file)));
    }
    EXPECT_TRUE(fixtures[1]->Folders().value(0).files.isEmpty());
    // After the first file the aborted fixture is not even asked for its state.
    int polls = 0;
    for (const QByteArray& request : SentRequests()) {
        if ((quint8(request[21]) << 8 | quint8(request[22])) == Lumo::BulkDataReady &&
            RDMProtocol::UnpackUid(reinterpret_cast<const quint8*>(request.constData()) + 3) ==
                uids[1]) {
            ++polls;
        }
    }
    EXPECT_LE(polls, 4);  // the ready check and the blocks before the abort of file 1
}

TEST_F(LumoCommandsTest, TransfersReportTheirBlocksAndTheFixturesStillInThemUpToTheTotal) {
    const quint64 uids[] = {kMarqaUid, kMarqaUid + 1};
    std::vector<std::unique_ptr<MarqaRDM>> devices;
    QList<Device*> targets;
    for (int i = 0; i < 2; ++i) {
        Sim::LumoFixtureConfig config = Holding({Folder(41)});
        if (i == 1) {
            config.faults.abortAtBlock = 3;
        }
        AddLumo("MARQA", uids[i], config, i);
        devices.push_back(MakeDevice<MarqaRDM>(uids[i], i));
        targets.append(devices.back().get());
    }
    ContentList items;
    items.push_back(Marqa(1, 0x101, 40));
    items.push_back(Marqa(2, 0x102, 40));
    MarqaContentMultiUploadCommand upload;
    upload.Setup(targets, 41, std::move(items));
    ProgressSpy uploading(&upload);
    EXPECT_TRUE(upload.Execute());
    uploading.ExpectRisingToTheTotal();
    EXPECT_EQ(uploading.Totals(), QList<int>({2000}));  // two files
    const QStringList texts = uploading.Texts();
    ASSERT_FALSE(texts.isEmpty());
    const int blocks =
        (LumoRDMImage::kHeaderSize + 40 * MarqaRDMImage().EntrySize() + Lumo::kBlockDataSize - 1) /
        Lumo::kBlockDataSize;
    EXPECT_TRUE(texts.first().startsWith("File 1 of 2: Block 1 of " + QString::number(blocks)))
        << texts.first().toStdString();
    EXPECT_TRUE(texts.first().endsWith(", 2 fixture(s)"));
    EXPECT_EQ(texts.last(),
              QStringLiteral("File 2 of 2: Block %1 of %1 (100%), 1 fixture(s)").arg(blocks));

    std::unique_ptr<Content> wanted = std::make_unique<MarqaImage>();
    wanted->SetAddress(2);
    ContentList downloads;
    downloads.push_back(std::move(wanted));
    MarqaContentDownloadCommand download;
    download.Setup(devices[0].get(), 41, std::move(downloads));
    ProgressSpy downloading(&download);
    EXPECT_TRUE(download.Execute());
    downloading.ExpectRisingToTheTotal();
    ASSERT_FALSE(downloading.Texts().isEmpty());
    EXPECT_TRUE(QRegularExpression("^Packet (\\d+) of \\1 \\(100%\\), 1 fixture\\(s\\)$")
                    .match(downloading.Texts().last())
                    .hasMatch())
        << downloading.Texts().join('\n').toStdString();
}

TEST_F(LumoCommandsTest, RenameMakesOnlyTheRequestsTheChangeNeeds) {
    struct Case {
        const char* name;
        LumoFileRecord now;
        bool folderExists;
        int moves;
        int infos;
        bool ok;
    };
    const LumoFileRecord old{41, 1, 0x77, "Old"};
    const Case cases[] = {
        {"name only", {41, 1, 0x77, "New"}, true, 0, 1, true},
        {"number only", {41, 2, 0x77, "Old"}, true, 1, 0, true},
        {"both", {41, 3, 0x77, "New"}, true, 1, 1, true},
        {"move fails", {42, 1, 0x77, "New"}, false, 1, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_widget->ClearTraffic();
        const QByteArray image = Image<MarqaRDMImage>(1, 0x77, "Old").ToBytes();
        AddLumo("MARQA", kMarqaUid, Holding({{41, "User", {{1, 0x77, "Old", image}}}}));
        const auto device = MakeDevice<MarqaRDM>(kMarqaUid);
        LumoRenameContentCommand command;
        command.Setup(device.get(), old, c.now);
        QSignalSpy spy(&command, &LumoRenameContentCommand::FinishedContentRename);
        EXPECT_EQ(command.Execute(), c.ok);
        EXPECT_EQ(int(Requests(Lumo::MoveFile).size()), c.moves);
        EXPECT_EQ(int(Requests(Lumo::FileInfo, 0x30).size()), c.infos);
        ASSERT_EQ(spy.size(), 1);
        EXPECT_EQ(spy[0][1].toBool(), c.ok);
        m_widget->DetachResponders(0);
    }
}

TEST_F(LumoCommandsTest, RemoveReportsEveryFileAndAlwaysFinishesWell) {
    AddLumo("MARQA", kMarqaUid, Holding({Folder(41)}));
    const auto device = MakeDevice<MarqaRDM>(kMarqaUid);
    LumoRemoveContentCommand command;
    command.Setup(device.get(), {{41, 1}, {99, 2}, {41, 3}, {41, 4}, {41, 5}});
    QSignalSpy spy(&command, &LumoRemoveContentCommand::FinishedContentRemove);
    RecordingFeedback feedback;
    command.SetFeedback(&feedback);
    EXPECT_TRUE(command.Execute());
    EXPECT_EQ(Results<void>(spy, 1), (std::vector<std::pair<int, bool>>{
                                         {1, true}, {2, false}, {3, true}, {4, true}, {5, true}}));
    EXPECT_EQ(feedback.m_result.load(), FeedbackResultSuccess);
}

class CountingNotice : public UserNotice {
public:
    void Show(const QString& text) override { texts.append(text); }
    QStringList texts;
};

TEST_F(LumoCommandsTest, AFailedDownloadTellsTheUserOnTheirThread) {
    AddLumo("MARQA", kMarqaUid, Holding({Folder(41)}));
    const auto device = MakeDevice<MarqaRDM>(kMarqaUid);
    CountingNotice notice;
    QObject context;
    UserNotice::Install(&notice, &context);
    ContentList items;
    items.push_back(std::make_unique<MarqaImage>());
    items.back()->SetAddress(9);  // no such file
    MarqaContentDownloadCommand command;
    command.Setup(device.get(), 41, std::move(items));
    QSignalSpy spy(&command, &MarqaContentDownloadCommand::FinishedContentDownload);
    EXPECT_FALSE(command.Execute());
    EXPECT_TRUE(notice.texts.isEmpty());  // queued, not shown from inside the command
    QCoreApplication::processEvents();
    EXPECT_EQ(notice.texts, QStringList{"An error occurred while downloading content!"});
    ASSERT_EQ(spy.size(), 1);
    EXPECT_FALSE(spy[0][2].toBool());
    UserNotice::Install(nullptr, nullptr);
}

TEST_F(LumoCommandsTest, SetQuorelAddressWithoutADeviceFailsWithItsMessage) {
    LumoSetQuorelIdCommand command;
    command.Setup(nullptr, 12);
    RecordingFeedback feedback;
    command.SetFeedback(&feedback);
    EXPECT_FALSE(command.Execute());
    EXPECT_TRUE(feedback.Texts().contains(
        "Error: Set Quorel Address failed for 12! Invalid Device object."));
}

}  // namespace

namespace {

TEST_F(LumoCommandsTest, AnItemWithoutAContentKeyIsGivenOneFromItsData) {
    auto fixture = AddLumo("MARQA", kMarqaUid, Holding({Folder(41)}));
    const auto device = MakeDevice<MarqaRDM>(kMarqaUid);
    ContentList items;
    items.push_back(Marqa(1, 0));
    items.push_back(Marqa(2, 0, 3));
    MarqaContentUploadCommand command;
    command.Setup(device.get(), 41, std::move(items));
    ASSERT_TRUE(command.Execute());
    const quint32 first = fixture->File(41, 1)->key;
    const quint32 second = fixture->File(41, 2)->key;
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);  // other data, other key
    EXPECT_EQ(command.Item(1)->ContentKey(), first);
}

}  // namespace
