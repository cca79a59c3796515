#include "OperationVerbs.h"

#include "CommandLine.h"
#include "ContentLocation.h"
#include "DeviceSession.h"
#include "DeviceVerbs.h"
#include "InterruptCatcher.h"

#include "archive/CustomFileSystemEngineHandler.h"
#include "comm/IFeedback.h"
#include "content/ContentFolder.h"
#include "content/ContentModelMutex.h"
#include "content/library/QuorelContentLibrary.h"
#include "content/library/StockContent.h"
#include "content/operations/ContentAddressOperation.h"
#include "content/operations/ContentCopyOperation.h"
#include "content/operations/ContentDeleteOperation.h"
#include "content/operations/ContentEraseOperation.h"
#include "content/operations/ContentMoveOperation.h"
#include "content/operations/ContentSteps.h"
#include "content/operations/ContentStockUpdateOperation.h"
#include "content/operations/ContentSyncOperation.h"
#include "content/operations/OperationThread.h"
#include "content/operations/QuorelContentImport.h"
#include "content/operations/UpdateQuorelContentSyncOperation.h"
#include "lumo/devices/LumoRDM.h"
#include "lumo/tree/LumoRDMContentFolderAggregator.h"
#include "lumo/tree/LumoRDMContentRoot.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <mutex>
#include <optional>

namespace OperationVerbs {

namespace {

using ContentSteps::Children;

constexpr int kCancelledStatus = 130;

// Prints each line on standard error with the progress reached (quiet: the warnings and
// errors only), and keeps the lines.
class PrintingFeedback : public IFeedback {
public:
    struct Line {
        QString text;
        FeedbackStatus status;
    };

    explicit PrintingFeedback(bool quiet) : m_quiet(quiet) {}

    void AddString(QString text, FeedbackStatus status) override {
        const std::lock_guard lock(m_mutex);
        m_lines.push_back({text, status});
        if (!m_quiet || status >= FeedbackStatusWarning) {
            const char* kind = status >= FeedbackStatusError     ? "error: "
                               : status == FeedbackStatusWarning ? "warning: "
                                                                 : "";
            std::fprintf(stderr, "[%3d%%] %s%s\n", Percent(), kind, qPrintable(text.trimmed()));
        }
    }
    void SetTotal(int total) override { m_total = total; }
    void SetCurrent(int current) override { m_current = current; }
    void Finished(FeedbackResult) override {}
    bool IsCancelled() override { return InterruptCatcher::Interrupted(); }

    std::vector<Line> Lines() const {
        const std::lock_guard lock(m_mutex);
        return m_lines;
    }

private:
    int Percent() const {
        const int total = m_total.load();
        return total > 0 ? std::clamp(100 * m_current.load() / total, 0, 100) : 0;
    }

