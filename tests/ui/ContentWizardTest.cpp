#include "UiRig.h"
#include "WhenModal.h"
#include "archive/PackageBuilder.h"
#include "content/NamedPolicies.h"
#include "content/ledimage/MarqaImage.h"
#include "content/library/ContentLibraryPackage.h"
#include "content/library/ContentLibraryRoot.h"
#include "content/operations/FixtureTrees.h"
#include "hardware/PortLayer.h"
#include "lumo/devices/LumoRDM.h"
#include "lumo/tree/LumoRDMContentRoot.h"
#include "os/NamedFolders.h"
#include "rdm/devices/DeviceManager.h"
#include "sim/Rig.h"
#include "sim/SimulatedPortLayer.h"
#include "support/MarqaPackage.h"
#include "ui/AurelMainWindow.h"
#include "ui/OperationDialog.h"
#include "ui/tree/DeviceManagerNode.h"
#include "ui/tree/NodeModel.h"
#include "ui/tree/NodeTree.h"
#include "ui/wizards/CloneDestPage.h"
#include "ui/wizards/CloneSourcePage.h"
#include "ui/wizards/CloneWizard.h"
#include "ui/wizards/DeleteAllQuorelContentWizard.h"
#include "ui/wizards/DeleteAllUserContentWizard.h"
#include "ui/wizards/DeviceModelPage.h"
#include "ui/wizards/ErasureNote.h"
#include "ui/wizards/StockContentWizard.h"
#include "ui/wizards/UpdateQuorelContentWizard.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Fixtures added to the last line of the demo rig's widget for these tests: two MARQA fixtures and
// a Solvi one, beside the demo's MARQA and Solvi fixtures.
const char kWizardRig[] = R"({ "widgets": [ { "name": "wizard", "productCode": 17, "fixtures": [
  { "port": 3, "type": "marqa", "uid": "4356:00003001", "deviceLabel": "Left", "startAddress": 21,
    "graphicsUniqueId": "0x00a10031", "quorelAddress": 5,
    "folders": [ { "number": 3, "name": "Logos", "files": [ { "file": 1, "name": "Logo", "key": "0x31" } ] },
                 { "number": 41, "name": "Acts", "files": [ { "file": 1, "name": "Fire", "key": "0x41" },
                                                            { "file": 2, "name": "Ice", "key": "0x42" } ] },
                 { "number": 251, "name": "Quorel", "files": [ { "file": 1, "name": "Old", "key": "0x51" } ] } ] },
  { "port": 3, "type": "marqa", "uid": "4356:00003002", "deviceLabel": "Right", "startAddress": 41,
    "graphicsUniqueId": "0x00a10032", "quorelAddress": 6,
    "folders": [ { "number": 41, "name": "Acts", "files": [ { "file": 1, "name": "Fire", "key": "0x41" } ] },
                 { "number": 60, "name": "Extra", "files": [ { "file": 1, "name": "Gone", "key": "0x60" } ] } ] },
  { "port": 3, "type": "solvi", "uid": "4356:00004001", "deviceLabel": "Floor", "startAddress": 61,
    "graphicsUniqueId": "0x00b20041", "quorelAddress": 7, "folders": [] } ] } ] })";

constexpr quint64 kLeft = 0x435600003001ULL;
constexpr quint64 kRight = 0x435600003002ULL;
constexpr int kWaitMs = 30000;
constexpr int kLine = 3;  // a line of the demo widget with one talk-back fixture
constexpr int kDemoLines = 4;

const char* const kNoDevices =
    "No devices selected.  Select one or more devices to update before continuing.";

Sim::SimulatedPortLayer& Layer() {
    return static_cast<Sim::SimulatedPortLayer&>(Hardware::PortLayer::Instance());
}

// Every file of a folder group of a fixture, as "FOLDER NAME: FILE NAME, ...", in order.
QStringList Store(const Sim::SimLumoFixture& fixture, int first, int last) {
    QStringList text;
    for (const Sim::LumoStoredFolder& folder : fixture.Folders()) {
        if (folder.number < first || folder.number > last) {
            continue;
        }
        QStringList files;
        for (const Sim::LumoStoredFile& file : folder.files) {
            files.append(QStringLiteral("%1 %2").arg(file.number).arg(file.name));
        }
        text.append(
            QStringLiteral("%1 %2: %3").arg(folder.number).arg(folder.name, files.join(", ")));
    }
    return text;
}

