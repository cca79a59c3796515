#include "ContentVerbs.h"

#include "CommandLine.h"
#include "DeviceSession.h"
#include "DeviceVerbs.h"
#include "OperationVerbs.h"

#include "comm/Command.h"
#include "comm/FeedbackCollector.h"
#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"
#include "content/ledimage/LEDImageFamily.h"
#include "content/operations/ContentSteps.h"
#include "lumo/LumoImageKind.h"
#include "lumo/LumoProtocol.h"
#include "lumo/commands/LumoContentDownloadCommand.h"
#include "lumo/commands/LumoContentMultiUploadCommand.h"
#include "lumo/commands/LumoSetQuorelIdCommand.h"
#include "lumo/devices/MarqaRDM.h"
#include "lumo/tree/LumoRDMContentRoot.h"
#include "rdm/DiscoveryCommand.h"
#include "rdm/RDMProtocol.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <optional>

namespace ContentVerbs {

namespace {

using DeviceVerbs::DeviceVerb;

// Collects what the tree and its commands report; with `printLog` every line goes to
// standard error as it comes.
class CollectingFeedback : public FeedbackCollector {
public:
    explicit CollectingFeedback(bool printLog)
        : FeedbackCollector(printLog ? Echo([](const QString& text) {
              std::fprintf(stderr, "%s\n", qPrintable(text));
          })
                                     : Echo()) {}

