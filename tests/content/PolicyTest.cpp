#include "ContentTestSupport.h"
#include "content/NamedPolicies.h"
#include "content/PolicyRules.h"
#include "content/ledimage/IImageImport.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const PolicyBase& Named(const char* className) {
    const PolicyBase* policy = PolicyBase::Find(className);
    EXPECT_NE(policy, nullptr) << className;
    return *policy;
}

struct Unique {
    QString name;
    int address;
    bool changed;
};

Unique MakeUnique(const PolicyBase& policy, const ContentFolder& folder, QString name,
                  int address) {
    const bool changed = policy.MakeUnique(&folder, nullptr, &name, &address);
    return {name, address, changed};
}

}  // namespace

TEST(PolicyRegistryTest, LooksUpWithoutRegardToCaseAndTheNewestRegistrationWins) {
    const PolicyBase* marqa = PolicyBase::Find("marqacontentfolderpolicy");
    ASSERT_NE(marqa, nullptr);
    EXPECT_EQ(marqa, &NamedPolicies::MarqaContentFolder());
    EXPECT_EQ(marqa->ClassName(), "MARQAContentFolderPolicy");
    EXPECT_EQ(PolicyBase::Find("NoSuchPolicy"), nullptr);

    {
        const ContentPolicy<NullPolicy> shadow("MARQAContentFolderPolicy");
        EXPECT_EQ(PolicyBase::Find("MARQAContentFolderPolicy"), &shadow);
    }
    EXPECT_EQ(PolicyBase::Find("MARQAContentFolderPolicy"), marqa);
    // Rule parts without a name are not registered.
    EXPECT_EQ(PolicyBase::Find(""), nullptr);
}

TEST(PolicyRegistryTest, NamedPoliciesCarryTheirNamesLabelsRulesAndChildren) {
    struct Row {
        const char* className;
        const char* displayName;
        const char* label;
        int min, max;
        bool readOnly, childrenReadOnly, viewOnly;
        const char* child0;
        const char* child1;
    };
    const Row rows[] = {
        {"MARQAContentFolderPolicy", "MARQA Folder", "", 1, 255, false, false, false,
         "MARQAContentFolderPolicy", nullptr},
        {"SOLVIContentFolderPolicy", "Solvi Folder", "", 1, 255, false, false, false,
         "SOLVIContentFolderPolicy", nullptr},
        {"MARQAContentPackagePolicy", "MARQA Package", "(MARQA)", 41, 250, false, false, false,
         "MARQAContentFolderPolicy", nullptr},
        {"SOLVIContentPackagePolicy", "Solvi Package", "(Solvi)", 41, 250, false, false, false,
         "SOLVIContentFolderPolicy", nullptr},
        {"MARQAQUORELContentFolderPolicy", "MARQA Quorel Folder", "", 1, 255, false, false, false,
         "MARQAQUORELContentFolderPolicy", nullptr},
        {"SOLVIQUORELContentFolderPolicy", "Solvi Quorel Folder", "", 1, 255, false, false, false,
         "SOLVIQUORELContentFolderPolicy", nullptr},
        {"MARQAQUORELContentPackagePolicy", "MARQA Quorel Package", "(MARQA)", 1, 255, true, false,
         true, "MARQAQUORELContentFolderPolicy", nullptr},
        {"SOLVIQUORELContentPackagePolicy", "Solvi Quorel Package", "(Solvi)", 1, 255, true, false,
         true, "SOLVIQUORELContentFolderPolicy", nullptr},
        {"RootContentPolicy", "Root Content", "", 0, 255, false, false, false,
         "MARQAContentPackagePolicy", "SOLVIContentPackagePolicy"},
        {"RootQuorelContentPolicy", "Root Quorel Content", "", 0, 255, true, true, true,
         "MARQAQUORELContentPackagePolicy", "SOLVIQUORELContentPackagePolicy"},
        {"StandardStockContentPolicy", "StandardStockContentPolicy", "", 0, 255, true, true, true,
         "StandardStockContentPolicy", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.className);
        const PolicyBase& policy = Named(row.className);
        const TestPolicyFolder folder(&policy);
        EXPECT_EQ(policy.DisplayName(), row.displayName);
        EXPECT_EQ(policy.Label(), row.label);
        EXPECT_EQ(folder.MinAddress(), row.min);
        EXPECT_EQ(folder.MaxAddress(), row.max);
        EXPECT_EQ(folder.IsReadOnly(), row.readOnly);
        EXPECT_EQ(folder.ChildrenReadOnly(), row.childrenReadOnly);
        EXPECT_EQ(folder.ViewOnly(), row.viewOnly);
        EXPECT_EQ(policy.ChildPolicy(&folder, 0), PolicyBase::Find(row.child0));
        EXPECT_EQ(policy.ChildPolicy(&folder, 1),
                  row.child1 ? PolicyBase::Find(row.child1) : nullptr);
        EXPECT_EQ(folder.ChildFolderTypeName(0), PolicyBase::Find(row.child0)->DisplayName());
    }
}