QStringList UserStore(const Sim::SimLumoFixture& fixture) {
    return Store(fixture, 41, 250);
}

QStringList Headers(const QTreeWidget* tree) {
    QStringList headers;
    for (int column = 0; column < tree->columnCount(); ++column) {
        headers.append(tree->headerItem()->text(column));
    }
    return headers;
}

// The rows of a tree, each "TEXT" and its children indented below it.
QStringList Rows(const QTreeWidgetItem* parent, int depth = 0) {
    QStringList rows;
    for (int i = 0; i < parent->childCount(); ++i) {
        const QTreeWidgetItem* item = parent->child(i);
        QString text = QString(depth * 2, ' ') + item->text(0);
        if (!item->text(1).isEmpty()) {
            text += " | " + item->text(1);
        }
        rows.append(text);
        rows += Rows(item, depth + 1);
    }
    return rows;
}

QStringList Rows(const QTreeWidget* tree) {
    return Rows(tree->invisibleRootItem());
}

void Check(QTreeWidget* tree, const QString& startsWith) {
    const QList<QTreeWidgetItem*> found =
        tree->findItems(startsWith, Qt::MatchStartsWith | Qt::MatchRecursive,
                        tree->columnCount() - 1);  // the description
    ASSERT_EQ(found.size(), 1) << startsWith.toStdString();
    found[0]->setCheckState(0, Qt::Checked);
}

using MarqaPackage::Image;
using MarqaPackage::WriteText;

// Answers every message box that opens while it lives, keeping the last one's title and text.
class BoxWatcher {
public:
    BoxWatcher() {
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                m_shown = box->windowTitle() + ": " + box->text();
                box->accept();
            }
        });
        m_poll.start(10);
    }
    // What the last box said, once one has opened.
    QString Shown() {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !m_shown.isEmpty(); }, 5000));
        return m_shown;
    }

private:
    QTimer m_poll;
    QString m_shown;
};

class ContentWizardTest : public ::testing::Test {
protected:
    ContentWizardTest() {
        NamedPolicies::Register();
        QString error;
        const std::optional<Sim::Rig> rig = Sim::Rig::Parse(kWizardRig, &error);
        if (!rig) {
            ADD_FAILURE() << error.toStdString();
            return;
        }
        for (const Sim::RigFixture& fixture : rig->widgets[0].fixtures) {
            m_fixtures.push_back(std::make_shared<Sim::SimLumoFixture>(fixture.rdm, fixture.led));
            Widget()->AttachResponder(kLine, m_fixtures.back());
        }
        DeviceManager::Instance()->MergeDiscovery({});
        m_devices = dynamic_cast<DeviceManagerNode*>(m_window.Tree()->Model()->item(0));
    }

    ~ContentWizardTest() override {
        // Uploads are broadcast to every line, so the demo's own LED fixtures took files too:
        // the widget gets the demo's fixtures back as they were, for the tests that follow.
        const Sim::Rig demo = Sim::Rig::Demo();
        for (int line = 0; line < kDemoLines; ++line) {
            Widget()->DetachResponders(line);
        }
        demo.widgets[0].AttachFixtures(*Widget());
        DeviceManager::Instance()->MergeDiscovery({});
        QDir(Os::NamedFolders::Path("StockContent")).removeRecursively();
        QDir(Os::NamedFolders::Path("QuorelContentLibraryRoot")).removeRecursively();
        QDir(Os::NamedFolders::Path("ContentLibraryRoot")).removeRecursively();
    }

    static std::shared_ptr<Sim::SimWidget> Widget() { return Layer().Widget("demo-dmx-4"); }

    // The demo rig's fixtures and the three these tests add.
    static int RigFixtureCount() { return DemoFixtureCount() + 3; }

