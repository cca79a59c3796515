#include "ModalAnswers.h"
#include "UiRig.h"
#include "WhenModal.h"
#include "comm/IFeedback.h"
#include "content/NamedPolicies.h"
#include "content/ledimage/MarqaImage.h"
#include "content/library/ContentLibraryFolder.h"
#include "content/library/ContentLibraryPackage.h"
#include "content/library/ContentLibraryRoot.h"
#include "content/operations/ContentOperation.h"
#include "rdm/devices/DeviceManager.h"
#include "rdm/devices/RDMDevice.h"
#include "sim/Rig.h"
#include "ui/AddressDialog.h"
#include "ui/AurelMainWindow.h"
#include "ui/Preferences.h"
#include "ui/import/ImageViewDialog.h"
#include "ui/quorel/QuorelDialog.h"
#include "ui/tasks/CommandItem.h"
#include "ui/tasks/TaskView.h"
#include "ui/tree/DeviceDelegate.h"
#include "ui/tree/DeviceManagerNode.h"
#include "ui/tree/DeviceNode.h"
#include "ui/tree/NodeModel.h"
#include "ui/tree/NodeTree.h"
#include "ui/views/ContentFolderList.h"
#include "ui/views/ContentFolderModel.h"
#include "ui/views/ContentFolderView.h"
#include "ui/views/DeviceListView.h"
#include "ui/views/DeviceView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

QString CellText(const QAbstractItemModel* model, int row, int column) {
    return model->index(row, column).data().toString();
}

QString PropertyValue(const QStandardItemModel* model, const QString& parameter) {
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->item(row, 0)->text() == parameter) {
            return model->item(row, 1)->text();
        }
    }
    return "(missing)";
}

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        DeviceManager::Instance()->MergeDiscovery({});  // every test starts undiscovered
        m_devices = dynamic_cast<DeviceManagerNode*>(m_window.Tree()->Model()->item(0));
    }

    void Discover() {
        m_window.FindAction("&Discover All Devices")->trigger();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return m_devices->rowCount() == DemoFixtureCount(); }, 30000));
    }

    QModelIndex DeviceIndex(quint64 uid, int column) const {
        const int row = m_devices->RowOf(uid);
        EXPECT_GE(row, 0);
        return m_devices->child(row, column)->index();
    }

    void Select(const QModelIndex& index) { m_window.Tree()->setCurrentIndex(index); }

    QWidget* CurrentView() const { return m_window.ViewArea()->currentWidget(); }

    DeviceDelegate* DelegateOf(const QModelIndex& index) const {
        return qobject_cast<DeviceDelegate*>(
            m_window.Tree()->DelegateFor(m_window.Tree()->NodeAt(index)));
    }

    // The caption of the context-menu entries of a device row.
    QStringList MenuCaptions(const QModelIndex& index) const {
        QStringList captions;
        Node* node = m_window.Tree()->NodeAt(index);
        if (std::unique_ptr<QMenu> menu = DelegateOf(index)->BuildMenu(node, m_window.Tree())) {
            for (QAction* action : menu->actions()) {
                captions.append(action->text());
            }
        }
        return captions;
    }

    void TriggerMenuEntry(const QModelIndex& index, const QString& caption) {
        Node* node = m_window.Tree()->NodeAt(index);
        std::unique_ptr<QMenu> menu = DelegateOf(index)->BuildMenu(node, m_window.Tree());
        ASSERT_TRUE(menu);
        for (QAction* action : menu->actions()) {
            if (action->text() == caption) {
                action->trigger();
                return;
            }
        }
        FAIL() << "no entry " << caption.toStdString();
    }

    static constexpr quint64 kWashSr = 0x4A4100000102ULL;  // RDM, address 15
    static constexpr quint64 kTalkBack = 0x00A1B2C3ULL;    // talk-back fixture
    static constexpr quint64 kMarqa = 0x435600001001ULL;   // LED fixture, Quorel address 12

    AurelMainWindow m_window;
    DeviceManagerNode* m_devices = nullptr;
};

}  // namespace