TEST(PolicyRuleTest, UniqueAddressWalksRestartAfterEveryRaise) {
    const auto& dmx = ContentPolicy<UniqueDMXChannelPolicy<1, 255>>::Instance();
    TestPolicyFolder folder(&dmx);
    folder.AddItem("a", 4);
    folder.AddItem("b", 3);
    folder.AddItem("c", 5);

    const Unique raised = MakeUnique(dmx, folder, "x", 3);
    EXPECT_EQ(raised.address, 6);
    EXPECT_TRUE(raised.changed);
    const Unique zero = MakeUnique(dmx, folder, "x", 0);
    EXPECT_EQ(zero.address, 0);
    EXPECT_FALSE(zero.changed);
    const Unique free = MakeUnique(dmx, folder, "x", 7);
    EXPECT_EQ(free.address, 7);
    EXPECT_FALSE(free.changed);

    // The child being renamed does not clash with itself.
    int address = 3;
    QString name = "b";
    EXPECT_FALSE(dmx.MakeUnique(&folder, folder.Child(1), &name, &address));
    EXPECT_FALSE(dmx.HasConflict(&folder, folder.Child(1), "b", 3));
    EXPECT_TRUE(dmx.HasConflict(&folder, nullptr, "new", 3));
    EXPECT_FALSE(dmx.HasConflict(&folder, nullptr, "a", 0));
}

TEST(PolicyRuleTest, UniqueNamesAreCutToFourteenCharactersWithTheirCounter) {
    const auto& names = ContentPolicy<UniqueFilenamePolicy>::Instance();
    TestPolicyFolder folder(&names);
    folder.AddItem("ABCDEFGHIJKLMNOP", 1);
    folder.AddItem("Clip", 2);
    folder.AddItem("Clip (2)", 3);

    EXPECT_EQ(MakeUnique(names, folder, "ABCDEFGHIJKLMNOP", 9).name, "ABCDEFGHIJ (2)");
    EXPECT_EQ(MakeUnique(names, folder, "Clip", 9).name, "Clip (3)");
    EXPECT_EQ(MakeUnique(names, folder, "clip", 9).name, "clip");  // names keep their case
    const Unique both = MakeUnique(names, folder, "Clip", 2);
    EXPECT_EQ(both.name, "Clip (3)");
    EXPECT_EQ(both.address, 4);
    EXPECT_FALSE(MakeUnique(names, folder, "Logo", 9).changed);
}

TEST(PolicyRuleTest, CombineAsksTheSecondPartFirst) {
    using Both = Combine<UniqueDMXChannelPolicy<1, 255>, UniqueFilenamePolicy>;
    const auto& both = ContentPolicy<Both>::Instance();
    TestPolicyFolder folder(&both);
    folder.AddItem("Clip", 5);

    // The name rule resolves name and address; the channel rule only bounds and reports.
    const Unique clip = MakeUnique(both, folder, "Clip", 5);
    EXPECT_EQ(clip.name, "Clip (2)");
    EXPECT_EQ(clip.address, 6);
    const Unique logo = MakeUnique(both, folder, "Logo", 5);
    EXPECT_EQ(logo.name, "Logo");
    EXPECT_EQ(logo.address, 6);

    EXPECT_TRUE(folder.HasChild("New", 5));
    EXPECT_FALSE(folder.HasChild("New", 0));
    EXPECT_TRUE(folder.HasChild("Clip", 0));

    const auto& nested =
        ContentPolicy<Combine<Combine<ReadOnlyPolicy<1>, UniqueDMXChannelPolicy<41, 250>>,
                              ViewOnlyPolicy<1>>>::Instance();
    const TestPolicyFolder locked(&nested);
    EXPECT_TRUE(locked.IsReadOnly());
    EXPECT_TRUE(locked.ViewOnly());
    EXPECT_FALSE(locked.ChildrenReadOnly());
    EXPECT_EQ(locked.FirstFreeAddress(), 41);
}

