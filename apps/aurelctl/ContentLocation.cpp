#include "ContentLocation.h"

#include "DeviceSession.h"
#include "DeviceVerbs.h"

#include "archive/ArchivePath.h"
#include "archive/CustomFileSystemEngineHandler.h"
#include "content/ContentModelMutex.h"
#include "content/ContentPolicyFolder.h"
#include "content/NamedPolicies.h"
#include "content/library/ContentLibraryPackageFile.h"
#include "content/library/ContentLibraryRoot.h"
#include "content/library/PackagePolicies.h"
#include "content/library/QuorelContentLibrary.h"
#include "content/library/StockContent.h"
#include "lumo/devices/LumoRDM.h"
#include "lumo/tree/LumoRDMContentRoot.h"
#include "rdm/DiscoveryCommand.h"
#include "rdm/LocateDeviceCommand.h"
#include "rdm/RDMProtocol.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {

struct Prefix {
    const char* text;
    ContentLocation::Kind kind;
};

constexpr Prefix kPrefixes[] = {
    {"lib:", ContentLocation::Library},
    {"stock:", ContentLocation::Stock},
    {"quorel:", ContentLocation::Quorel},
    {"pkg:", ContentLocation::PackageFile},
};

// The child of that name (without regard to case), or null.
ContentBase* Named(ContentFolder* folder, const QString& name) {
    const ContentModelLock lock;
    for (int i = 0, count = folder->ChildCount(); i < count; ++i) {
        if (folder->Child(i)->Name().compare(name, Qt::CaseInsensitive) == 0) {
            return folder->Child(i);
        }
    }
    return nullptr;
}

// The child of that number, or null.
ContentBase* Numbered(ContentFolder* folder, int number) {
    const ContentModelLock lock;
    for (int i = 0, count = folder->ChildCount(); i < count; ++i) {
        if (folder->Child(i)->Address() == number) {
            return folder->Child(i);
        }
    }
    return nullptr;
}

// Walks `path` down from `root` by `find`; null with the reason where a step is missing.
template <class Find>
ContentBase* Walk(ContentFolder* root, const QStringList& path, Find find, QString* error) {
    ContentBase* at = root;
    QString walked = root->Name();
    for (const QString& step : path) {
        auto* folder = qobject_cast<ContentFolder*>(at);
        ContentBase* next = folder ? find(folder, step) : nullptr;
        if (!next) {
            *error = QStringLiteral("%1 holds no %2").arg(walked, step);
            return nullptr;
        }
        at = next;
        walked += '/' + next->Name();
    }
    return at;
}

}  // namespace

bool ContentLocation::Parse(const QString& text, ContentLocation* location, QString* error) {
    for (const Prefix& prefix : kPrefixes) {
        if (!text.startsWith(QLatin1String(prefix.text))) {
            continue;
        }
        location->kind = prefix.kind;
        QString rest = text.mid(qsizetype(qstrlen(prefix.text)));
        if (prefix.kind == PackageFile) {
            const ArchivePath split = ArchivePath::Split(rest);
            if (!split.IsArchive()) {
                *error = "not a package file: " + rest +
                         " (.lumopkg, .crvpkg, .marqacollage or .solvicollage)";
                return false;
            }
            location->file = split.ArchiveFile();
            rest = split.InnerPath();
        }
        location->path = rest.split('/', Qt::SkipEmptyParts);
        return true;
    }
    const QStringList parts = text.split('/', Qt::SkipEmptyParts);
    location->kind = Fixture;
    if (parts.isEmpty() || !DeviceVerbs::ParseUid(parts[0], &location->uid)) {
        *error = "not a location: " + text +
                 " (lib:, stock:, quorel:, pkg:FILE or a fixture's UID, then /FOLDER/FILE)";
        return false;
    }
    location->path = parts.mid(1);
    if (location->path.size() > 2) {
        *error = "a fixture location is UID[/FOLDER[/FILE]]: " + text;
        return false;
    }
    for (const QString& number : location->path) {
        bool ok = false;
        const int value = number.toInt(&ok);
        if (!ok || value < 1 || value > 255) {
            *error =
                QStringLiteral("folder and file numbers are from 1 to 255, not %1").arg(number);
            return false;
        }
    }
    return true;
}

ContentPlaces::ContentPlaces(const QCommandLineParser& parser) : m_parser(parser) {
    NamedPolicies::Register();
}

ContentPlaces::~ContentPlaces() {
    WritePackageFiles();
    m_devices.clear();
}

DeviceSession* ContentPlaces::Session(QString* error) {
    if (!m_session) {
        auto session = std::make_unique<DeviceSession>();
        if (!session->Open(m_parser, error)) {
            return nullptr;
        }
        m_session = std::move(session);
    }
    return m_session.get();
}