TEST_F(MainWindowTest, WindowHasItsTitleTreeAndMenus) {
    EXPECT_EQ(m_window.windowTitle(), "Aurel - Corvane");
    EXPECT_EQ(AurelMainWindow::Instance(), &m_window);
    const NodeModel* model = m_window.Tree()->Model();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "Address");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Name");
    ASSERT_EQ(model->rowCount(), 4);
    EXPECT_EQ(model->item(0)->text(), "Devices");

    QStringList menus;
    for (QAction* menu : m_window.menuBar()->actions()) {
        menus.append(menu->text());
    }
    EXPECT_EQ(menus, QStringList({"File", "Device", "Quorel", "Help"}));
    struct Row {
        const char* caption;
        const char* shortcut;
        const char* tip;
    };
    const Row rows[] = {
        {"Exit", "Ctrl+Q", "Exit Application"},
        {"&Discover All Devices", "Ctrl+D", "Discover All Devices"},
        {"Discover O&RX Devices", "Ctrl+W", "Discover ORX Devices"},
        {"Discover &RDM Devices", "Ctrl+R", "Discover RDM Devices"},
        {"T&horough Discovery", "", "Search every RDM range slowly, for fixtures that answer late"},
        {"&Upgrade Devices", "Ctrl+U", "Upgrade software"},
        {"Updat&e Stock Content", "Ctrl+E", "Update Stock Content"},
        {"Dele&te All User Content", "Ctrl+T", "Delete All User Content"},
        {"C&lone Devices", "Ctrl+L", "Clone content to devices"},
        {"C&reate...", "", "Create New Quorel"},
        {"Update &Quorel Content", "Ctrl+P", "Update Quorel Content"},
        {"Delete All Quore&l Content", "Ctrl+G", "Delete All Quorel Content"},
        {"About", "", "About Aurel"},
    };
    for (const Row& row : rows) {
        QAction* action = m_window.FindAction(row.caption);
        ASSERT_TRUE(action) << row.caption;
        EXPECT_EQ(action->shortcut().toString(), row.shortcut) << row.caption;
        EXPECT_EQ(action->statusTip(), row.tip) << row.caption;
        EXPECT_FALSE(action->icon().pixmap(16, 16).isNull()) << row.caption;
    }
}

TEST_F(MainWindowTest, AnOperationsMessageOpensAnInformationBoxOnTheWindow) {
    // Says it is up to date from its own thread, as the content updates do.
    class UpToDate : public ContentOperation {
    public:
        QString Title() const override { return "Update Stock Content"; }
        bool CanExecute() const override { return true; }
        int Execute(IFeedback*, int) override {
            emit InformationMessageBox("Update Stock Content", "Stock Content Up To Date.");
            return Succeeded;
        }
    };
    QString shown;
    QTimer poll;  // the box opens once the dialog has gone
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->windowTitle() + ": " + box->text();
            box->accept();
        }
    });
    poll.start(10);
    EXPECT_TRUE(m_window.RunOperation(std::make_unique<UpToDate>()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, 5000));
    EXPECT_EQ(shown, "Update Stock Content: Stock Content Up To Date.");
}

TEST_F(MainWindowTest, AboutShowsTheNameAndVersion) {
    QString text;
    WhenModal<QDialog>([&](QDialog* dialog) {
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            text += label->text();
        }
        dialog->accept();
    });
    m_window.FindAction("About")->trigger();
    EXPECT_TRUE(text.contains("Aurel")) << text.toStdString();
    EXPECT_TRUE(text.contains(QCoreApplication::applicationVersion())) << text.toStdString();
    EXPECT_FALSE(QCoreApplication::applicationVersion().isEmpty());
}

TEST_F(MainWindowTest, ContentNodesShowTheDefaultView) {
    for (int row = 1; row < 4; ++row) {
        Select(m_window.Tree()->Model()->index(row, 0));
        const QLabel* label = CurrentView()->findChild<QLabel*>();
        ASSERT_TRUE(label) << row;
        EXPECT_EQ(label->text(), "The selected item cannot be viewed");
    }
}