    // Fails with the errors (or `fallback`) when anything failed or was refused.
    int Result(const QString& fallback) const {
        if (Clean()) {
            return 0;
        }
        const QStringList errors = Errors();
        return CommandLine::Fail(errors.isEmpty() ? fallback : errors.join("\n"), 1);
    }
};

LumoRDM* Fixture(RDMDevice& device) {
    return qobject_cast<LumoRDM*>(&device);
}

int NotAFixture(const RDMDevice& device) {
    return CommandLine::Fail(QStringLiteral("%1 is a %2, not an LED fixture")
                                 .arg(device.UidText(), device.GetModelDescription()),
                             1);
}

const LumoImageKind& KindOf(const LumoRDM& device) {
    return qobject_cast<const MarqaRDM*>(&device) ? LumoImageKind::Marqa() : LumoImageKind::Solvi();
}

// The fixture's content tree with every folder and file read.
LumoRDMContentRoot* ReadTree(DeviceSession& session, LumoRDM& device) {
    LumoRDMContentRoot* root = nullptr;
    session.Settle([&] { root = device.GetContentRoot(); });
    return root;
}

// The folder of the tree with that number, or null.
ContentFolder* FindFolder(ContentFolder* root, int number) {
    const ContentModelLock lock;
    for (int g = 0; g < root->ChildCount(); ++g) {
        auto* group = qobject_cast<ContentFolder*>(root->Child(g));
        for (int f = 0; group && f < group->ChildCount(); ++f) {
            auto* folder = qobject_cast<ContentFolder*>(group->Child(f));
            if (folder && folder->Address() == number) {
                return folder;
            }
        }
    }
    return nullptr;
}

// The group of the tree whose folder numbers hold `number`, or null.
ContentFolder* FindGroup(ContentFolder* root, int number) {
    const ContentModelLock lock;
    for (int g = 0; g < root->ChildCount(); ++g) {
        auto* group = qobject_cast<ContentFolder*>(root->Child(g));
        if (group && number >= group->MinAddress() && number <= group->MaxAddress()) {
            return group;
        }
    }
    return nullptr;
}

int Count(const ContentFolder* folder) {
    const ContentModelLock lock;
    return folder->ChildCount();
}

ContentBase* FindItem(ContentFolder* folder, int number) {
    const ContentModelLock lock;
    for (int i = 0; i < folder->ChildCount(); ++i) {
        if (folder->Child(i)->Address() == number) {
            return folder->Child(i);
        }
    }
    return nullptr;
}

QString Key(const ContentBase* item) {
    const auto* content = qobject_cast<const Content*>(item);
    return QStringLiteral("0x%1").arg(content ? content->ContentKey() : 0, 8, 16, QChar('0'));
}

QString Listing(ContentFolder* root) {
    const ContentModelLock lock;
    QString text;
    for (int g = 0; g < root->ChildCount(); ++g) {
        auto* group = qobject_cast<ContentFolder*>(root->Child(g));
        if (!group) {
            continue;
        }
        text += QStringLiteral("%1 (folders %2-%3)\n")
                    .arg(group->Name())
                    .arg(group->MinAddress())
                    .arg(group->MaxAddress());
        for (int f = 0; f < group->ChildCount(); ++f) {
            auto* folder = qobject_cast<ContentFolder*>(group->Child(f));
            if (!folder) {
                continue;
            }
            text += QStringLiteral("  %1  %2\n").arg(folder->Address(), 3).arg(folder->Name());
            for (int i = 0; i < folder->ChildCount(); ++i) {
                const ContentBase* item = folder->Child(i);
                text += QStringLiteral("       %1  %2  %3\n")
                            .arg(item->Address(), 3)
                            .arg(item->Name(), -16)
                            .arg(Key(item));
            }
        }
    }
    return text;
}

QString NumberCheck(const QString& text, int low, int high, const char* what) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= low && value <= high ? QString()
                                               : QStringLiteral("%1 must be from %2 to %3, not %4")
                                                     .arg(QLatin1String(what))
                                                     .arg(low)
                                                     .arg(high)
                                                     .arg(text);
}

// Reads the fixture's tree and finds the folder; an exit status when either is missing.
std::optional<int> OpenFolder(DeviceSession& session, RDMDevice& device, const QString& number,
                              ContentFolder** root, ContentFolder** folder) {
    LumoRDM* fixture = Fixture(device);
    if (!fixture) {
        return NotAFixture(device);
    }
    *root = ReadTree(session, *fixture);
    *folder = FindFolder(*root, number.toInt());
    if (!*folder) {
        return CommandLine::Fail(
            QStringLiteral("%1 has no folder %2").arg(device.UidText(), number), 1);
    }
    return std::nullopt;
}

// {"uid", "groups": [{"name", "first", "last", "folders": [{"number", "name",
// "files": [{"number", "name", "key"}]}]}]}
QJsonObject JsonListing(const RDMDevice& device, ContentFolder* root) {
    const ContentModelLock lock;
    QJsonArray groups;
    for (ContentBase* child : ContentSteps::Children(root)) {
        auto* group = qobject_cast<ContentFolder*>(child);
        if (!group) {
            continue;
        }
        QJsonArray folders;
        for (ContentBase* node : ContentSteps::Children(group)) {
            auto* folder = qobject_cast<ContentFolder*>(node);
            if (!folder) {
                continue;
            }
            QJsonArray files;
            for (const ContentBase* item : ContentSteps::Children(folder)) {
                files.append(QJsonObject{
                    {"number", item->Address()}, {"name", item->Name()}, {"key", Key(item)}});
            }
            folders.append(QJsonObject{
                {"number", folder->Address()}, {"name", folder->Name()}, {"files", files}});
        }
        groups.append(QJsonObject{{"name", group->Name()},
                                  {"first", group->MinAddress()},
                                  {"last", group->MaxAddress()},
                                  {"folders", folders}});
    }
    return {{"uid", device.UidText()}, {"groups", groups}};
}

int List(DeviceSession& session, RDMDevice& device, const QStringList&, bool) {
    LumoRDM* fixture = Fixture(device);
    if (!fixture) {
        return NotAFixture(device);
    }
    ContentFolder* root = ReadTree(session, *fixture);
    CommandLine::Print(DeviceVerbs::Options().isSet("json")
                           ? QString::fromUtf8(QJsonDocument(JsonListing(device, root)).toJson())
                           : Listing(root));
    return 0;
}

// The images to upload, of the fixture's family (converted when need be), numbered from
// `first` on, or (with `first` 0) given the folder's free numbers in turn.
ContentList LoadImages(const QStringList& paths, const LumoImageKind& kind, int first,
                       const ContentFolder* folder, QString* error) {
    ContentList items;
    int next = first > 0 ? first : 1;
    for (const QString& path : paths) {
        QString why;
        const std::unique_ptr<Content> loaded = LEDImageFamily::LoadFile(path, &why);
        std::unique_ptr<Content> item =
            loaded ? LEDImageFamily::ConvertTo(kind.Family(), *loaded) : nullptr;
        if (!item) {
            *error = "cannot read LED image " + path + ": " + why;
            return {};
        }
        if (first <= 0 && folder) {
            next = folder->NextFreeAddress(next);
        }
        if (next <= 0 || next > 255) {
            *error = "no free file number left in the folder";
            return {};
        }
        item->SetAddress(next++);
        items.push_back(std::move(item));
    }
    return items;
}

// All fixtures of the family, found by an RDM discovery.
QList<Device*> FamilyFixtures(DeviceSession& session, const LumoImageKind& kind, bool log) {
    DiscoveryCommand discovery;
    discovery.SetLists({RDMProtocol::Instance()}, {});
    session.Run(&discovery, log);
    QList<Device*> fixtures;
    for (Device* device : discovery.GetDevices()) {
        auto* fixture = qobject_cast<LumoRDM*>(device);
        if (fixture && &KindOf(*fixture) == &kind) {
            fixtures.append(device);
        } else {
            delete device;
        }
    }
    return fixtures;
}

int Upload(DeviceSession& session, RDMDevice& device, const QStringList& words, bool log) {
    LumoRDM* fixture = Fixture(device);
    if (!fixture) {
        return NotAFixture(device);
    }
    const QCommandLineParser& options = DeviceVerbs::Options();
    const int folderNumber = words[0].toInt();
    const int first = options.isSet("file") ? options.value("file").toInt() : 0;
    if (options.isSet("file") && (first < 1 || first > 255)) {
        return CommandLine::Fail("--file must be from 1 to 255", 2);
    }
    const LumoImageKind& kind = KindOf(*fixture);
    CollectingFeedback feedback(log);
    QString error;
    if (options.isSet("all")) {
        ContentList items = LoadImages(words.mid(1), kind, first > 0 ? first : 1, nullptr, &error);
        if (!error.isEmpty()) {
            return CommandLine::Fail(error, 2);
        }
        const QList<Device*> fixtures = FamilyFixtures(session, kind, log);
        std::unique_ptr<LumoContentMultiUploadCommand> command(
            &kind == &LumoImageKind::Marqa()
                ? static_cast<LumoContentMultiUploadCommand*>(new MarqaContentMultiUploadCommand)
                : new SolviContentMultiUploadCommand);
        command->Setup(fixtures, quint16(folderNumber), std::move(items));
        command->SetFeedback(&feedback);
        session.Run(command.get(), false);
        for (LumoRDM* done : command->Devices()) {
            CommandLine::Print(QStringLiteral("%1 took every file\n").arg(done->UidText()));
        }
        command.reset();
        qDeleteAll(fixtures);
        return feedback.Result("the upload failed");
    }
    ContentFolder* root = nullptr;
    ContentFolder* folder = nullptr;
    if (const auto status = OpenFolder(session, device, words[0], &root, &folder)) {
        return *status;
    }
    ContentList items = LoadImages(words.mid(1), kind, first, folder, &error);
    if (!error.isEmpty()) {
        return CommandLine::Fail(error, 2);
    }
    QStringList done;
    for (const auto& item : items) {
        const ContentBase* replaced = FindItem(folder, item->Address());
        done.append(QStringLiteral("%1 -> folder %2 file %3%4")
                        .arg(item->Name())
                        .arg(folderNumber)
                        .arg(item->Address())
                        .arg(replaced ? " (replaces " + replaced->Name() + ")" : QString()));
    }
    bool accepted = false;
    session.Settle([&] { accepted = folder->AddContent(std::move(items), &feedback); });
    if (!accepted || feedback.Failures() > 0) {
        return feedback.Result("the upload failed");
    }
    CommandLine::Print(done.join('\n') + '\n');
    return 0;
}

int Download(DeviceSession& session, RDMDevice& device, const QStringList& words, bool log) {
    ContentFolder* root = nullptr;
    ContentFolder* folder = nullptr;
    if (const auto status = OpenFolder(session, device, words[0], &root, &folder)) {
        return *status;
    }
    const quint16 file = quint16(words[1].toInt());
    if (!FindItem(folder, file)) {
        return CommandLine::Fail(
            QStringLiteral("File %1 does not exist in folder %2").arg(file).arg(words[0]), 1);
    }
    LumoRDM* fixture = Fixture(device);
    const LumoImageKind& kind = KindOf(*fixture);
    std::unique_ptr<Content> item = kind.NewItem();
    item->SetAddress(file);
    ContentList items;
    items.push_back(std::move(item));
    std::unique_ptr<LumoContentDownloadCommand> command(
        &kind == &LumoImageKind::Marqa()
            ? static_cast<LumoContentDownloadCommand*>(new MarqaContentDownloadCommand)
            : new SolviContentDownloadCommand);
    command->Setup(fixture, quint16(words[0].toInt()), std::move(items));
    CollectingFeedback feedback(log);
    command->SetFeedback(&feedback);
    session.Run(command.get(), false);
    if (feedback.Failures() > 0) {
        return feedback.Result("the download failed");
    }
    const std::unique_ptr<Content> downloaded = command->TakeItem(file);
    QString out = words[2];
    if (QFileInfo(out).suffix().isEmpty()) {
        out += '.' + downloaded->Suffix();
    }
    if (const QString problem = LEDImageFamily::SaveAs(*downloaded, out); !problem.isEmpty()) {
        return CommandLine::Fail(problem, 1);
    }
    CommandLine::Print(
        QStringLiteral("%1 (key %2) -> %3\n").arg(downloaded->Name(), Key(downloaded.get()), out));
    return 0;
}

int Remove(DeviceSession& session, RDMDevice& device, const QStringList& words, bool log) {
    ContentFolder* root = nullptr;
    ContentFolder* folder = nullptr;
    if (const auto status = OpenFolder(session, device, words[0], &root, &folder)) {
        return *status;
    }
    CollectingFeedback feedback(log);
    if (words.size() == 1) {
        if (const int refused = CommandLine::RefuseFullFolder(
                DeviceVerbs::Options(), words[0], Count(folder), QStringLiteral("file(s)"))) {
            return refused;
        }
        ContentFolder* group = FindGroup(root, folder->Address());
        session.Settle([&] { group->Remove(folder, &feedback); });
        return feedback.Result("the folder was not removed");
    }
    for (const QString& word : words.mid(1)) {
        ContentBase* item = FindItem(folder, word.toInt());
        if (!item) {
            return CommandLine::Fail(QStringLiteral("no file %1 in folder %2").arg(word, words[0]),
                                     1);
        }
        session.Settle([&] { folder->Remove(item, &feedback); });
    }
    return feedback.Result("the files were not removed");
}

int MakeFolder(DeviceSession& session, RDMDevice& device, const QStringList& words, bool log) {
    LumoRDM* fixture = Fixture(device);
    if (!fixture) {
        return NotAFixture(device);
    }
    ContentFolder* root = ReadTree(session, *fixture);
    const int number = words[0].toInt();
    ContentFolder* group = FindGroup(root, number);
    if (!group) {
        return CommandLine::Fail(QStringLiteral("no group holds folder %1").arg(number), 1);
    }
    CollectingFeedback feedback(log);
    session.Settle([&] { group->AddFolder(words[1], number, &feedback); });
    return feedback.Result("the folder was not added");
}

int Rename(DeviceSession& session, RDMDevice& device, const QStringList& words, bool log) {
    ContentFolder* root = nullptr;
    ContentFolder* folder = nullptr;
    if (const auto status = OpenFolder(session, device, words[0], &root, &folder)) {
        return *status;
    }
    CollectingFeedback feedback(log);
    const QCommandLineParser& options = DeviceVerbs::Options();
    if (words.size() == 2) {
        const int number =
            options.isSet("number") ? options.value("number").toInt() : folder->Address();
        ContentFolder* group = FindGroup(root, folder->Address());
        session.Settle([&] { group->Rename(folder, words[1], number, &feedback); });
        return feedback.Result("the folder was not renamed");
    }
    ContentBase* item = FindItem(folder, words[1].toInt());
    if (!item) {
        return CommandLine::Fail(QStringLiteral("no file %1 in folder %2").arg(words[1], words[0]),
                                 1);
    }
    const int number = options.isSet("number") ? options.value("number").toInt() : item->Address();
    session.Settle([&] { folder->Rename(item, words[2], number, &feedback); });
    return feedback.Result("the file was not renamed");
}

QString FolderCheck(const QStringList& words) {
    return NumberCheck(words.value(0), 1, 255, "FOLDER");
}

QString FolderFileCheck(const QStringList& words) {
    const QString folder = FolderCheck(words);
    return folder.isEmpty() ? NumberCheck(words.value(1), 1, 255, "FILE") : folder;
}

// The first problem found, or an empty text.
QString Checks(const QStringList& problems) {
    for (const QString& problem : problems) {
        if (!problem.isEmpty()) {
            return problem;
        }
    }
    return {};
}

// The name is the last word.
QString NameCheck(const QStringList& words) {
    return ContentBase::NameProblem(words.value(words.size() - 1));
}

// OUT names a file of an LED image family, a GIF, or (without a suffix) the fixture's family.
QString DownloadCheck(const QStringList& words) {
    const QString suffix = QFileInfo(words.value(2)).suffix();
    if (!suffix.isEmpty() && !LEDImageFamily::FamilyOfSuffix(suffix) &&
        !LEDImageFamily::IsGifSuffix(suffix)) {
        return words.value(2) + ": the output suffix must be .mqi, .slvi or .gif";
    }
    return FolderFileCheck(words);
}

QString FilesCheck(const QStringList& words) {
    for (const QString& word : words.mid(1)) {
        const QString problem = NumberCheck(word, 1, 255, "FILE");
        if (!problem.isEmpty()) {
            return problem;
        }
    }
    return FolderCheck(words);
}

struct SubVerb {
    const char* name;
    DeviceVerb verb;
};

const QList<SubVerb>& SubVerbs() {
    static const QList<SubVerb> verbs = {
        {"ls",
         {"ls",
          "List the folders and files of an LED fixture.",
          "",
          0,
          0,
          [](const QStringList&) { return QString(); },
          &List,
          {{"json", "Print the listing as JSON."}}}},
        {"upload",
         {"upload",
          "Upload LED images into a folder of a fixture (or of all of its family).",
          "FOLDER IMAGE...",
          2,
          256,
          &FolderCheck,
          &Upload,
          {{"file", "Number the files from N on (default: the folder's free numbers).", "N"},
           {"all", "Upload by broadcast to every fixture of the family."}}}},
        {"download",
         {"download",
          "Download a file of a fixture into an image file (.mqi, .slvi: converted to that "
          "family; .gif: the animation).",
          "FOLDER FILE OUT", 3, 3, &DownloadCheck, &Download}},
        {"rm",
         {"rm",
          "Remove files of a folder, or the whole folder (with --recursive when it holds files).",
          "FOLDER [FILE...]",
          1,
          256,
          &FilesCheck,
          &Remove,
          {{"recursive", "Remove a folder with the files it holds."}}}},
        {"mkdir",
         {"mkdir", "Add a folder to a fixture.", "FOLDER NAME", 2, 2,
          [](const QStringList& words) {
              return Checks({FolderCheck(words), NameCheck(words)});
          },
          &MakeFolder}},
        {"rename",
         {"rename",
          "Rename a folder, or a file of a folder.",
          "FOLDER [FILE] NAME",
          2,
          3,
          [](const QStringList& words) {
              return Checks({words.size() == 3 ? FolderFileCheck(words) : FolderCheck(words),
                             NameCheck(words)});
          },
          &Rename,
          {{"number", "Also give the folder or file this number.", "N"}}}},
    };
    return verbs;
}

QString QuorelCheck(const QStringList& words) {
    return words.isEmpty() ? QString() : NumberCheck(words[0], 0, 65535, "the Quorel address");
}

// Runs one protocol call on the worker thread.
class CallCommand : public Command {
public:
    explicit CallCommand(std::function<bool(IFeedback*)> call) : m_call(std::move(call)) {
        SetName(QStringLiteral("Read Quorel Address"));
    }
    bool Execute() override {
        const bool ok = m_call(this);
        Finished(ResultOf(ok));
        return ok;
    }

private:
    std::function<bool(IFeedback*)> m_call;
};

int QuorelAct(DeviceSession& session, RDMDevice& device, const QStringList& words, bool log) {
    LumoRDM* fixture = Fixture(device);
    if (!fixture) {
        return NotAFixture(device);
    }
    CollectingFeedback feedback(log);
    if (words.isEmpty()) {
        CallCommand read([fixture](IFeedback* sink) {
            return LumoProtocol::ProtocolFor(fixture)->GetQuorelAddress(fixture, sink);
        });
        read.SetFeedback(&feedback);
        session.Run(&read, false);
    } else {
        LumoSetQuorelIdCommand set;
        set.Setup(fixture, quint16(words[0].toInt()));
        set.SetFeedback(&feedback);
        session.Run(&set, false);
    }
    if (feedback.Failures() > 0) {
        return feedback.Result("the fixture did not answer");
    }
    CommandLine::Print(QStringLiteral("%1 Quorel address %2\n")
                           .arg(device.UidText())
                           .arg(fixture->GetQuorelAddress()));
    return 0;
}

}  // namespace

