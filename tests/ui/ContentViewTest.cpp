#include "UiRig.h"
#include "WhenModal.h"
#include "content/ContentMimeSource.h"
#include "content/ContentModelMutex.h"
#include "content/NamedPolicies.h"
#include "content/ledimage/MarqaImage.h"
#include "content/library/ContentLibraryFolder.h"
#include "content/library/ContentLibraryPackage.h"
#include "content/library/ContentLibraryRoot.h"
#include "content/operations/ContentDeleteOperation.h"
#include "lumo/devices/LumoRDM.h"
#include "lumo/tree/LumoRDMContentFolder.h"
#include "lumo/tree/LumoRDMContentGroup.h"
#include "lumo/tree/LumoRDMContentRoot.h"
#include "rdm/devices/DeviceManager.h"
#include "support/RecordingFeedback.h"
#include "ui/AurelMainWindow.h"
#include "ui/NameDialog.h"
#include "ui/OperationDialog.h"
#include "ui/actions/ContentBaseAddressAction.h"
#include "ui/actions/ContentBaseCopyAction.h"
#include "ui/actions/ContentBaseRemoveAction.h"
#include "ui/actions/ContentBaseRenameAction.h"
#include "ui/actions/ContentDrop.h"
#include "ui/actions/ContentFolderNewAction.h"
#include "ui/actions/ContentFolderPasteAction.h"
#include "ui/tree/ContentFolderNode.h"
#include "ui/tree/DeviceManagerNode.h"
#include "ui/tree/HighlightDelegate.h"
#include "ui/tree/NodeModel.h"
#include "ui/tree/NodeTree.h"
#include "ui/views/ContentFolderList.h"
#include "ui/views/ContentFolderModel.h"
#include "ui/views/ContentFolderPreview.h"
#include "ui/views/ContentFolderView.h"
#include "ui/views/preview/LEDImageItem.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDragMoveEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr quint64 kMarqa = 0x435600001001ULL;  // LED fixture of the demo rig

std::unique_ptr<Content> FramedImage(const QString& name, int address, int frames) {
    auto image = std::make_unique<MarqaImage>();
    image->SetName(name);
    image->SetAddress(address);
    std::vector<MarqaImage::Frame> list(static_cast<size_t>(frames));
    for (size_t i = 0; i < list.size(); ++i) {
        list[i].delay = 50;
        list[i].leds.fill(quint8(i + 1));
    }
    image->SetFrames(std::move(list));
    return image;
}

class ContentViewTest : public ::testing::Test {
protected:
    ContentViewTest() {
        DeviceManager::Instance()->MergeDiscovery({});
        ContentLibraryRoot* library = m_window.Library();
        EXPECT_TRUE(library->AddFolder("Show", 0, nullptr));
        m_package = qobject_cast<ContentLibraryPackage*>(library->Child(0));
        m_package->HandDownPolicy(&NamedPolicies::MarqaContentPackage());
        EXPECT_TRUE(m_package->AddFolder("Clips", 41, nullptr));
        m_clips = qobject_cast<ContentFolder*>(m_package->Child(0));
    }
    ~ContentViewTest() override {
        ContentFolderNewAction::SetQuorelCreator(nullptr);
        // The library on disk is shared by the tests of this run.
        RecordingFeedback feedback;
        ContentDeleteOperation(Children(m_window.Library())).Execute(&feedback, 0);
    }

    // Adds images (name, address, frames) to the folder.
    static void Add(ContentFolder* folder, const QList<std::tuple<QString, int, int>>& images) {
        ContentList items;
        for (const auto& [name, address, frames] : images) {
            items.push_back(FramedImage(name, address, frames));
        }
        ASSERT_TRUE(folder->AddContent(std::move(items), nullptr));
    }

    // The tree's name node of a folder.
    QModelIndex NameIndex(const ContentFolder* folder) const {
        return Find(m_window.Tree()->Model(), QModelIndex(), folder);
    }
    static QModelIndex Find(const NodeModel* model, const QModelIndex& parent,
                            const ContentFolder* folder) {
        for (int row = 0; row < model->rowCount(parent); ++row) {
            const auto* node = dynamic_cast<ContentFolderNode*>(
                model->NodeFromIndex(model->index(row, 1, parent)));
            if (node && node->GetFolder() == folder) {
                return model->index(row, 1, parent);
            }
            const QModelIndex below = Find(model, model->index(row, 0, parent), folder);
            if (below.isValid()) {
                return below;
            }
        }
        return {};
    }