TEST_F(MainWindowTest, NeedsDevicesActionsSayNoDevicesBeforeDiscovery) {
    const char* captions[] = {"Updat&e Stock Content", "Dele&te All User Content", "C&lone Devices",
                              "Update &Quorel Content", "Delete All Quore&l Content"};
    for (const char* caption : captions) {
        QString text;
        QString title = "unset";
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            text = box->text();
            title = box->windowTitle();
            box->accept();
        });
        m_window.FindAction(caption)->trigger();
        EXPECT_EQ(text, "No devices have been discovered") << caption;
        EXPECT_EQ(title, QString()) << caption;
    }
    QString text;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        text = box->text();
        box->accept();
    });
    m_window.FindAction("&Upgrade Devices")->trigger();
    EXPECT_EQ(text, "No upgradable devices have been discovered");
}

// Quorel, Create opens the creator, and a collage it creates appears under "Quorel Content" at
// once.
TEST_F(MainWindowTest, TheQuorelCreatorAddsItsCollagesToTheTree) {
    QTemporaryDir dir;
    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(Qt::green);
    const QString media = dir.filePath("green.png");
    ASSERT_TRUE(picture.save(media));
    QStandardItem* quorel = m_window.Tree()->Model()->item(3);
    ASSERT_EQ(quorel->text(), "Quorel Content");
    const int before = quorel->rowCount();

    QString title;
    std::vector<QString> boxes;
    WhenModal<QuorelDialog>([&](QuorelDialog* dialog) {
        title = dialog->windowTitle();
        QuorelTemplate* layout = dialog->Templates().AddNew(QuorelTypes::kSolvi);
        layout->AddFixture({{0.5, 0.5}, {0.2, 0.2}, 3, QuorelTypes::kSolvi});
        dialog->SelectTemplate(dialog->Templates().Count() - 1);
        ASSERT_TRUE(dialog->LoadMedia(media));
        ModalAnswers answers({"Green Wash"});
        dialog->onCreateQuorel();
        boxes = answers.boxes;
        dialog->reject();
    });
    m_window.FindAction("C&reate...")->trigger();
    EXPECT_EQ(title, "Quorel Creator");
    EXPECT_EQ(boxes, std::vector<QString>{"Success: Quorel export complete."});
    ASSERT_EQ(quorel->rowCount(), before + 1);
    bool found = false;
    for (int row = 0; row < quorel->rowCount(); ++row) {
        found = found || quorel->child(row, 1)->text() == "Green Wash";
    }
    EXPECT_TRUE(found);
}

TEST_F(MainWindowTest, DiscoveryFillsTheTreeAndTheDeviceList) {
    Select(m_devices->index());
    auto* list = qobject_cast<DeviceListView*>(CurrentView());
    ASSERT_TRUE(list);
    EXPECT_EQ(list->model()->rowCount(), 0);

    Discover();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return list->model()->rowCount() == DemoFixtureCount(); }, 5000));
    QStringList headers;
    for (int column = 0; column < list->model()->columnCount(); ++column) {
        headers.append(list->model()->headerData(column, Qt::Horizontal).toString());
    }
    EXPECT_EQ(headers, QStringList({"Unique ID", "Device Name", "Protocol", "Manufacturer", "Model",
                                    "Version", "Dmx Address", "Channels"}));
    // The window's first size shows every column.
    m_window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    QTest::qWait(100);  // the view lays its columns out
    EXPECT_GT(list->viewport()->width(), 600);
    EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
    m_window.hide();
    // One node and one row per fixture, each id once.
    QSet<QString> ids;
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        ids.insert(CellText(list->model(), row, 0));
    }
    EXPECT_EQ(ids.size(), DemoFixtureCount());
    const QModelIndex name = DeviceIndex(kWashSr, 1);
    EXPECT_EQ(name.data().toString(), "Wash SR (0x4a4100000102)");
    EXPECT_EQ(DeviceIndex(kWashSr, 0).data().toInt(), 15);

    // Sorting by address puts the lowest first.
    list->sortByColumn(6, Qt::AscendingOrder);
    EXPECT_EQ(CellText(list->model(), 0, 6), "1");
    list->sortByColumn(6, Qt::DescendingOrder);
    EXPECT_EQ(CellText(list->model(), 0, 6), "301");

    // A discovery task item appeared for the queued command.
    bool sawDiscovery = false;
    for (TaskItem* item : m_window.Tasks()->Tasks()) {
        sawDiscovery |= item->Title().contains("Discover", Qt::CaseInsensitive);
    }
    EXPECT_TRUE(sawDiscovery);

    // Discovering again keeps one node per fixture.
    m_window.FindAction("&Discover All Devices")->trigger();
    QTest::qWait(50);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return m_devices->rowCount() == DemoFixtureCount(); }, 30000));
}

