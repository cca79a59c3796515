#include "ContentTestSupport.h"
#include "content/ContentContainer.h"
#include "content/ContentContainerFolder.h"
#include "content/ContentFolderIndex.h"
#include "content/ContentMimeSource.h"

#include <QDataStream>
#include <QMimeData>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// A container whose children are numbered items, with its own address bounds.
class BoundedContainer : public ContentContainer {
public:
    BoundedContainer(int min, int max, std::initializer_list<int> addresses)
        : m_min(min), m_max(max) {
        ContentList items;
        for (const int address : addresses) {
            items.push_back(std::make_unique<TestItem>(QString::number(address), address));
        }
        AddContent(std::move(items), nullptr);
    }
    int MinAddress() const override { return m_min; }
    int MaxAddress() const override { return m_max; }

private:
    int m_min;
    int m_max;
};

ContentList Items(std::initializer_list<const char*> names) {
    ContentList items;
    for (const char* name : names) {
        items.push_back(std::make_unique<TestItem>(name));
    }
    return items;
}

template <class T>
T* AddSubFolder(ContentContainer* parent, const QString& name) {
    auto folder = std::make_unique<T>();
    folder->SetName(name);
    T* added = folder.get();
    parent->AppendFolder(std::move(folder));
    return added;
}

}  // namespace

TEST(ContentBaseTest, SetNameKeepsSixteenCharactersAndReportsTheOldName) {
    TestItem item("Before");
    QSignalSpy spy(&item, &ContentBase::NameChanged);

    EXPECT_TRUE(item.SetName("ABCDEFGHIJKLMNOPQRST"));
    EXPECT_EQ(item.Name(), "ABCDEFGHIJKLMNOP");
    EXPECT_TRUE(item.SetName("ABCDEFGHIJKLMNOP"));

    ASSERT_EQ(spy.count(), 2);  // also when the name stays the same
    EXPECT_EQ(spy[0][0].value<const ContentBase*>(), &item);
    EXPECT_EQ(spy[0][1].toString(), "Before");
    EXPECT_EQ(spy[1][1].toString(), "ABCDEFGHIJKLMNOP");
}

TEST(ContentBaseTest, SetAddressReportsTheNewAddressAndTagIsKept) {
    TestItem item;
    QSignalSpy spy(&item, &ContentBase::AddressChanged);
    EXPECT_EQ(item.Tag(), 0);
    item.SetAddress(42);
    item.SetTag(0xBEEF);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][1].toInt(), 42);
    EXPECT_EQ(item.Tag(), 0xBEEF);
}

TEST(ContentFolderTest, NextFreeAddressIsTheLowestFreeAddressWithinTheBounds) {
    struct Case {
        int min, max;
        std::initializer_list<int> taken;
        int from;
        int expected;
    };
    const Case cases[] = {
        {1, 255, {1, 2, 4}, 0, 3},    {1, 255, {1, 2, 4}, 4, 5},
        {1, 255, {4, 3, 2, 1}, 0, 5},  // every raise walks the children again
        {1, 4, {1, 2, 3, 4}, 0, -1},  {1, 4, {}, 9, -1},
        {41, 250, {1, 41}, 0, 42},    {0, 0, {}, 0, 0},
    };
    for (const Case& c : cases) {
        const BoundedContainer folder(c.min, c.max, c.taken);
        EXPECT_EQ(folder.NextFreeAddress(c.from), c.expected)
            << "bounds " << c.min << ".." << c.max << " from " << c.from;
    }
    const BoundedContainer folder(1, 255, {1, 2, 4});
    EXPECT_EQ(folder.FirstFreeAddress(), 3);
}

TEST(ContentFolderTest, MakeUniqueCountsUpFromTwo) {
    ContentContainer folder;
    folder.AddContent(Items({"Clip", "Clip (2)", "Logo"}), nullptr);
    const std::pair<QString, QString> cases[] = {
        {"Clip", "Clip (3)"}, {"Logo", "Logo (2)"}, {"New", "New"}};
    for (const auto& [requested, expected] : cases) {
        QString name = requested;
        int address = 0;
        folder.MakeUnique(&name, &address);
        EXPECT_EQ(name, expected);
    }
    EXPECT_TRUE(folder.HasChild("Clip (2)", 99));
}