    const bool m_quiet;
    std::atomic<int> m_total{0};
    std::atomic<int> m_current{0};
    mutable std::mutex m_mutex;
    std::vector<Line> m_lines;
};

// What a verb works with while it makes its operation.
struct Context {
    const QCommandLineParser& parser;
    ContentPlaces& places;
    const QStringList& words;
    QString error;
    bool exporting = false;
    // The exit status when no operation is made: a reason already printed leaves error empty.
    int status = 1;
};

using Maker = std::function<std::unique_ptr<ContentOperation>(Context&)>;

struct Verb {
    const char* name;
    const char* usage;
    int minWords;
    Maker make;
};

// The objects the words name; empty with ctx.error when one names nothing.
QList<ContentBase*> Resolve(Context& ctx, const QStringList& words) {
    QList<ContentBase*> objects;
    for (const QString& word : words) {
        ContentLocation location;
        if (!ContentLocation::Parse(word, &location, &ctx.error)) {
            return {};
        }
        ContentBase* object = ctx.places.Resolve(location, &ctx.error);
        if (!object) {
            return {};
        }
        objects.append(object);
    }
    return objects;
}

// The items of the words, a folder standing for its children.
QList<ContentBase*> ItemsOf(Context& ctx, const QStringList& words) {
    QList<ContentBase*> items;
    for (ContentBase* object : Resolve(ctx, words)) {
        const auto* folder = qobject_cast<const ContentFolder*>(object);
        items += folder ? Children(folder) : QList<ContentBase*>{object};
    }
    return items;
}

// The folder the last word names: a package file named whole is written anew.
ContentFolder* Destination(Context& ctx, const ContentBase* sample) {
    ContentLocation location;
    if (!ContentLocation::Parse(ctx.words.last(), &location, &ctx.error)) {
        return nullptr;
    }
    if (location.kind == ContentLocation::PackageFile && location.path.isEmpty()) {
        ctx.exporting = true;
        return ctx.places.NewPackageFile(location.file, sample, &ctx.error);
    }
    auto* folder = qobject_cast<ContentFolder*>(ctx.places.Resolve(location, &ctx.error));
    if (!folder && ctx.error.isEmpty()) {
        ctx.error = ctx.words.last() + " is not a folder";
    }
    return folder;
}

template <class Operation>
std::unique_ptr<ContentOperation> Transfer(Context& ctx) {
    const QList<ContentBase*> sources = Resolve(ctx, ctx.words.mid(0, ctx.words.size() - 1));
    ContentFolder* target = sources.isEmpty() ? nullptr : Destination(ctx, sources.first());
    if (!target) {
        return nullptr;
    }
    // A package written anew takes the folders of a package named as the source.
    QList<ContentBase*> items;
    for (ContentBase* source : sources) {
        const auto* folder = qobject_cast<ContentFolder*>(source);
        const QList<ContentBase*> children = folder ? Children(folder) : QList<ContentBase*>();
        const bool package =
            !children.isEmpty() && std::all_of(children.begin(), children.end(), [](auto* child) {
                return qobject_cast<const ContentFolder*>(child) != nullptr;
            });
        if (ctx.exporting && package) {
            items += children;
        } else {
            items.append(source);
        }
    }
    auto operation = std::make_unique<Operation>(items, target);
    if (!operation->CanExecute()) {
        ctx.error =
            QStringLiteral("%1 can't take that: %2").arg(target->Name(), operation->Title());
        return nullptr;
    }
    return operation;
}

// A folder that still holds something goes only with --recursive.
bool MayRemove(Context& ctx, const QList<ContentBase*>& objects) {
    for (qsizetype i = 0; i < objects.size(); ++i) {
        const auto* folder = qobject_cast<const ContentFolder*>(objects[i]);
        const QList<ContentBase*> children = folder ? Children(folder) : QList<ContentBase*>();
        const bool folders = !children.isEmpty() && qobject_cast<const ContentFolder*>(children[0]);
        if (const int refused =
                CommandLine::RefuseFullFolder(ctx.parser, ctx.words[i], int(children.size()),
                                              folders ? "folder(s)" : "file(s)")) {
            ctx.status = refused;
            return false;
        }
    }
    return true;
}

std::unique_ptr<ContentOperation> Delete(Context& ctx) {
    const QList<ContentBase*> items = Resolve(ctx, ctx.words);
    if (items.isEmpty() || !MayRemove(ctx, items)) {
        return nullptr;
    }
    auto operation = std::make_unique<ContentDeleteOperation>(items);
    if (!operation->CanExecute()) {
        ctx.error = "read-only content can't be deleted";
        return nullptr;
    }
    return operation;
}

std::unique_ptr<ContentOperation> Address(Context& ctx, ContentAddressOperation::Mode mode,
                                          const QStringList& words, int address = 0) {
    const QList<ContentBase*> items = ItemsOf(ctx, words);
    if (items.isEmpty()) {
        if (ctx.error.isEmpty()) {
            ctx.error = "nothing to number";
        }
        return nullptr;
    }
    return std::make_unique<ContentAddressOperation>(items, mode, address);
}

std::unique_ptr<ContentOperation> Renumber(Context& ctx) {
    bool ok = false;
    const int address = ctx.words.value(1).toInt(&ok);
    if (!ok || address < 0 || address > 255) {
        ctx.error = "N must be from 0 to 255, not " + ctx.words.value(1);
        return nullptr;
    }
    const QList<ContentBase*> item = Resolve(ctx, {ctx.words[0]});
    return item.isEmpty() ? nullptr
                          : std::make_unique<ContentAddressOperation>(
                                item, ContentAddressOperation::Set, address);
}

// The fixtures the words name by UID, or with --all every one a discovery finds.
QList<LumoRDM*> Fixtures(Context& ctx, const QStringList& uids) {
    if (ctx.parser.isSet("all")) {
        return ctx.places.AllFixtures(&ctx.error);
    }
    QList<LumoRDM*> fixtures;
    for (const QString& text : uids) {
        quint64 uid = 0;
        if (!DeviceVerbs::ParseUid(text, &uid)) {
            ctx.error = "not a UID: " + text;
            return {};
        }
        LumoRDM* fixture = ctx.places.Fixture(uid, &ctx.error);
        if (!fixture) {
            return {};
        }
        fixtures.append(fixture);
    }
    if (fixtures.isEmpty()) {
        ctx.error = "name the fixtures by UID, or --all";
    }
    return fixtures;
}

QList<Device*> Devices(const QList<LumoRDM*>& fixtures) {
    return QList<Device*>(fixtures.begin(), fixtures.end());
}

std::unique_ptr<ContentOperation> Clone(Context& ctx) {
    const QList<ContentBase*> sources = Resolve(ctx, {ctx.words[0]});
    auto* source = sources.isEmpty() ? nullptr : qobject_cast<ContentFolder*>(sources.first());
    if (!source) {
        if (ctx.error.isEmpty()) {
            ctx.error = ctx.words[0] + " is not a package or a fixture";
        }
        return nullptr;
    }
    QList<ContentFolder*> locations;
    for (LumoRDM* fixture : Fixtures(ctx, ctx.parser.values("to"))) {
        ContentFolder* group = fixture->GetContentRoot()->UserGroup();
        const ContentModelLock lock;
        const auto* sample = source->ChildCount() > 0
                                 ? qobject_cast<const ContentFolder*>(source->Child(0))
                                 : nullptr;
        const bool family = !sample || group->AcceptsFolder(sample);
        if (group != source && (family || !ctx.parser.isSet("all"))) {
            locations.append(group);
        }
    }
    if (locations.isEmpty()) {
        if (ctx.error.isEmpty()) {
            ctx.error = "no destination fixture of the source's family";
        }
        return nullptr;
    }
    auto sync = std::make_unique<ContentSyncOperation>(source, locations);
    sync->SetAggregators(LumoRDMContentFolderAggregator::Families());
    return sync;
}

std::unique_ptr<ContentOperation> Clear(Context& ctx) {
    const bool user = ctx.parser.isSet("user");
    if (user == ctx.parser.isSet("quorel")) {
        ctx.error = "say what to clear: --user or --quorel";
        return nullptr;
    }
    const QList<LumoRDM*> fixtures = Fixtures(ctx, ctx.words);
    if (fixtures.isEmpty()) {
        return nullptr;
    }
    if (user) {
        return std::make_unique<ContentDeleteUserContentOperation>(Devices(fixtures));
    }
    return std::make_unique<ContentDeleteQuorelContentOperation>(Devices(fixtures));
}

std::unique_ptr<ContentOperation> UpdateStock(Context& ctx) {
    const QList<LumoRDM*> fixtures = Fixtures(ctx, ctx.words);
    if (fixtures.isEmpty()) {
        return nullptr;
    }
    ContentLocation stock;
    stock.kind = ContentLocation::Stock;
    auto* root = qobject_cast<ContentFolder*>(ctx.places.Resolve(stock, &ctx.error));
    return std::make_unique<ContentStockUpdateOperation>(Devices(fixtures), root);
}

std::unique_ptr<ContentOperation> UpdateQuorel(Context& ctx) {
    const QList<LumoRDM*> fixtures = Fixtures(ctx, ctx.words);
    if (fixtures.isEmpty()) {
        return nullptr;
    }
    ContentLocation quorel;
    quorel.kind = ContentLocation::Quorel;
    auto* root = qobject_cast<ContentFolder*>(ctx.places.Resolve(quorel, &ctx.error));
    return std::make_unique<UpdateQuorelContentSyncOperation>(Devices(fixtures), root);
}

std::unique_ptr<ContentOperation> ImportCollage(Context& ctx) {
    ContentLocation quorel;
    quorel.kind = ContentLocation::Quorel;
    auto* root = qobject_cast<QuorelContentLibraryRoot*>(ctx.places.Resolve(quorel, &ctx.error));
    const QString file = ctx.words[0];
    std::unique_ptr<ContentOperation> import;
    if (file.endsWith(".marqacollage", Qt::CaseInsensitive)) {
        import = std::make_unique<MarqaQuorelContentImport>(file, root);
    } else if (file.endsWith(".solvicollage", Qt::CaseInsensitive)) {
        import = std::make_unique<SolviQuorelContentImport>(file, root);
    } else {
        ctx.error = "not a collage package (.marqacollage or .solvicollage): " + file;
        return nullptr;
    }
    if (!import->CanExecute()) {
        ctx.error = "no collage package " + file;
        return nullptr;
    }
    return import;
}

const QList<Verb>& Verbs() {
    static const QList<Verb> verbs = {
        {"cp", "SRC... DEST", 2, &Transfer<ContentCopyOperation>},
        {"mv", "SRC... DEST", 2, &Transfer<ContentMoveOperation>},
        {"rm", "LOCATION...", 1, &Delete},
        {"renumber", "LOCATION N", 2, &Renumber},
        {"autoset", "LOCATION...", 1,
         [](Context& ctx) { return Address(ctx, ContentAddressOperation::Autoset, ctx.words); }},
        {"reset", "LOCATION...", 1,
         [](Context& ctx) { return Address(ctx, ContentAddressOperation::Reset, ctx.words); }},
        {"clone", "SOURCE --to UID...|--all", 1, &Clone},
        {"clear", "--user|--quorel UID...|--all", 0, &Clear},
        {"update-stock", "UID...|--all", 0, &UpdateStock},
        {"update-quorel", "UID...|--all", 0, &UpdateQuorel},
        {"import-collage", "FILE", 1, &ImportCollage},
    };
    return verbs;
}

const Verb* Find(const QString& name) {
    for (const Verb& verb : Verbs()) {
        if (name == QLatin1String(verb.name)) {
            return &verb;
        }
    }
    return nullptr;
}

const char* StatusName(FeedbackStatus status) {
    return status >= FeedbackStatusError     ? "error"
           : status == FeedbackStatusWarning ? "warning"
                                             : "normal";
}

// Runs the operation on a thread of its own while this thread serves the trees and the
// device link; returns its result.
int Execute(ContentOperation& operation, PrintingFeedback& feedback, bool exporting) {
    int result = ContentOperation::Failed;
    RunOnOwnThread([&] {
        // The package being written is written from the operation's thread.
        std::optional<ArchiveWriterEnabler> writing;
        if (exporting) {
            writing.emplace();
        }
        result = operation.Execute(&feedback, ContentOperation::kStopOnFailure);
    });
    return result;
}

int Report(const ContentOperation& operation, const PrintingFeedback& feedback, int result,
           const QStringList& messages, bool json) {
    static const char* const kOutcomes[] = {"Operation Completed", "Operation Failed",
                                            "Operation Cancelled"};
    static const char* const kResults[] = {"succeeded", "failed", "cancelled"};
    if (json) {
        QJsonArray lines;
        for (const PrintingFeedback::Line& line : feedback.Lines()) {
            lines.append(QJsonObject{{"text", line.text.trimmed()},
                                     {"status", QLatin1String(StatusName(line.status))}});
        }
        CommandLine::Print(QString::fromUtf8(
            QJsonDocument(QJsonObject{{"operation", operation.Title()},
                                      {"result", QLatin1String(kResults[result])},
                                      {"messages", QJsonArray::fromStringList(messages)},
                                      {"lines", lines}})
                .toJson()));
    } else {
        for (const QString& message : messages) {
            CommandLine::Print(message + '\n');
        }
        CommandLine::Print(
            QStringLiteral("%1: %2\n").arg(operation.Title(), QLatin1String(kOutcomes[result])));
    }
    static const int kStatus[] = {0, 1, kCancelledStatus};
    return kStatus[result];
}

}  // namespace

bool Handles(const QString& verb, const QStringList& words) {
    if (verb != "rm") {
        return Find(verb) != nullptr;
    }
    // "rm UID FOLDER [FILE...]" is the fixture verb; locations carry a prefix or a slash.
    quint64 uid = 0;
    bool number = false;
    words.value(1).toInt(&number);
    return !(DeviceVerbs::ParseUid(words.value(0), &uid) && number);
}

QString Help() {
    QString text;
    for (const Verb& verb : Verbs()) {
        text += QStringLiteral("  %1 %2\n").arg(QLatin1String(verb.name), -12).arg(verb.usage);
    }
    return text;
}

int Run(const QString& name, const QStringList& arguments) {
    const Verb* verb = Find(name);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Run a content operation: %1 %2\n\n"
                       "Locations: lib:PACKAGE/FOLDER/ITEM, stock:..., quorel:..., "
                       "pkg:FILE/FOLDER/ITEM, UID/FOLDER/FILE.")
            .arg(QLatin1String(verb->name), QLatin1String(verb->usage)));
    parser.addHelpOption();
    parser.addPositionalArgument(verb->name, "The operation.");
    parser.addPositionalArgument(verb->usage, "");
    parser.addOptions({
        {"json", "Print the result as JSON."},
        {"to", "A destination fixture (repeat it for more).", "UID"},
        {"all", "Every LED fixture a discovery finds."},
        {"user", "User content."},
        {"quorel", "Quorel content."},
        {"recursive", "Remove a folder with what it holds."},
    });
    DeviceSession::AddOptions(parser);
    CommandLine::Process(parser, arguments);
    const QStringList words = parser.positionalArguments().mid(1);
    if (words.size() < verb->minWords) {
        return CommandLine::Fail(
            QStringLiteral("usage: aurelctl content %1 %2").arg(verb->name, verb->usage), 2);
    }
    ContentPlaces places(parser);
    Context ctx{parser, places, words, QString(), false, 1};
    const std::unique_ptr<ContentOperation> operation = verb->make(ctx);
    if (!operation) {
        return ctx.error.isEmpty() ? ctx.status : CommandLine::Fail(ctx.error, ctx.status);
    }
    QStringList messages;
    QObject::connect(operation.get(), &ContentOperation::InformationMessageBox,
                     [&messages](const QString&, const QString& text) { messages.append(text); });
    PrintingFeedback feedback(parser.isSet("quiet"));
    int result = ContentOperation::Failed;
    {
        const InterruptCatcher interrupts;
        result = Execute(*operation, feedback, ctx.exporting);
    }
    QCoreApplication::processEvents();  // the operation's messages
    places.WritePackageFiles();
    return Report(*operation, feedback, result, messages, parser.isSet("json"));
}

}  // namespace OperationVerbs