TEST_F(MainWindowTest, ThoroughDiscoveryIsAChoiceKeptInThePreferencesThatFindsTheSameRig) {
    QAction* thorough = m_window.FindAction("T&horough Discovery");
    ASSERT_TRUE(thorough);
    ASSERT_TRUE(thorough->isCheckable());
    if (thorough->isChecked()) {
        thorough->trigger();  // a run that stopped half way left it on
    }
    thorough->trigger();
    EXPECT_EQ(DeviceManager::Instance()->GetDiscoverySearch(), DiscoverySearch::Thorough);
    EXPECT_TRUE(Preferences(QDir::currentPath()).GetFlag("ThoroughDiscovery"));  // on disk
    Discover();

    thorough->trigger();
    EXPECT_EQ(DeviceManager::Instance()->GetDiscoverySearch(), DiscoverySearch::Fast);
    EXPECT_FALSE(Preferences(QDir::currentPath()).GetFlag("ThoroughDiscovery"));
}

TEST_F(MainWindowTest, SelectingADeviceShowsItsPropertyTable) {
    Discover();
    Select(DeviceIndex(kWashSr, 1));
    auto* view = qobject_cast<DeviceView*>(CurrentView());
    ASSERT_TRUE(view);
    EXPECT_EQ(view->Model()->headerData(0, Qt::Horizontal).toString(), "Parameter");
    EXPECT_EQ(PropertyValue(view->Model(), "Unique ID"), "0x4a4100000102");
    EXPECT_EQ(PropertyValue(view->Model(), "Dmx Start Address"), "15");
    EXPECT_EQ(PropertyValue(view->Model(), "Label"), "Wash SR");
    EXPECT_EQ(PropertyValue(view->Model(), "Identify"), "Off");

    // The address column of the same row shows the same device.
    Select(DeviceIndex(kWashSr, 0));
    EXPECT_EQ(PropertyValue(qobject_cast<DeviceView*>(CurrentView())->Model(), "Unique ID"),
              "0x4a4100000102");
}

TEST_F(MainWindowTest, ChangingTheAddressThroughTheContextMenuUpdatesTreeAndViews) {
    Discover();
    Select(m_devices->index());
    auto* list = qobject_cast<DeviceListView*>(CurrentView());
    ASSERT_TRUE(list);
    const QModelIndex address = DeviceIndex(kWashSr, 0);

    int highestAccepted = 0;
    WhenModal<AddressDialog>([&](AddressDialog* dialog) {
        for (int value : {0, 513, 512}) {
            dialog->Edit()->setText(QString::number(value));
            if (dialog->IsValueAcceptable()) {
                highestAccepted = value;
            }
        }
        dialog->Edit()->setText("300");
        dialog->accept();
    });
    TriggerMenuEntry(address, "Change DMX Address");
    EXPECT_EQ(highestAccepted, 512);
    ASSERT_TRUE(QTest::qWaitFor([&] { return address.data().toInt() == 300; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const int row = list->SourceRowOf(kWashSr);
            return row >= 0 && list->SourceModel()->item(row, 6)->text() == "300";
        },
        5000));
    EXPECT_EQ(DeviceManager::Instance()->FindDevice(kWashSr)->GetDmxStartAddress(), 300);

    // A cancelled dialog queues nothing.
    WhenModal<AddressDialog>([](AddressDialog* dialog) { dialog->reject(); });
    TriggerMenuEntry(address, "Change DMX Address");
    QTest::qWait(50);
    EXPECT_EQ(address.data().toInt(), 300);
}