int Run(const QStringList& arguments) {
    // The sub-verb follows "content"; the verb's own parser sees it as the command word.
    const qsizetype at = arguments.indexOf(QStringLiteral("content"));
    const QString name = arguments.value(at + 1);
    if (OperationVerbs::Handles(name, arguments.mid(at + 2))) {
        QStringList rest = arguments;
        rest.removeAt(at);
        return OperationVerbs::Run(name, rest);
    }
    for (const SubVerb& sub : SubVerbs()) {
        if (name == QLatin1String(sub.name)) {
            QStringList rest = arguments;
            rest.removeAt(at);
            return DeviceVerbs::RunVerb(sub.verb, rest);
        }
    }
    if (name == "--help" || name == "-h" || name.isEmpty()) {
        QString help = QStringLiteral("Usage: aurelctl content VERB UID ...\n\nVerbs:\n");
        for (const SubVerb& sub : SubVerbs()) {
            help += QStringLiteral("  %1 UID %2\n")
                        .arg(QLatin1String(sub.name), -8)
                        .arg(QLatin1String(sub.verb.arguments));
        }
        help += QStringLiteral(
                    "\nContent operations (lib:PACKAGE/FOLDER/ITEM, stock:..., "
                    "quorel:..., pkg:FILE/..., UID/FOLDER/FILE):\n") +
                OperationVerbs::Help();
        CommandLine::Print(help);
        return name.isEmpty() ? 2 : 0;
    }
    return CommandLine::Fail("unknown content verb: " + name, 2);
}

int QuorelAddress(const QStringList& arguments) {
    static const DeviceVerb verb{"quorel-address",
                                 "Show or set an LED fixture's Quorel address (0 to 65535).",
                                 "[N]",
                                 0,
                                 1,
                                 &QuorelCheck,
                                 &QuorelAct};
    return DeviceVerbs::RunVerb(verb, arguments);
}

}  // namespace ContentVerbs