    ContentFolderView* Show(const ContentFolder* folder) {
        m_window.Tree()->setCurrentIndex(NameIndex(folder));
        return qobject_cast<ContentFolderView*>(m_window.ViewArea()->currentWidget());
    }

    static QStringList ListRows(const ContentFolderView* view) {
        QStringList rows;
        const ContentFolderModel* model = view->Model();
        for (int row = 0; row < model->rowCount(); ++row) {
            rows.append(model->index(row, 1).data().toString() + " " +
                        model->index(row, 0).data().toString());
        }
        return rows;
    }

    static QStringList PreviewLabels(const ContentFolderView* view) {
        QStringList labels;
        for (const PreviewItem* item : view->Preview()->Items()) {
            labels.append(item->NameText() + " / " + item->AddressText());
        }
        return labels;
    }

    static QList<int> Addresses(const ContentFolder* folder) {
        QList<int> addresses;
        const ContentModelLock lock;
        for (int i = 0; i < folder->ChildCount(); ++i) {
            addresses.append(folder->Child(i)->Address());
        }
        return addresses;
    }

    static QList<ContentBase*> Children(ContentFolder* folder) {
        QList<ContentBase*> children;
        const ContentModelLock lock;
        for (int i = 0; i < folder->ChildCount(); ++i) {
            children.append(folder->Child(i));
        }
        return children;
    }

    LumoRDM* DiscoverMarqa() {
        m_window.FindAction("&Discover All Devices")->trigger();
        LumoRDM* fixture = nullptr;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                fixture = qobject_cast<LumoRDM*>(DeviceManager::Instance()->FindDevice(kMarqa));
                return fixture && fixture->GetContentRoot()->UserGroup()->ChildCount() > 0;
            },
            30000));
        return fixture;
    }

    AurelMainWindow m_window;
    ContentLibraryPackage* m_package = nullptr;
    ContentFolder* m_clips = nullptr;
};

}  // namespace

TEST_F(ContentViewTest, AFolderShowsInListAndPreviewAndFollowsRenamesInTheTree) {
    Add(m_clips, {{"Waves", 3, 4}, {"Tide", 5, 1}});
    m_window.show();
    ContentFolderView* view = Show(m_package);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->tabText(0), "List");
    EXPECT_EQ(view->tabText(1), "Preview");
    EXPECT_EQ(ListRows(view), QStringList({"41 Clips"}));

    // Renaming the sub-folder in the tree: list row and preview label follow at once.
    m_window.Tree()->Model()->setData(NameIndex(m_clips), "Loops", Qt::EditRole);
    EXPECT_EQ(ListRows(view), QStringList({"41 Loops"}));
    EXPECT_EQ(PreviewLabels(view), QStringList({"Loops / DMX 41"}));

    // Opening the sub-folder shows its images; the animated one steps through its frames.
    view->List()->ActivateItem(view->Model()->index(0, 0));
    EXPECT_EQ(ListRows(view), QStringList({"3 Waves", "5 Tide"}));
    ASSERT_EQ(view->Preview()->Items().size(), 2u);
    auto* waves = qobject_cast<MarqaImageItem*>(view->Preview()->Items()[0]);
    ASSERT_TRUE(waves);
    view->setCurrentIndex(1);
    view->resize(600, 400);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->Preview()->VisibleItemsReady(); }, 5000));
    const int first = waves->CurrentFrame();
    EXPECT_TRUE(QTest::qWaitFor([&] { return waves->CurrentFrame() != first; }, 2000));
}