TEST(ContentFolderTest, MovesStayWithinOneTreeAndNeverIntoThemselves) {
    ContentContainer root;
    auto* a = AddSubFolder<ContentContainer>(&root, "A");
    auto* inner = AddSubFolder<ContentContainer>(a, "Inner");
    auto* b = AddSubFolder<ContentContainer>(&root, "B");
    a->AddContent(Items({"Clip"}), nullptr);
    auto* clip = static_cast<Content*>(a->Child(1));
    ContentContainer otherRoot;

    EXPECT_FALSE(inner->CanMoveFolder(a));  // into its own sub-folder
    EXPECT_FALSE(a->CanMoveFolder(a));
    EXPECT_TRUE(b->CanMoveFolder(a));
    EXPECT_FALSE(otherRoot.CanMoveFolder(b));

    EXPECT_FALSE(a->CanMoveContent(clip));  // already its parent
    EXPECT_TRUE(b->CanMoveContent(clip));
    EXPECT_TRUE(inner->CanMoveContent(clip));
    EXPECT_FALSE(otherRoot.CanMoveContent(clip));
    TestItem orphan;
    EXPECT_FALSE(b->CanMoveContent(&orphan));

    EXPECT_EQ(inner->Root(), &root);
    EXPECT_EQ(clip->Root(), &root);
    EXPECT_EQ(orphan.Root(), nullptr);
    EXPECT_TRUE(inner->IsWithin(&root));
    EXPECT_FALSE(a->IsWithin(inner));
}

TEST(ContentFolderTest, ContainersAddAndAnnounceWhileContainerFoldersRefuseItems) {
    ContentContainer container;
    QSignalSpy added(&container, &ContentFolder::ContentAdded);
    EXPECT_TRUE(container.AddContent(Items({"One", "Two"}), nullptr));
    ASSERT_EQ(container.ChildCount(), 2);
    EXPECT_EQ(container.Child(1)->Name(), "Two");
    EXPECT_EQ(container.Child(1)->Parent(), &container);
    ASSERT_EQ(added.count(), 2);
    EXPECT_EQ(added[1][1].value<Content*>(), container.Child(1));

    ContentContainerFolder folders;
    TestItem item;
    EXPECT_FALSE(folders.AcceptsContent(&item));
    EXPECT_FALSE(folders.AddContent(Items({"One"}), nullptr));
    EXPECT_EQ(folders.ChildCount(), 0);
    // The other editing operations refuse unless a folder class opens them up.
    EXPECT_FALSE(container.AddFolder("New", 1, nullptr));
    EXPECT_FALSE(container.Remove(container.Child(0), nullptr));
    EXPECT_FALSE(container.Move(&item, nullptr));
}

TEST(ContentFolderTest, NewContentsSkipsPathsThatAreNotFiles) {
    // A plain folder makes nothing from a file; the routing still must not touch missing
    // paths. Policy folders are tested with their policies.
    ContentContainer folder;
    EXPECT_TRUE(folder.NewContents({"/nonexistent/file.mqi", "/"}).empty());
    EXPECT_TRUE(folder.ImportFiles(1, {"/nonexistent/file.mqi"}).empty());
}

TEST(ContentMimeSourceTest, PayloadHoldsTheCountThenTheReferencesInOrder) {
    TestItem first("First");
    TestItem second("Second");
    const QByteArray payload = ContentMimeSource::Payload({&second, &first});
    QDataStream stream(payload);
    quint32 count = 0;
    quint32 a = 0;
    quint32 b = 0;
    stream >> count >> a >> b;
    EXPECT_EQ(payload.size(), 12);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(a, second.Reference());
    EXPECT_EQ(b, first.Reference());

    EXPECT_EQ(ContentMimeSource::Payload({}), QByteArray(4, '\0'));
}

