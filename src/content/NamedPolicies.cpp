#include "content/NamedPolicies.h"

#include "content/PolicyRules.h"
#include "content/ledimage/IImageImport.h"
#include "content/ledimage/LEDImageFamily.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"

#include <QFileInfo>

#include <optional>
#include <vector>

namespace {

// One kind of child a policy takes: an exact item class or a sub-folder policy's class name.
struct Accept {
    const std::type_info* itemClass;
    const char* policyName;
};

const Accept kMarqaItems{&typeid(MarqaImage), nullptr};
const Accept kSolviItems{&typeid(SolviImage), nullptr};

struct PolicyRow {
    const char* className;
    const char* displayName;
    const char* label;
    std::vector<Accept> accepts;  // empty: everything the rule parts accept
    const char* childPolicy;      // kind 0
    const char* childPolicy1;     // kind 1 (null: none)
    std::optional<LEDImageFamily::Family> convertsTo;
    std::optional<LEDImageFamily::Family> imports;
};

template <class Rules>
class NamedPolicy : public ContentPolicy<Rules> {
public:
    explicit NamedPolicy(PolicyRow row) : ContentPolicy<Rules>(row.className), m_row(row) {}

    bool AcceptsOwnType(const ContentType& type) const override {
        if (m_row.accepts.empty()) {
            return true;
        }
        for (const Accept& accept : m_row.accepts) {
            if (accept.itemClass && type.itemClass && *accept.itemClass == *type.itemClass) {
                return true;
            }
            if (accept.policyName && type.folderPolicy &&
                type.folderPolicy->ClassName() == QLatin1String(accept.policyName)) {
                return true;
            }
        }
        return false;
    }

    std::unique_ptr<Content> ConvertContent(const Content& content) const override {
        return m_row.convertsTo ? LEDImageFamily::ConvertTo(*m_row.convertsTo, content) : nullptr;
    }

    QString DisplayName() const override { return QString::fromLatin1(m_row.displayName); }
    QString Label() const override { return QString::fromLatin1(m_row.label); }

    ContentList Import(const ContentFolder* /*folder*/, int address, const QString& file,
                       bool createEmpty) const override {
        return m_row.imports ? ImportImage(*m_row.imports, address, file, createEmpty)
                             : ContentList();
    }

    const PolicyBase* ChildPolicy(const ContentFolder* /*folder*/, int kind) const override {
        const char* name = kind == 0 ? m_row.childPolicy : kind == 1 ? m_row.childPolicy1 : nullptr;
        return name ? PolicyBase::Find(QString::fromLatin1(name)) : nullptr;
    }

private:
    // An LED image of `family` from the file: a file of either image family is loaded (and
    // converted), anything else goes through the image import; named after the file.
    static ContentList ImportImage(LEDImageFamily::Family family, int address, const QString& file,
                                   bool createEmpty) {
        std::unique_ptr<Content> image;
        if (createEmpty) {
            image = LEDImageFamily::NewImage(family);
        } else if (LEDImageFamily::FamilyOfSuffix(QFileInfo(file).suffix())) {
            const std::unique_ptr<Content> loaded = LEDImageFamily::LoadFile(file);
            if (!loaded) {
                return {};
            }
            image = LEDImageFamily::ConvertTo(family, *loaded);
            if (!image) {
                return {};
            }
        } else {
            image = LEDImageFamily::NewImage(family);
            IImageImport* importer = IImageImport::Installed();
            if (!importer || !importer->Import(*image, address, file)) {
                return {};
            }
        }
        image->SetName(QFileInfo(file).completeBaseName());
        ContentList items;
        items.push_back(std::move(image));
        return items;
    }