TEST_F(ContentViewTest, RenamesThatTheFolderRefusesChangeNothing) {
    // A package with the stock content's rules: its children are read-only.
    ASSERT_TRUE(m_window.Library()->AddFolder("Stock", 0, nullptr));
    auto* stock = qobject_cast<ContentLibraryPackage*>(m_window.Library()->Child(1));
    ASSERT_TRUE(stock->AddFolder("Basics", 41, nullptr));
    stock->HandDownPolicy(&NamedPolicies::StandardStockContent());
    auto* basics = qobject_cast<ContentFolder*>(stock->Child(0));
    ASSERT_TRUE(basics);

    ContentBaseRenameAction action(basics, &m_window);
    EXPECT_FALSE(action.isEnabled());
    bool asked = false;
    const auto watch = [&] {
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                asked = true;
                modal->close();
            }
        });
    };
    watch();
    action.execute();
    QCoreApplication::processEvents();
    EXPECT_FALSE(asked);
    // Nor does an edit of its row in the tree.
    watch();
    m_window.Tree()->Model()->setData(NameIndex(basics), "Extras", Qt::EditRole);
    QCoreApplication::processEvents();
    EXPECT_FALSE(asked);
    EXPECT_EQ(basics->Name(), "Basics");
    stock->HandDownPolicy(&NamedPolicies::MarqaContentPackage());  // for the clean-up
}

TEST_F(ContentViewTest, AutosetAndResetRenumberAsTheFolderAllows) {
    // The folder keeps addresses unique: the second 3 may be moved on as it is added.
    Add(m_clips, {{"A", 0, 1}, {"B", 3, 1}, {"C", 3, 1}});
    const QList<ContentBase*> items = Children(m_clips);
    ASSERT_EQ(items.size(), 3);

    ContentBaseAutosetAction autoset(items, false, &m_window);
    EXPECT_EQ(autoset.text(), "Autoset DMX");
    autoset.execute();
    EXPECT_EQ(Addresses(m_clips), QList<int>({1, 2, 3}));

    ContentBaseResetAction reset({items[0]}, true, &m_window);
    EXPECT_EQ(reset.text(), "Reset All DMX");
    reset.execute();
    EXPECT_EQ(Addresses(m_clips), QList<int>({0, 2, 3}));
    // Reset on 0 and 2 renumbers only the second.
    ContentBaseResetAction both({items[0], items[1]}, false, &m_window);
    both.execute();
    EXPECT_EQ(Addresses(m_clips), QList<int>({0, 0, 3}));
}

TEST_F(ContentViewTest, DeleteAsksInTheSingularOrPluralAndDeletesOnYes) {
    Add(m_clips, {{"A", 1, 1}, {"B", 2, 1}, {"C", 3, 1}});
    const QList<ContentBase*> items = Children(m_clips);
    struct Case {
        QList<ContentBase*> items;
        QString title;
        QString text;
        QMessageBox::StandardButton answer;
        int left;
    };
    const Case cases[] = {
        {{items[0]},
         "Delete Item",
         "Are you sure you want to delete this item and ALL items it contains?",
         QMessageBox::No,
         3},
        {{items[1], items[2]},
         "Delete Items",
         "Are you sure you want to delete these items and ALL items they contain?",
         QMessageBox::Yes,
         1},
    };
    for (const Case& c : cases) {
        QString title;
        QString text;
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            box->button(c.answer)->click();
        });
        ContentBaseRemoveAction(c.items, &m_window).execute();
        EXPECT_EQ(title, c.title);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(m_clips->ChildCount(), c.left);
    }
}

TEST_F(ContentViewTest, InsertInAQuorelFolderOpensTheCreatorAndElsewhereAsksForAName) {
    QList<QWidget*> opened;
    ContentFolderNewAction::SetQuorelCreator([&](QWidget* parent) { opened.append(parent); });
    LumoRDM* fixture = DiscoverMarqa();
    ASSERT_TRUE(fixture);
    ContentFolder* quorel = fixture->GetContentRoot()->QuorelGroup();
    ContentFolderView* view = Show(quorel);
    ASSERT_TRUE(view);
    QTest::keyClick(view->List(), Qt::Key_Insert);
    EXPECT_EQ(opened, QList<QWidget*>({view->List()}));

    // In the library the name dialog makes the folder.
    view->SetFolder(m_package);
    WhenModal<NameDialog>([](NameDialog* dialog) {
        dialog->Edit()->setText("Intro");
        dialog->accept();
    });
    QTest::keyClick(view->List(), Qt::Key_Insert);
    EXPECT_EQ(opened.size(), 1);
    EXPECT_EQ(ListRows(view), QStringList({"41 Clips", "42 Intro"}));
}

