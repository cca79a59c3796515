#include "LibraryCommand.h"

#include "CommandLine.h"

#include "content/Content.h"
#include "content/PolicyBase.h"
#include "content/library/ContentLibraryRoot.h"
#include "content/library/QuorelContentLibrary.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

namespace LibraryCommand {

namespace {

using CommandLine::Fail;

QString PolicyName(const ContentBase* object) {
    const auto* folder = qobject_cast<const ContentPolicyFolder*>(object);
    return folder ? folder->Policy()->ClassName() : QString();
}

QString AddressText(const ContentBase* object) {
    return object->Address() == 0 ? QStringLiteral("-") : QString::number(object->Address());
}

// {"name", "path", "packages": [{"name", "policy", "folders": [{"name", "address", "policy",
// "items": [{"name", "address", "kind"}]}]}]}; an address of 0 is none.
QJsonObject Json(const ContentLibraryRoot& root) {
    QJsonArray packages;
    for (int p = 0; p < root.ChildCount(); ++p) {
        const auto* package = qobject_cast<const ContentFolder*>(root.Child(p));
        QJsonArray folders;
        for (int f = 0; f < package->ChildCount(); ++f) {
            const auto* folder = qobject_cast<const ContentFolder*>(package->Child(f));
            QJsonArray items;
            for (int i = 0; i < folder->ChildCount(); ++i) {
                const auto* item = qobject_cast<const Content*>(folder->Child(i));
                items.append(QJsonObject{{"name", item->Name()},
                                         {"address", item->Address()},
                                         {"kind", item->Suffix()}});
            }
            folders.append(QJsonObject{{"name", folder->Name()},
                                       {"address", folder->Address()},
                                       {"policy", PolicyName(folder)},
                                       {"items", items}});
        }
        packages.append(QJsonObject{
            {"name", package->Name()}, {"policy", PolicyName(package)}, {"folders", folders}});
    }
    return {{"name", root.Name()}, {"path", root.DirPath()}, {"packages", packages}};
}

}  // namespace

int Run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "List the content library: packages, folders and items with addresses and policies.\n"
        "The library is the \"Aurel Content Library\" folder of the documents folder\n"
        "($AUREL_DOCUMENTS_DIR when set).");
    parser.addHelpOption();
    parser.addPositionalArgument("library", "The command.");
    parser.addPositionalArgument("action", "ls.");
    const QCommandLineOption quorelOption("quorel", "The Quorel content library instead.");
    const QCommandLineOption jsonOption("json", "Print the listing as JSON.");
    parser.addOptions({quorelOption, jsonOption});
    CommandLine::Process(parser, arguments);

    QStringList positional = parser.positionalArguments();
    positional.removeFirst();  // "library"
    if (positional != QStringList{"ls"}) {
        return Fail("usage: aurelctl library ls [--quorel] [--json]", 2);
    }
    std::unique_ptr<ContentLibraryRoot> root;
    if (parser.isSet(quorelOption)) {
        root = std::make_unique<QuorelContentLibraryRoot>();
    } else {
        root = std::make_unique<ContentLibraryRoot>();
    }
    if (parser.isSet(jsonOption)) {
        CommandLine::Print(QString::fromUtf8(QJsonDocument(Json(*root)).toJson()));
        return 0;
    }
    QList<QStringList> rows;
    for (int p = 0; p < root->ChildCount(); ++p) {
        const auto* package = qobject_cast<const ContentFolder*>(root->Child(p));
        rows.append({package->Name(), "", "", "-", PolicyName(package)});
        for (int f = 0; f < package->ChildCount(); ++f) {
            const auto* folder = qobject_cast<const ContentFolder*>(package->Child(f));
            rows.append({"", folder->Name(), "", AddressText(folder), PolicyName(folder)});
            for (int i = 0; i < folder->ChildCount(); ++i) {
                const auto* item = qobject_cast<const Content*>(folder->Child(i));
                rows.append({"", "", item->Name(), AddressText(item), item->Suffix()});
            }
        }
    }
    CommandLine::Print(root->Name() + " (" + root->DirPath() + ")\n");
    if (rows.isEmpty()) {
        CommandLine::Print("(empty)\n");
        return 0;
    }
    CommandLine::Print(
        CommandLine::Table({"Package", "Folder", "Item", "Address", "Policy / kind"}, rows));
    return 0;
}

}  // namespace LibraryCommand