    PolicyRow m_row;
};

using Family = LEDImageFamily::Family;

using FolderRules = Combine<UniqueDMXChannelPolicy<1, 255>, UniqueFilenamePolicy>;
using PackageRules = Combine<UniqueDMXChannelPolicy<41, 250>, UniqueFilenamePolicy>;
using QuorelPackageRules = Combine<
    Combine<Combine<ReadOnlyPolicy<1>, UniqueDMXChannelPolicy<1, 255>>, UniqueFilenamePolicy>,
    ViewOnlyPolicy<1>>;
using LockedRootRules =
    Combine<Combine<ReadOnlyPolicy<1>, ChildrenReadOnlyPolicy<1>>, ViewOnlyPolicy<1>>;

// Every named policy, in registration order (a later row wins a lookup of an equal name).
struct Policies {
    NamedPolicy<FolderRules> marqaFolder{{"MARQAContentFolderPolicy",
                                          "MARQA Folder",
                                          "",
                                          {kMarqaItems, kSolviItems},
                                          "MARQAContentFolderPolicy",
                                          nullptr,
                                          Family::Marqa,
                                          Family::Marqa}};
    NamedPolicy<FolderRules> solviFolder{{"SOLVIContentFolderPolicy",
                                          "Solvi Folder",
                                          "",
                                          {kSolviItems, kMarqaItems},
                                          "SOLVIContentFolderPolicy",
                                          nullptr,
                                          Family::Solvi,
                                          Family::Solvi}};
    NamedPolicy<PackageRules> marqaPackage{{"MARQAContentPackagePolicy",
                                            "MARQA Package",
                                            "(MARQA)",
                                            {{nullptr, "MARQAContentPackagePolicy"},
                                             {nullptr, "MARQAContentFolderPolicy"},
                                             {nullptr, "SOLVIContentFolderPolicy"}},
                                            "MARQAContentFolderPolicy",
                                            nullptr,
                                            {},
                                            {}}};
    NamedPolicy<PackageRules> solviPackage{{"SOLVIContentPackagePolicy",
                                            "Solvi Package",
                                            "(Solvi)",
                                            {{nullptr, "SOLVIContentPackagePolicy"},
                                             {nullptr, "SOLVIContentFolderPolicy"},
                                             {nullptr, "MARQAContentFolderPolicy"}},
                                            "SOLVIContentFolderPolicy",
                                            nullptr,
                                            {},
                                            {}}};
    NamedPolicy<FolderRules> marqaQuorelFolder{{"MARQAQUORELContentFolderPolicy",
                                                "MARQA Quorel Folder",
                                                "",
                                                {},
                                                "MARQAQUORELContentFolderPolicy",
                                                nullptr,
                                                {},
                                                Family::Marqa}};
    NamedPolicy<FolderRules> solviQuorelFolder{{"SOLVIQUORELContentFolderPolicy",
                                                "Solvi Quorel Folder",
                                                "",
                                                {},
                                                "SOLVIQUORELContentFolderPolicy",
                                                nullptr,
                                                {},
                                                Family::Solvi}};
    NamedPolicy<QuorelPackageRules> marqaQuorelPackage{{"MARQAQUORELContentPackagePolicy",
                                                        "MARQA Quorel Package",
                                                        "(MARQA)",
                                                        {},
                                                        "MARQAQUORELContentFolderPolicy",
                                                        nullptr,
                                                        {},
                                                        {}}};
    NamedPolicy<QuorelPackageRules> solviQuorelPackage{{"SOLVIQUORELContentPackagePolicy",
                                                        "Solvi Quorel Package",
                                                        "(Solvi)",
                                                        {},
                                                        "SOLVIQUORELContentFolderPolicy",
                                                        nullptr,
                                                        {},
                                                        {}}};
    NamedPolicy<UniqueFilenamePolicy> root{{"RootContentPolicy",
                                            "Root Content",
                                            "",
                                            {},
                                            "MARQAContentPackagePolicy",
                                            "SOLVIContentPackagePolicy",
                                            {},
                                            {}}};
    NamedPolicy<LockedRootRules> quorelRoot{{"RootQuorelContentPolicy",
                                             "Root Quorel Content",
                                             "",
                                             {},
                                             "MARQAQUORELContentPackagePolicy",
                                             "SOLVIQUORELContentPackagePolicy",
                                             {},
                                             {}}};
    NamedPolicy<LockedRootRules> stock{{"StandardStockContentPolicy",
                                        "StandardStockContentPolicy",
                                        "",
                                        {},
                                        "StandardStockContentPolicy",
                                        nullptr,
                                        {},
                                        {}}};
};

const Policies& All() {
    static const Policies policies;
    return policies;
}

}  // namespace

namespace NamedPolicies {

void Register() {
    All();
}

const PolicyBase& MarqaContentFolder() {
    return All().marqaFolder;
}
const PolicyBase& SolviContentFolder() {
    return All().solviFolder;
}
const PolicyBase& MarqaContentPackage() {
    return All().marqaPackage;
}
const PolicyBase& SolviContentPackage() {
    return All().solviPackage;
}
const PolicyBase& MarqaQuorelContentFolder() {
    return All().marqaQuorelFolder;
}
const PolicyBase& SolviQuorelContentFolder() {
    return All().solviQuorelFolder;
}
const PolicyBase& MarqaQuorelContentPackage() {
    return All().marqaQuorelPackage;
}
const PolicyBase& SolviQuorelContentPackage() {
    return All().solviQuorelPackage;
}
const PolicyBase& RootContent() {
    return All().root;
}
const PolicyBase& RootQuorelContent() {
    return All().quorelRoot;
}
const PolicyBase& StandardStockContent() {
    return All().stock;
}

}  // namespace NamedPolicies