TEST_F(ContentViewTest, DragsOverARefusingFixtureFolderAreNotTakenAndCopyPasteReachesIt) {
    Add(m_clips, {{"Waves", 200, 2}});  // a number the fixture's folder has free
    LumoRDM* fixture = DiscoverMarqa();
    ASSERT_TRUE(fixture);
    ContentFolder* user = fixture->GetContentRoot()->UserGroup();
    auto* shows = qobject_cast<LumoRDMContentFolder*>(Children(user).first());
    ASSERT_TRUE(shows);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return shows->FilesRead() == LumoRDMContentFolder::Read; }, 10000));
    const int before = shows->ChildCount();

    // A stock group takes nothing: the drag over it shows no highlight and is refused.
    ContentFolder* stock = fixture->GetContentRoot()->StockGroup();
    NodeTree* tree = m_window.Tree();
    tree->expandAll();
    const QModelIndex stockIndex = NameIndex(stock);
    ASSERT_TRUE(stockIndex.isValid());
    std::unique_ptr<QMimeData> data = ContentMimeSource::MimeData({Children(m_clips).first()});
    QDragMoveEvent move(tree->visualRect(stockIndex).center(), Qt::CopyAction | Qt::MoveAction,
                        data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &move);
    EXPECT_FALSE(move.isAccepted());
    auto* highlight = qobject_cast<HighlightDelegate*>(tree->itemDelegate());
    EXPECT_FALSE(highlight->DropIndex().isValid());
    EXPECT_FALSE(ContentDrop::CanDrop(stock, data.get(), Qt::CopyAction));

    // Copy in the library, paste in the fixture's folder: the fixture takes the image.
    ContentBaseCopyAction(Children(m_clips), &m_window).execute();
    ContentFolderPasteAction paste(shows, &m_window);
    ASSERT_TRUE(paste.isEnabled());
    paste.execute();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const ContentModelLock lock;
            for (int i = 0; i < shows->ChildCount(); ++i) {
                if (shows->Child(i)->Name() == "Waves") {
                    return true;
                }
            }
            return false;
        },
        20000));
    EXPECT_EQ(shows->ChildCount(), before + 1);
    EXPECT_EQ(m_clips->ChildCount(), 1);  // a copy leaves the source
    QApplication::clipboard()->clear();

    // The demo fixture is shared by the tests that follow: it gets its own files back.
    ASSERT_TRUE(shows->Remove(shows->Item(200), nullptr));
    EXPECT_TRUE(QTest::qWaitFor([&] { return shows->ChildCount() == before; }, 20000));
}

TEST_F(ContentViewTest, FilesDroppedFromTheDesktopAreAddedAndItemsDraggedOutAreWrittenAsFiles) {
    QTemporaryDir desktop;
    ASSERT_TRUE(FramedImage("Sunrise", 7, 3)->Save(desktop.filePath("Sunrise.mqi")));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(desktop.filePath("Sunrise.mqi"))});
    ASSERT_TRUE(ContentDrop::CanDrop(m_clips, &files, Qt::CopyAction));
    ASSERT_TRUE(ContentDrop::Drop(&m_window, m_clips, &files, Qt::CopyAction));
    ASSERT_EQ(m_clips->ChildCount(), 1);
    EXPECT_EQ(m_clips->Child(0)->Name(), "Sunrise");

    // The drag of the item carries its file for the file manager, written when asked for.
    ContentFolderModel model;
    model.SetFolder(m_clips);
    std::unique_ptr<QMimeData> drag(model.mimeData({model.index(0, 0)}));
    ASSERT_TRUE(drag && ContentMimeSource::CanDecode(*drag));
    const QList<QUrl> urls = drag->urls();
    ASSERT_EQ(urls.size(), 1);
    MarqaImage written;
    ASSERT_TRUE(written.Load(urls.first().toLocalFile())) << written.LoadProblem().toStdString();
    EXPECT_EQ(written.FrameCount(), 3);
}