TEST(PolicyRuleTest, FolderPolicyHandsOutFreeAddressesAndResolvesClashesOnTheFolder) {
    TestPolicyFolder folder(&NamedPolicies::MarqaContentFolder());
    folder.AddItem("Clip", 5);
    folder.AddItem("One", 1);
    EXPECT_EQ(folder.FirstFreeAddress(), 2);
    QString name = "Clip";
    int address = 5;
    folder.MakeUnique(&name, &address);
    EXPECT_EQ(name, "Clip (2)");
    EXPECT_EQ(address, 6);
    EXPECT_TRUE(folder.HasConflict(nullptr, "Other", 1));
    EXPECT_FALSE(folder.HasConflict(folder.Child(1), "One", 1));
}

TEST(PolicyFolderTest, FoldersTakeTheItemsAndSubFoldersTheirPoliciesName) {
    const TestPolicyFolder marqaFolder(&NamedPolicies::MarqaContentFolder());
    const TestPolicyFolder marqaPackage(&NamedPolicies::MarqaContentPackage());
    const TestPolicyFolder solviFolder(&NamedPolicies::SolviContentFolder());
    const TestPolicyFolder solviPackage(&NamedPolicies::SolviContentPackage());
    const TestPolicyFolder quorelFolder(&NamedPolicies::MarqaQuorelContentFolder());

    // Image items by exact class: a subclass of an image class is a different class.
    class DerivedImage : public MarqaImage {};
    MarqaImage marqa;
    SolviImage solvi;
    DerivedImage derived;
    TestItem other;
    EXPECT_TRUE(marqaFolder.AcceptsContent(&marqa));
    EXPECT_TRUE(marqaFolder.AcceptsContent(&solvi));
    EXPECT_TRUE(solviFolder.AcceptsContent(&marqa));
    EXPECT_FALSE(marqaFolder.AcceptsContent(&derived));
    EXPECT_FALSE(marqaFolder.AcceptsContent(&other));
    EXPECT_FALSE(marqaPackage.AcceptsContent(&marqa));
    EXPECT_TRUE(quorelFolder.AcceptsContent(&other));

    EXPECT_TRUE(marqaPackage.AcceptsFolder(&solviFolder));
    EXPECT_TRUE(marqaPackage.AcceptsFolder(&marqaFolder));
    EXPECT_TRUE(marqaPackage.AcceptsFolder(&marqaPackage));
    EXPECT_FALSE(marqaPackage.AcceptsFolder(&solviPackage));
    EXPECT_FALSE(marqaFolder.AcceptsFolder(&solviFolder));
    const TestPolicyFolder plain(nullptr);
    EXPECT_TRUE(plain.AcceptsFolder(&marqaFolder));
}

TEST(PolicyFolderTest, MovesNeedTheSamePolicyAndAcceptance) {
    TestPolicyFolder root(&NamedPolicies::RootContent());
    auto* package =
        root.Append(std::make_unique<TestPolicyFolder>(&NamedPolicies::MarqaContentPackage()));
    auto* source =
        package->Append(std::make_unique<TestPolicyFolder>(&NamedPolicies::MarqaContentFolder()));
    auto* target =
        package->Append(std::make_unique<TestPolicyFolder>(&NamedPolicies::MarqaContentFolder()));
    auto* quorel = package->Append(
        std::make_unique<TestPolicyFolder>(&NamedPolicies::MarqaQuorelContentFolder()));
    auto* image = source->Append(std::make_unique<MarqaImage>());
    auto* stray = source->AddItem("stray", 9);

    EXPECT_TRUE(target->CanMoveContent(image));
    EXPECT_FALSE(source->CanMoveContent(image));   // already there
    EXPECT_FALSE(quorel->CanMoveContent(image));   // parent has another policy
    EXPECT_FALSE(target->CanMoveContent(stray));   // not an item the folder takes
    EXPECT_FALSE(package->CanMoveFolder(source));  // the folder's policy differs
}

TEST(PolicyConvertTest, FolderPoliciesMakeItemsOfTheirOwnFamily) {
    MarqaImage marqa;
    marqa.SetName("Ring");
    SolviImage solvi;
    TestItem other;
    const PolicyBase& marqaFolder = NamedPolicies::MarqaContentFolder();
    const PolicyBase& solviFolder = NamedPolicies::SolviContentFolder();

    const std::unique_ptr<Content> copy = marqaFolder.ConvertContent(marqa);
    ASSERT_NE(qobject_cast<MarqaImage*>(copy.get()), nullptr);
    EXPECT_NE(copy.get(), &marqa);
    EXPECT_EQ(copy->Name(), "Ring");
    EXPECT_NE(qobject_cast<MarqaImage*>(marqaFolder.ConvertContent(solvi).get()), nullptr);
    EXPECT_NE(qobject_cast<SolviImage*>(solviFolder.ConvertContent(marqa).get()), nullptr);
    EXPECT_EQ(marqaFolder.ConvertContent(other), nullptr);
    EXPECT_EQ(NamedPolicies::MarqaQuorelContentFolder().ConvertContent(marqa), nullptr);
    EXPECT_EQ(NamedPolicies::MarqaContentPackage().ConvertContent(marqa), nullptr);
}