    // Discovers through the menu and waits until every LED fixture's content has been read.
    void Discover() {
        m_window.FindAction("&Discover All Devices")->trigger();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return m_devices->rowCount() == RigFixtureCount(); }, kWaitMs))
            << m_devices->rowCount() << " of " << RigFixtureCount();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                for (Device* device : Devices()) {
                    auto* fixture = qobject_cast<LumoRDM*>(device);
                    if (fixture &&
                        FixtureTree(fixture)->ContentRead() != LumoRDMContentFolder::Read) {
                        return false;
                    }
                }
                return true;
            },
            kWaitMs));
    }

    static QList<Device*> Devices() { return DeviceManager::Instance()->Devices(); }

    static LumoRDM* Fixture(quint64 uid) {
        return qobject_cast<LumoRDM*>(DeviceManager::Instance()->FindDevice(uid));
    }

    // Lets the command queue finish what the job left behind.
    static void Settle() { QTest::qWait(200); }

    // Triggers the menu action and answers its wizard: `fill` chooses on the wizard's pages,
    // then Finish is pressed. What message boxes say meanwhile goes to `told`.
    template <class Wizard>
    void RunJob(const char* caption, std::function<void(Wizard*)> fill) {
        WhenModal<Wizard>([fill](Wizard* wizard) {
            fill(wizard);
            wizard->button(QWizard::FinishButton)->click();
        });
        m_window.FindAction(caption)->trigger();
    }

    // Answers the next message box and keeps its title and text.
    void Answer() {
        m_told.clear();
        WhenModal<QMessageBox>([this](QMessageBox* box) {
            m_told = box->windowTitle() + ": " + box->text();
            box->accept();
        });
    }

    // The rows of the fixture's group in the window's tree, as "NUMBER NAME".
    QStringList TreeFolders(quint64 uid, const QString& group) const {
        const QAbstractItemModel* model = m_window.Tree()->Model();
        const QModelIndex fixture = model->index(m_devices->RowOf(uid), 0, m_devices->index());
        QStringList rows;
        for (int g = 0; g < model->rowCount(fixture); ++g) {
            if (model->index(g, 1, fixture).data().toString() != group) {
                continue;
            }
            const QModelIndex folders = model->index(g, 0, fixture);
            for (int f = 0; f < model->rowCount(folders); ++f) {
                rows.append(QStringLiteral("%1 %2")
                                .arg(model->index(f, 0, folders).data().toInt())
                                .arg(model->index(f, 1, folders).data().toString()));
            }
        }
        return rows;
    }

    // A MARQA package "Show" in the window's library: "Acts" (41) with Fire and Sun, "New"
    // (42) with Moon.
    void AddShowPackage() {
        ContentLibraryRoot* library = m_window.Library();
        ASSERT_TRUE(library->AddFolder("Show", 0, nullptr));
        auto* package = qobject_cast<ContentLibraryPackage*>(library->Child(0));
        package->HandDownPolicy(&NamedPolicies::MarqaContentPackage());
        const QList<std::tuple<QString, int, QList<std::tuple<QString, int, quint32>>>> folders = {
            {"Acts", 41, {{"Fire", 1, 0x41}, {"Sun", 2, 0x43}}}, {"New", 42, {{"Moon", 1, 0x44}}}};
        for (const auto& [name, address, items] : folders) {
            ASSERT_TRUE(package->AddFolder(name, address, nullptr));
            auto* folder = qobject_cast<ContentFolder*>(package->Child(package->ChildCount() - 1));
            for (const auto& [item, number, key] : items) {
                ContentList list;
                list.push_back(Image(item, number, key));
                ASSERT_TRUE(folder->AddContent(std::move(list), nullptr));
            }
        }
    }

    const Sim::SimLumoFixture& Left() const { return *m_fixtures[0]; }
    const Sim::SimLumoFixture& Right() const { return *m_fixtures[1]; }

    AurelMainWindow m_window;
    DeviceManagerNode* m_devices = nullptr;
    std::vector<std::shared_ptr<Sim::SimLumoFixture>> m_fixtures;
    QString m_told;
};

using WizardFactory = std::function<std::unique_ptr<DeviceSelectionWizard>(const QList<Device*>&)>;

template <class Wizard>
WizardFactory Make() {
    return [](const QList<Device*>& devices) { return std::make_unique<Wizard>(devices); };
}