TEST_F(MainWindowTest, IdentifyTogglesBetweenEnableAndDisable) {
    Discover();
    const QModelIndex name = DeviceIndex(kWashSr, 1);
    Select(name);
    auto* view = qobject_cast<DeviceView*>(CurrentView());
    ASSERT_TRUE(view);
    EXPECT_EQ(MenuCaptions(name), QStringList({"Change DMX Address", "Enable Identify"}));

    TriggerMenuEntry(name, "Enable Identify");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return PropertyValue(view->Model(), "Identify") == "On"; }, 10000));
    EXPECT_EQ(MenuCaptions(name), QStringList({"Change DMX Address", "Disable Identify"}));

    TriggerMenuEntry(name, "Disable Identify");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return PropertyValue(view->Model(), "Identify") == "Off"; }, 10000));
    EXPECT_EQ(MenuCaptions(name), QStringList({"Change DMX Address", "Enable Identify"}));
    // The delegate lets go of its commands once the queue is done with them.
    EXPECT_TRUE(QTest::qWaitFor([&] { return DelegateOf(name)->KeptCommandCount() == 0; }, 5000));
}

TEST_F(MainWindowTest, TalkBackFixturesHaveNoContextMenu) {
    Discover();
    EXPECT_TRUE(MenuCaptions(DeviceIndex(kTalkBack, 1)).isEmpty());
}

TEST_F(MainWindowTest, LedFixturesShowTheirFoldersAndSetTheirQuorelAddress) {
    Discover();
    const QModelIndex address = DeviceIndex(kMarqa, 0);
    // Groups, then the folders the fixture reported, each row [number, name].
    QStringList rows;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            rows.clear();
            const QAbstractItemModel* model = address.model();
            for (int g = 0; g < model->rowCount(address); ++g) {
                const QModelIndex group = model->index(g, 0, address);
                rows.append(model->index(g, 1, address).data().toString());
                for (int f = 0; f < model->rowCount(group); ++f) {
                    rows.append(QStringLiteral("  %1 %2")
                                    .arg(model->index(f, 0, group).data().toInt())
                                    .arg(model->index(f, 1, group).data().toString()));
                }
            }
            return rows.size() == 6;
        },
        10000));
    EXPECT_EQ(rows, QStringList({"Stock Content", "  1 Stock", "User Content", "  41 My Shows",
                                 "Quorel Content", "  251 Quorel"}));

    const QModelIndex name = DeviceIndex(kMarqa, 1);
    EXPECT_EQ(MenuCaptions(name),
              QStringList({"Change DMX Address", "Enable Identify", "", "Set Quorel Address"}));
    EXPECT_EQ(MenuCaptions(DeviceIndex(kWashSr, 1)),
              QStringList({"Change DMX Address", "Enable Identify"}));

    Select(name);
    auto* view = qobject_cast<DeviceView*>(CurrentView());
    ASSERT_TRUE(view);
    EXPECT_EQ(PropertyValue(view->Model(), "Quorel Address"), "12");
    // The files of the folders are read after the folders.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            view->Refresh();
            return PropertyValue(view->Model(), "User Content Used") == "3";
        },
        10000));
    EXPECT_EQ(PropertyValue(view->Model(), "User Content Remaining"), "251");

    WhenModal<AddressDialog>([](AddressDialog* dialog) {
        dialog->Edit()->setText("0");
        dialog->accept();
    });
    TriggerMenuEntry(name, "Set Quorel Address");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return PropertyValue(view->Model(), "Quorel Address") == "0"; }, 10000));
}