namespace {

// Stands for the import dialog: accepts or cancels, and records what it was asked.
class FakeImport : public IImageImport {
public:
    explicit FakeImport(bool accept) : m_accept(accept) { IImageImport::Install(this); }
    ~FakeImport() override { IImageImport::Install(nullptr); }

    bool Import(Content& image, int address, const QString& file) override {
        asked = file;
        askedAddress = address;
        image.SetContentKey(0x1234);
        return m_accept;
    }

    QString asked;
    int askedAddress = -1;

private:
    bool m_accept;
};

}  // namespace

TEST(PolicyImportTest, FilesBecomeItemsOfTheFolderFamilyNamedAfterTheFile) {
    QTemporaryDir dir;
    SolviImage solvi;
    solvi.SetName("inside");
    solvi.SetFrames(std::vector<SolviImage::Frame>(3));
    ASSERT_TRUE(solvi.Save(dir.filePath("Sunrise.slvi")));
    ASSERT_TRUE(MarqaImage().Save(dir.filePath("Plain.MQI")));
    QFile garbage(dir.filePath("broken.mqi"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not an image");
    garbage.close();

    TestPolicyFolder folder(&NamedPolicies::MarqaContentFolder());
    const ContentList converted =
        folder.ImportFiles(7, {dir.filePath("Sunrise.slvi"), dir.filePath("broken.mqi"),
                               dir.filePath("Plain.MQI"), dir.filePath("missing.mqi")});
    ASSERT_EQ(converted.size(), 2u);
    const auto* sunrise = qobject_cast<MarqaImage*>(converted[0].get());
    ASSERT_NE(sunrise, nullptr);
    EXPECT_EQ(sunrise->Name(), "Sunrise");
    EXPECT_EQ(sunrise->FrameCount(), 3);
    EXPECT_EQ(converted[1]->Name(), "Plain");

    // Pictures go through the installed import; without one, or when it is cancelled,
    // nothing is made.
    const QString picture = dir.filePath("A very long picture name.png");
    EXPECT_TRUE(folder.ImportFile(7, picture).empty());
    {
        FakeImport cancelled(false);
        EXPECT_TRUE(folder.ImportFile(7, picture).empty());
        EXPECT_EQ(cancelled.asked, picture);
    }
    FakeImport accepted(true);
    const ContentList imported = folder.ImportFile(7, picture);
    ASSERT_EQ(imported.size(), 1u);
    EXPECT_NE(qobject_cast<MarqaImage*>(imported[0].get()), nullptr);
    EXPECT_EQ(imported[0]->Name(), "A very long pict");
    EXPECT_EQ(imported[0]->ContentKey(), 0x1234u);
    EXPECT_EQ(accepted.askedAddress, 7);

    TestPolicyFolder solviQuorel(&NamedPolicies::SolviQuorelContentFolder());
    const ContentList quorel = solviQuorel.ImportFile(1, dir.filePath("Plain.MQI"));
    ASSERT_EQ(quorel.size(), 1u);
    EXPECT_NE(qobject_cast<SolviImage*>(quorel[0].get()), nullptr);
    TestPolicyFolder package(&NamedPolicies::MarqaContentPackage());
    EXPECT_TRUE(package.ImportFile(1, dir.filePath("Plain.MQI")).empty());
}

TEST(PolicyImportTest, NewContentsMakesEmptyItemsForExistingFiles) {
    QTemporaryDir dir;
    QFile file(dir.filePath("Clip.gif"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    TestPolicyFolder folder(&NamedPolicies::SolviContentFolder());
    const ContentList items =
        folder.NewContents({dir.filePath("Clip.gif"), dir.filePath("gone.gif"), dir.path()});
    ASSERT_EQ(items.size(), 1u);
    const auto* image = qobject_cast<SolviImage*>(items[0].get());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Name(), "Clip");
    EXPECT_EQ(image->FrameCount(), 0);
}