TEST_F(ContentWizardTest, DevicesPagesListTheChosenModelAndRefuseToGoOnWithNothingChecked) {
    Discover();
    struct Case {
        WizardFactory make;
        const char* title;
        const char* modelSubtitle;
        const char* devicesSubtitle;
        QStringList columns;
    };
    const Case cases[] = {
        {Make<DeleteAllUserContentWizard>(),
         "Delete All User Content Wizard",
         "This wizard will remove all user content on the selected devices.",
         "Select the devices to update.  User content on the selected devices WILL be removed.",
         {"Address", "Description"}},
        {Make<DeleteAllQuorelContentWizard>(),
         "Delete All Quorel Content Wizard",
         "This wizard will remove all Quorel content on the selected devices.",
         "Select the devices to update.  Quorel content on the selected devices WILL be removed.",
         {"Address", "Quorel Address", "Description"}},
        {Make<StockContentWizard>(),
         "Stock Content Wizard",
         "This wizard will update the stock content on the selected devices.",
         "Select the devices to update.  User content on the selected devices will NOT be "
         "affected.",
         {"Address", "Description"}},
        {Make<UpdateQuorelContentWizard>(),
         "Quorel Content Wizard",
         "This wizard will update the quorel content on the selected devices.",
         "Select the devices to update.  User and Stock content on the selected devices will NOT "
         "be affected.",
         {"DMX Address", "Quorel Address", "Description"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const std::unique_ptr<DeviceSelectionWizard> wizard = c.make(Devices());
        wizard->show();
        EXPECT_EQ(wizard->windowTitle(), c.title);
        DeviceModelPage* modelPage = wizard->ModelPage();
        EXPECT_EQ(modelPage->title(), "Select Device Model");
        EXPECT_EQ(modelPage->subTitle(), c.modelSubtitle);
        QStringList models;
        for (int i = 0; i < modelPage->ModelBox()->count(); ++i) {
            models.append(modelPage->ModelBox()->itemText(i));
        }
        EXPECT_EQ(models, QStringList({"MARQA", "Solvi"}));  // LED fixtures only, each once
        EXPECT_TRUE(modelPage->isComplete());

        wizard->next();
        DeviceSelectionPage* page = wizard->SelectionPage();
        ASSERT_EQ(wizard->currentPage(), page);
        EXPECT_EQ(page->title(), "Select Devices");
        EXPECT_EQ(page->subTitle(), c.devicesSubtitle);
        EXPECT_EQ(page->ModelLabel()->text(), "MARQA");
        EXPECT_EQ(Headers(page->List()), c.columns);
        EXPECT_EQ(page->List()->FixtureCount(), 3);
        EXPECT_FALSE(page->List()->topLevelItem(0)->icon(0).isNull());
        EXPECT_EQ(page->List()->topLevelItem(0)->checkState(0), Qt::Unchecked);

        Answer();
        wizard->button(QWizard::FinishButton)->click();
        EXPECT_EQ(m_told, c.title + QString(": ") + kNoDevices);
        EXPECT_TRUE(wizard->isVisible());  // the page stays

        page->SelectAllButton()->click();
        EXPECT_EQ(page->CheckedDevices().size(), 3);
        page->ClearAllButton()->click();
        EXPECT_TRUE(page->CheckedDevices().isEmpty());

        // Another model, other rows.
        wizard->back();
        modelPage->ModelBox()->setCurrentText("Solvi");
        wizard->next();
        EXPECT_EQ(page->ModelLabel()->text(), "Solvi");
        QStringList rows;
        for (int i = 0; i < page->List()->topLevelItemCount(); ++i) {
            rows.append(page->List()->topLevelItem(i)->text(c.columns.size() - 1));
        }
        EXPECT_EQ(rows, QStringList({"Solvi Floor (0x435600002001)", "Floor (0x435600004001)"}));
        Check(page->List(), "Floor");
        EXPECT_EQ(page->CheckedDevices(),
                  QList<Device*>({DeviceManager::Instance()->FindDevice(0x435600004001ULL)}));
    }
}

TEST_F(ContentWizardTest, AModelPageWithNoLedFixtureIsNotComplete) {
    DeleteAllUserContentWizard wizard({});
    EXPECT_FALSE(wizard.ModelPage()->isComplete());
}

TEST_F(ContentWizardTest, DeletePagesSayHowMuchTheCheckedFixturesWillLose) {
    Discover();
    DeleteAllUserContentWizard users(Devices());
    users.show();
    users.next();
    ErasureNote* note = users.SelectionPage()->Note();
    ASSERT_TRUE(note);
    EXPECT_EQ(note->text(), "");
    Check(users.SelectionPage()->List(), "Left");
    EXPECT_EQ(note->text(), "2 items of user content will be removed from 1 checked device.");
    Check(users.SelectionPage()->List(), "Right");
    EXPECT_EQ(note->text(), "4 items of user content will be removed from 2 checked devices.");

    DeleteAllQuorelContentWizard quorel(Devices());
    quorel.show();
    quorel.next();
    Check(quorel.SelectionPage()->List(), "Left");
    Check(quorel.SelectionPage()->List(), "Right");
    EXPECT_EQ(quorel.SelectionPage()->Note()->text(),
              "1 item of Quorel content will be removed from 2 checked devices.");

    StockContentWizard stock(Devices());
    EXPECT_EQ(stock.SelectionPage()->Note(), nullptr);  // an update removes nothing of the user's
}

TEST_F(ContentWizardTest, CloneSourceTreeSaysWhenThereAreNoFixturesOrPackages) {
    QTemporaryDir dir;
    ContentLibraryRoot empty(dir.path());
    CloneWizard wizard({}, &empty);
    EXPECT_EQ(wizard.windowTitle(), "Content Clone Wizard");
    CloneSourcePage* page = wizard.SourcePage();
    EXPECT_EQ(page->title(), "Select Source Device or Package");
    EXPECT_EQ(Headers(page->Tree()), QStringList({"Address", "Description"}));
    EXPECT_EQ(Rows(page->Tree()), QStringList({"Devices", "  (no devices found)", "User Content",
                                               "  (no packages found)"}));
}

TEST_F(ContentWizardTest, CloneWizardOffersTheSourcesFamilyAsDestinations) {
    Discover();
    AddShowPackage();
    CloneWizard wizard(Devices(), m_window.Library());
    wizard.show();
    CloneSourcePage* source = wizard.SourcePage();
    EXPECT_EQ(Rows(source->Tree()),
              QStringList({"Devices", "  1 | Marqa Stage (0x435600001001)",
                           "  1 | Solvi Floor (0x435600002001)", "  21 | Left (0x435600003001)",
                           "  41 | Right (0x435600003002)", "  61 | Floor (0x435600004001)",
                           "User Content", "   | Show (MARQA)"}));

    Answer();
    wizard.next();
    EXPECT_EQ(m_told,
              "Content Clone Wizard: No source selected.  Select a source device or "
              "folder before continuing.");
    EXPECT_EQ(wizard.currentPage(), source);

    // A package: every fixture of its family.
    source->Tree()->setCurrentItem(source->RowOf(m_window.Library()->Child(0)));
    wizard.next();
    CloneDestPage* dest = wizard.DestPage();
    ASSERT_EQ(wizard.currentPage(), dest);
    EXPECT_EQ(dest->SourceLabel()->text(), "Show (MARQA)");
    EXPECT_EQ(Rows(dest->List()),
              QStringList({"Devices", "  MARQA, Address 1 | Marqa Stage (0x435600001001)",
                           "  MARQA, Address 21 | Left (0x435600003001)",
                           "  MARQA, Address 41 | Right (0x435600003002)"}));
    Answer();
    wizard.button(QWizard::FinishButton)->click();
    EXPECT_EQ(m_told,
              "Content Clone Wizard: No destination devices selected.  Select one or more "
              "destination devices before continuing.");
    Check(dest->List(), "Right");
    EXPECT_EQ(dest->Note()->text(),
              "2 items of user content on 1 checked device will be removed or replaced by the "
              "source's.");
    EXPECT_EQ(wizard.Source(), m_window.Library()->Child(0));
    EXPECT_EQ(wizard.Destinations(),
              QList<ContentFolder*>({FixtureTree(Fixture(kRight))->UserGroup()}));

    // A fixture: the others of its family, itself left out.
    wizard.back();
    source->Tree()->setCurrentItem(source->RowOf(Fixture(kLeft)));
    wizard.next();
    EXPECT_EQ(dest->SourceLabel()->text(), "Left (0x435600003001)");
    EXPECT_EQ(Rows(dest->List()),
              QStringList({"Devices", "  MARQA, Address 1 | Marqa Stage (0x435600001001)",
                           "  MARQA, Address 41 | Right (0x435600003002)"}));
    EXPECT_EQ(wizard.Source(), FixtureTree(Fixture(kLeft))->UserGroup());
}

TEST_F(ContentWizardTest, SlotsSayWhatIsMissingBeforeAnyWizard) {
    Discover();
    Answer();
    m_window.FindAction("C&lone Devices")->trigger();
    EXPECT_EQ(m_told,
              ": No content packages have been created.  Create or import a content package to the "
              "user content library.");

    // The Quorel library holds no collage.
    BoxWatcher boxes;
    RunJob<UpdateQuorelContentWizard>("Update &Quorel Content", [](auto* wizard) {
        wizard->next();
        Check(wizard->SelectionPage()->List(), "Left");
    });
    EXPECT_EQ(boxes.Shown(), "Update Quorel Content: Failed to determine source.");
    EXPECT_EQ(Store(Left(), 251, 255), QStringList({"251 Quorel: 1 Old"}));
}

TEST_F(ContentWizardTest, DeletingUserAndQuorelContentEmptiesTheCheckedFixturesAndTheirTrees) {
    Discover();
    RunJob<DeleteAllUserContentWizard>("Dele&te All User Content", [](auto* wizard) {
        wizard->next();
        Check(wizard->SelectionPage()->List(), "Left");
        Check(wizard->SelectionPage()->List(), "Right");
    });
    Settle();
    EXPECT_EQ(UserStore(Left()), QStringList());
    EXPECT_EQ(UserStore(Right()), QStringList());
    EXPECT_EQ(Store(Left(), 1, 40), QStringList({"3 Logos: 1 Logo"}));
    EXPECT_EQ(Store(Left(), 251, 255), QStringList({"251 Quorel: 1 Old"}));
    EXPECT_EQ(TreeFolders(kLeft, "User Content"), QStringList());
    EXPECT_EQ(TreeFolders(kLeft, "Quorel Content"), QStringList({"251 Quorel"}));

    RunJob<DeleteAllQuorelContentWizard>("Delete All Quore&l Content", [](auto* wizard) {
        wizard->next();
        Check(wizard->SelectionPage()->List(), "Left");
    });
    Settle();
    EXPECT_EQ(Store(Left(), 251, 255), QStringList());
    EXPECT_EQ(Store(Left(), 1, 40), QStringList({"3 Logos: 1 Logo"}));
    EXPECT_EQ(TreeFolders(kLeft, "Quorel Content"), QStringList());
}

TEST_F(ContentWizardTest, StockUpdateGivesTheCheckedFixturesTheirFamilysStockPackage) {
    QTemporaryDir dir;
    const QString source = dir.filePath("stock");
    MarqaPackage::WriteFolder(source, "Logos", 3, {{"Logo", 1, 0x31}, {"Star", 2, 0x32}});
    const QString stock = Os::NamedFolders::Path("StockContent");
    QDir().mkpath(stock);
    QString error;
    ASSERT_TRUE(PackageBuilder::Pack(source, stock + "/marqa_stock_content.lumopkg", true, &error))
        << error.toStdString();
    Discover();

    const auto update = [this] {
        RunJob<StockContentWizard>("Updat&e Stock Content", [](auto* wizard) {
            wizard->next();
            Check(wizard->SelectionPage()->List(), "Left");
            Check(wizard->SelectionPage()->List(), "Right");
        });
    };
    update();
    Settle();
    const QStringList expected = {"3 Logos: 1 Logo, 2 Star"};
    EXPECT_EQ(Store(Left(), 1, 40), expected);
    EXPECT_EQ(Store(Right(), 1, 40), expected);
    EXPECT_EQ(UserStore(Left()), QStringList({"41 Acts: 1 Fire, 2 Ice"}));
    EXPECT_EQ(TreeFolders(kRight, "Stock Content"), QStringList({"3 Logos"}));

    BoxWatcher boxes;
    update();
    EXPECT_EQ(boxes.Shown(), "Update Stock Content: Stock Content Up To Date.");
}

TEST_F(ContentWizardTest, QuorelUpdateGivesTheFixtureTheImageMadeForItsQuorelAddress) {
    const QString wave = Os::NamedFolders::Path("QuorelContentLibraryRoot") + "/Wave/Wave";
    QDir().mkpath(wave);
    ASSERT_TRUE(Image("w5", 1, 0x501)->Save(wave + "/w5.mqi"));
    ASSERT_TRUE(Image("w6", 2, 0x601)->Save(wave + "/w6.mqi"));
    WriteText(wave + "/../config.xml",
              "<objects policy=\"MARQAQUORELContentPackagePolicy\"><folder name=\"Wave\" "
              "address=\"251\"/></objects>");
    WriteText(wave + "/config.xml",
              "<objects policy=\"MARQAQUORELContentFolderPolicy\"><content name=\"w5\" "
              "address=\"1\" quorelID=\"5\"/><content name=\"w6\" address=\"2\" "
              "quorelID=\"6\"/></objects>");
    Discover();
    const auto update = [this] {
        RunJob<UpdateQuorelContentWizard>("Update &Quorel Content", [](auto* wizard) {
            wizard->next();
            Check(wizard->SelectionPage()->List(), "Left");
        });
    };
    update();
    Settle();
    EXPECT_EQ(Store(Left(), 251, 255), QStringList({"251 Wave: 1 w5"}));
    EXPECT_EQ(UserStore(Left()), QStringList({"41 Acts: 1 Fire, 2 Ice"}));
    EXPECT_EQ(TreeFolders(kLeft, "Quorel Content"), QStringList({"251 Wave"}));

    BoxWatcher boxes;
    update();
    EXPECT_EQ(boxes.Shown(), "Update Quorel Content: Quorel Content Up To Date.");
}

TEST_F(ContentWizardTest, CloningAFixtureThenAPackageMakesTheDestinationsEqualTheSource) {
    Discover();
    AddShowPackage();
    LumoRDM* left = Fixture(kLeft);
    RunJob<CloneWizard>("C&lone Devices", [left](CloneWizard* wizard) {
        CloneSourcePage* source = wizard->SourcePage();
        source->Tree()->setCurrentItem(source->RowOf(left));
        wizard->next();
        Check(wizard->DestPage()->List(), "Right");
    });
    Settle();
    EXPECT_EQ(UserStore(Right()), QStringList({"41 Acts: 1 Fire, 2 Ice"}));
    EXPECT_EQ(UserStore(Right()), UserStore(Left()));
    EXPECT_EQ(TreeFolders(kRight, "User Content"), QStringList({"41 Acts"}));

    QString dialogTitle;
    QTimer watch;  // the operation dialog's title, while it runs
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<OperationDialog*>(QApplication::activeModalWidget())) {
            dialogTitle = dialog->windowTitle();
        }
    });
    watch.start(5);
    RunJob<CloneWizard>("C&lone Devices", [this](CloneWizard* wizard) {
        CloneSourcePage* source = wizard->SourcePage();
        source->Tree()->setCurrentItem(source->RowOf(m_window.Library()->Child(0)));
        wizard->next();
        Check(wizard->DestPage()->List(), "Left");
        Check(wizard->DestPage()->List(), "Right");
    });
    Settle();
    const QStringList show = {"41 Acts: 1 Fire, 2 Sun", "42 New: 1 Moon"};
    EXPECT_EQ(dialogTitle, "Cloning Show to 2 location(s)");
    EXPECT_EQ(UserStore(Left()), show);
    EXPECT_EQ(UserStore(Right()), show);
    EXPECT_EQ(Store(Left(), 1, 40), QStringList({"3 Logos: 1 Logo"}));  // stock untouched
    EXPECT_EQ(TreeFolders(kRight, "User Content"), QStringList({"41 Acts", "42 New"}));
}

}  // namespace