ContentFolder* ContentPlaces::Root(ContentLocation::Kind kind, const QString& file,
                                   QString* error) {
    switch (kind) {
        case ContentLocation::Library:
            if (!m_library) {
                m_library = std::make_unique<ContentLibraryRoot>();
            }
            return m_library.get();
        case ContentLocation::Stock:
            if (!m_stock) {
                m_stock = std::make_unique<StockContentRoot>();
            }
            return m_stock.get();
        case ContentLocation::Quorel:
            if (!m_quorel) {
                m_quorel = std::make_unique<QuorelContentLibraryRoot>();
            }
            return m_quorel.get();
        default:
            break;
    }
    if (!QFileInfo(file).isFile()) {
        *error = "no package file " + file;
        return nullptr;
    }
    // The package's description names its own policy; this one stands until it is read.
    auto package =
        std::make_unique<ContentLibraryPackageFile>(file, &NamedPolicies::MarqaContentPackage());
    package->Scan();
    m_roots.push_back(std::move(package));
    return m_roots.back().get();
}

ContentBase* ContentPlaces::Resolve(const ContentLocation& location, QString* error) {
    if (location.IsFixture()) {
        return Fixture(location, error);
    }
    ContentFolder* root = Root(location.kind, location.file, error);
    return root ? Walk(root, location.path, &Named, error) : nullptr;
}

ContentBase* ContentPlaces::Fixture(const ContentLocation& location, QString* error) {
    LumoRDM* fixture = Fixture(location.uid, error);
    if (!fixture) {
        return nullptr;
    }
    LumoRDMContentRoot* root = fixture->GetContentRoot();
    if (location.path.isEmpty()) {
        return root->UserGroup();
    }
    // The folder number names its group.
    ContentFolder* group = nullptr;
    for (int g = 0; g < root->ChildCount() && !group; ++g) {
        auto* candidate = qobject_cast<ContentFolder*>(root->Child(g));
        const int number = location.path[0].toInt();
        if (number >= candidate->MinAddress() && number <= candidate->MaxAddress()) {
            group = candidate;
        }
    }
    return group ? Walk(
                       group, location.path,
                       [](ContentFolder* folder, const QString& number) {
                           return Numbered(folder, number.toInt());
                       },
                       error)
                 : nullptr;
}

LumoRDM* ContentPlaces::Fixture(quint64 uid, QString* error) {
    for (const std::unique_ptr<RDMDevice>& device : m_devices) {
        if (device->GetUid() == uid) {
            return qobject_cast<LumoRDM*>(device.get());
        }
    }
    DeviceSession* session = Session(error);
    if (!session) {
        return nullptr;
    }
    LocateDeviceCommand locate(uid);
    const QStringList errors = session->Run(&locate, false);
    std::unique_ptr<RDMDevice> device = locate.TakeDevice();
    if (!device) {
        *error = errors.isEmpty()
                     ? QStringLiteral("no fixture answers as %1").arg(Device::UidText(uid))
                     : errors.join("\n");
        return nullptr;
    }
    auto* fixture = qobject_cast<LumoRDM*>(device.get());
    if (!fixture) {
        *error = QStringLiteral("%1 is a %2, not an LED fixture")
                     .arg(device->UidText(), device->GetModelDescription());
        return nullptr;
    }
    session->Settle([fixture] { fixture->GetContentRoot(); });
    m_devices.push_back(std::move(device));
    return fixture;
}

QList<LumoRDM*> ContentPlaces::AllFixtures(QString* error) {
    QList<LumoRDM*> fixtures;
    DeviceSession* session = Session(error);
    if (!session) {
        return fixtures;
    }
    DiscoveryCommand discovery;
    discovery.SetLists({RDMProtocol::Instance()}, {});
    session->Run(&discovery, false);
    for (Device* device : discovery.GetDevices()) {
        std::unique_ptr<RDMDevice> owned(qobject_cast<RDMDevice*>(device));
        auto* fixture = qobject_cast<LumoRDM*>(device);
        if (!owned) {
            delete device;
            continue;
        }
        if (fixture) {
            session->Settle([fixture] { fixture->GetContentRoot(); });
            fixtures.append(fixture);
            m_devices.push_back(std::move(owned));
        }
    }
    if (fixtures.isEmpty()) {
        *error = "no LED fixture found";
    }
    return fixtures;
}

ContentFolder* ContentPlaces::NewPackageFile(const QString& file, const ContentBase* sample,
                                             QString* error) {
    bool collage = false;
    const PolicyBase* package = PackagePolicies::For(sample, &collage);
    if (!package) {
        *error =
            "can't tell which family's package to write: copy MARQA or Solvi folders or images";
        return nullptr;
    }
    const ArchiveWriterEnabler writing;
    // A collage package keeps its items' Quorel numbers.
    if (collage) {
        m_written.push_back(
            std::make_unique<QuorelContentLibraryPackageDestinationFile>(file, package));
    } else {
        m_written.push_back(std::make_unique<ContentLibraryPackageDestinationFile>(file, package));
    }
    return m_written.back().get();
}

void ContentPlaces::WritePackageFiles() {
    const ArchiveWriterEnabler writing;
    m_written.clear();
}