namespace {

// Every row below `parent`, indented by depth, as "address name".
QStringList TreeRows(const QAbstractItemModel* model, const QModelIndex& parent, int depth = 1) {
    QStringList rows;
    for (int row = 0; row < model->rowCount(parent); ++row) {
        rows.append(QString(depth * 2, ' ') + model->index(row, 0, parent).data().toString() + " " +
                    model->index(row, 1, parent).data().toString());
        rows += TreeRows(model, model->index(row, 0, parent), depth + 1);
    }
    return rows;
}

}  // namespace

TEST_F(MainWindowTest, LibraryFoldersAreRowsOfTheTreeAndTheirImagesOpenFromTheirView) {
    ContentLibraryRoot* library = m_window.Library();
    ASSERT_TRUE(library->AddFolder("Show", 0, nullptr));
    auto* package = qobject_cast<ContentLibraryPackage*>(library->Child(0));
    package->HandDownPolicy(&NamedPolicies::MarqaContentPackage());
    ASSERT_TRUE(package->AddFolder("Clips", 41, nullptr));
    auto* folder = qobject_cast<ContentLibraryFolder*>(package->Child(0));
    ContentList items;
    auto image = std::make_unique<MarqaImage>();
    image->SetName("Waves");
    image->SetAddress(3);
    image->SetFrames(std::vector<MarqaImage::Frame>(2));
    items.push_back(std::move(image));
    ASSERT_TRUE(folder->AddContent(std::move(items), nullptr));

    const NodeModel* model = m_window.Tree()->Model();
    const QModelIndex top = model->index(1, 0);
    ASSERT_EQ(top.data().toString(), "Content Library");
    EXPECT_EQ(TreeRows(model, top), QStringList({"  0 Show", "    41 Clips"}));

    // The folder's items are rows of its view; activating one opens its viewer.
    Select(model->index(0, 1, model->index(0, 0, top)));
    auto* view = qobject_cast<ContentFolderView*>(CurrentView());
    ASSERT_TRUE(view);
    QString title;
    QString frame;
    WhenModal<ImageViewDialog>([&](ImageViewDialog* dialog) {
        title = dialog->windowTitle();
        frame = dialog->FrameLabel()->text();
        dialog->reject();
    });
    view->List()->setCurrentIndex(view->Model()->index(0, 0));
    QTest::keyClick(view->List(), Qt::Key_Return);
    EXPECT_EQ(title, "Marqa Image - Waves");
    EXPECT_EQ(frame, "Frame 1/2");

    // Folders added and removed follow.
    ASSERT_TRUE(package->AddFolder("Loops", 42, nullptr));
    EXPECT_EQ(TreeRows(model, top), QStringList({"  0 Show", "    41 Clips", "    42 Loops"}));
    ASSERT_TRUE(package->Remove(package->Child(1), nullptr));
    EXPECT_EQ(TreeRows(model, top), QStringList({"  0 Show", "    41 Clips"}));
}

namespace {

QModelIndex ValueIndex(const DeviceView* view, const QString& parameter) {
    const QList<QStandardItem*> found = view->Model()->findItems(parameter);
    return found.isEmpty() ? QModelIndex() : view->Model()->index(found[0]->row(), 1);
}

// Opens the cell's editor the way a double click does; the editor, or null.
template <class Editor>
Editor* OpenEditor(DeviceView* view, const QString& parameter) {
    const QModelIndex index = ValueIndex(view, parameter);
    view->setCurrentIndex(index);
    view->edit(index);
    return view->viewport()->findChild<Editor*>();
}

}  // namespace