TEST(ContentMimeSourceTest, ReferencesToGoneOrUnknownObjectsAreDropped) {
    TestItem kept("Kept");
    auto gone = std::make_unique<TestItem>("Gone");
    TestItem last("Last");
    const std::unique_ptr<QMimeData> data = ContentMimeSource::MimeData({gone.get(), &kept, &last});
    gone.reset();

    const ContentMimeSource source(*data, 2);
    EXPECT_TRUE(ContentMimeSource::CanDecode(*data));
    EXPECT_EQ(source.Kind(), 2);
    EXPECT_EQ(source.Count(), 3u);
    EXPECT_EQ(source.Contents(), (QList<ContentBase*>{&kept, &last}));

    // Foreign or damaged payloads: references naming nothing, a count larger than the data.
    QByteArray foreign;
    QDataStream stream(&foreign, QIODevice::WriteOnly);
    stream << quint32(1000) << quint32(kept.Reference() + 7777) << kept.Reference();
    QMimeData damaged;
    damaged.setData(ContentMimeSource::MimeFormat(), foreign);
    EXPECT_EQ(ContentMimeSource(damaged, 0).Contents(), QList<ContentBase*>{&kept});
    QMimeData empty;
    EXPECT_TRUE(ContentMimeSource(empty, 0).Contents().isEmpty());
}

TEST(ContentFolderIndexTest, FollowsItemsAndFoldersAsTheTreeChanges) {
    ContentContainer root;
    auto* package = AddSubFolder<ContentContainer>(&root, "Package");
    ContentList first = Items({"Known"});
    first[0]->SetContentKey(0x11);
    package->AddContent(std::move(first), nullptr);

    ContentFolderIndex index(&root);
    EXPECT_EQ(index.FolderCount(), 2);
    EXPECT_EQ(index.Find(0x11), package->Child(0));
    EXPECT_EQ(index.Find(0x22), nullptr);

    auto* folder = AddSubFolder<ContentContainer>(package, "Folder");
    ContentList later = Items({"Later"});
    later[0]->SetContentKey(0x22);
    folder->AddContent(std::move(later), nullptr);
    EXPECT_EQ(index.Find(0x22), folder->Child(0));
    EXPECT_EQ(index.ContentCount(), 2);

    emit root.FolderRemoved(&root, package);  // as a folder does before it deletes one
    EXPECT_EQ(index.Find(0x11), nullptr);
    EXPECT_EQ(index.Find(0x22), nullptr);
    EXPECT_EQ(index.FolderCount(), 1);
}

TEST(ContentFolderIndexTest, DestroyedObjectsLeaveTheRecord) {
    auto root = std::make_unique<ContentContainer>();
    ContentList items = Items({"Item"});
    items[0]->SetContentKey(7);
    root->AddContent(std::move(items), nullptr);
    ContentFolderIndex index(root.get());
    EXPECT_EQ(index.ContentCount(), 1);
    root.reset();
    EXPECT_EQ(index.ContentCount(), 0);
    EXPECT_EQ(index.FolderCount(), 0);
    EXPECT_EQ(index.Find(7), nullptr);
}

TEST(ContentChildListTest, SortOrdersByAddressAndRecursesIntoSubFolders) {
    TestPolicyFolder root(nullptr);
    root.AddItem("c", 30);
    auto* sub = root.Append(std::make_unique<TestPolicyFolder>(nullptr, "sub"));
    sub->SetAddress(20);
    root.AddItem("a", 10);
    sub->AddItem("y", 2);
    sub->AddItem("x", 1);

    root.Sort(false);
    EXPECT_EQ(root.Child(0)->Name(), "a");
    EXPECT_EQ(root.Child(1), sub);
    EXPECT_EQ(sub->Child(0)->Name(), "y");
    root.Sort(true);
    EXPECT_EQ(sub->Child(0)->Name(), "x");
}