TEST_F(MainWindowTest, SettableParametersAreEditedInPlaceAndShowTheFixturesAnswer) {
    constexpr quint64 kStrobe = 0x6D1000C0FFEEULL;  // two personalities, display level 80
    Discover();
    Select(DeviceIndex(kStrobe, 1));
    auto* view = qobject_cast<DeviceView*>(CurrentView());
    ASSERT_TRUE(view);

    auto* label = OpenEditor<QLineEdit>(view, "Label");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), "Upstage Strobe");
    label->setText("Strobe US");
    QTest::keyClick(label, Qt::Key_Return);
    EXPECT_EQ(PropertyValue(view->Model(), "Label"), "Upstage Strobe");  // until the answer
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return PropertyValue(view->Model(), "Label") == "Strobe US"; }, 10000));
    // The tree names the fixture by its new label.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return DeviceIndex(kStrobe, 1).data().toString() == "Strobe US (0x6d1000c0ffee)"; },
        10000));

    auto* mode = OpenEditor<QComboBox>(view, "Mode");
    ASSERT_TRUE(mode);
    QStringList offered;
    for (int i = 0; i < mode->count(); ++i) {
        offered.append(mode->itemText(i));
    }
    EXPECT_EQ(offered, QStringList({"1: Basic 2ch (2 channels)", "2: Effects 4ch (4 channels)"}));
    EXPECT_EQ(mode->currentIndex(), 1);
    mode->setCurrentIndex(0);
    Q_EMIT mode->activated(0);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return PropertyValue(view->Model(), "Channels") == "2"; }, 10000));
    EXPECT_EQ(PropertyValue(view->Model(), "Mode"), "Basic 2ch");

    auto* level = OpenEditor<QSpinBox>(view, "Display Level");
    ASSERT_TRUE(level);
    EXPECT_EQ(level->value(), 31);
    level->setValue(75);
    QTest::keyClick(level, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return PropertyValue(view->Model(), "Display Level") == "75%"; }, 10000));

    // Read-only values open no editor.
    EXPECT_FALSE(OpenEditor<QWidget>(view, "Device Hours"));
    EXPECT_EQ(DeviceManager::Instance()->FindDevice(kStrobe)->GetDmxFootprint(), 2);
}

TEST_F(MainWindowTest, ANackedEditKeepsTheShownValueAndLogsTheReason) {
    constexpr quint64 kSpot = 0x4A4100000210ULL;  // its label is write-protected
    Discover();
    Select(DeviceIndex(kSpot, 1));
    auto* view = qobject_cast<DeviceView*>(CurrentView());
    ASSERT_TRUE(view);
    auto* label = OpenEditor<QLineEdit>(view, "Label");
    ASSERT_TRUE(label);
    label->setText("Spot 1");
    QTest::keyClick(label, Qt::Key_Return);

    const QString reason = " Device 0x4a4100000210 Failed Setting Device Label: Nack Error 4!";
    auto logged = [&] {
        for (TaskItem* item : m_window.Tasks()->Tasks()) {
            for (const auto& line : item->Log()) {
                if (line.first == reason) {
                    return true;
                }
            }
        }
        return false;
    };
    ASSERT_TRUE(QTest::qWaitFor(logged, 10000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return DelegateOf(DeviceIndex(kSpot, 1))->KeptCommandCount() == 0; }, 5000));
    EXPECT_EQ(PropertyValue(view->Model(), "Label"), "Spot Centre");
}

TEST_F(MainWindowTest, TheDeviceViewsMenuResetsAFixtureThatListsIt) {
    constexpr quint64 kStrobe = 0x6D1000C0FFEEULL;  // lists every parameter
    constexpr quint64 kPar = 0x51420000A001ULL;     // lists no reset
    Discover();
    Select(DeviceIndex(kPar, 1));
    EXPECT_FALSE(qobject_cast<DeviceView*>(CurrentView())->BuildMenu());
    Select(DeviceIndex(kStrobe, 1));
    std::unique_ptr<QMenu> menu = qobject_cast<DeviceView*>(CurrentView())->BuildMenu();
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), "Warm Reset");
    EXPECT_EQ(menu->actions()[1]->text(), "Cold Reset");
    menu->actions()[0]->trigger();
    const QModelIndex name = DeviceIndex(kStrobe, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return DelegateOf(name)->KeptCommandCount() == 0; }, 10000));
    int resets = 0;
    for (TaskItem* item : m_window.Tasks()->Tasks()) {
        if (item->Title().contains("Set Device Parameter")) {
            ++resets;
            for (const auto& line : item->Log()) {
                EXPECT_NE(line.second, TaskItem::Error) << line.first.toStdString();
            }
        }
    }
    EXPECT_EQ(resets, 1);
}
