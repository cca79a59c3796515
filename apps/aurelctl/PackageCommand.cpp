#include "PackageCommand.h"

#include "CommandLine.h"

#include "archive/ArchivePath.h"
#include "archive/ArchivePathRouter.h"
#include "archive/PackageBuilder.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <functional>

namespace PackageCommand {

namespace {

using CommandLine::Fail;

int List(const QStringList& files, bool /*encipher*/) {
    const QString& path = files[0];
    if (!ArchivePath::Split(path).IsArchive()) {
        return Fail("package ls: not a package path: " + path, 2);
    }
    const QString archive = ArchivePath::Split(path).ArchiveFile();
    if (!QFileInfo(archive).isFile()) {
        return Fail("package ls: no such package: " + archive, 1);
    }
    if (!ArchivePathRouter::IsDirectory(archive + '/')) {
        return Fail("package ls: not a readable package: " + archive, 1);
    }
    if (!ArchivePathRouter::IsDirectory(path.endsWith('/') ? path : path + '/')) {
        return Fail("package ls: no such folder in the package: " + path, 1);
    }
    QList<QStringList> rows;
    for (const QString& name : ArchivePathRouter::EntryList(path, QDir::Dirs)) {
        rows.append({name + '/', "folder", "-"});
    }
    for (const QString& name : ArchivePathRouter::EntryList(path, QDir::Files)) {
        QString size = "?";
        if (const auto device = ArchivePathRouter::OpenRead(path + '/' + name)) {
            size = QString::number(device->size());
        }
        rows.append({name, "file", size});
    }
    const ArchivePath listed = ArchivePath::Split(path);
    if (rows.isEmpty() && (listed.IsArchiveItself() || listed.IsRoot())) {
        return Fail("package ls: the package holds no folders or files: " + archive, 1);
    }
    CommandLine::Print(CommandLine::Table({"Name", "Kind", "Stored size"}, rows));
    return 0;
}

int Cat(const QStringList& files, bool /*encipher*/) {
    const QString& path = files[0];
    if (!ArchivePath::Split(path).IsArchive()) {
        return Fail("package cat: not a package path: " + path, 2);
    }
    QByteArray data;
    QString error;
    if (!ArchivePathRouter::ReadAll(path, &data, &error)) {
        return Fail("package cat: " + error, 1);
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly) || out.write(data) != data.size()) {
        return Fail("package cat: can't write to standard output", 1);
    }
    return 0;
}

int Pack(const QStringList& files, bool encipher) {
    QString error;
    int count = 0;
    if (!PackageBuilder::Pack(files[0], files[1], encipher, &error, &count)) {
        return Fail("package pack: " + error, 1);
    }
    CommandLine::Print(QStringLiteral("%1: %2 files%3\n")
                           .arg(files[1])
                           .arg(count)
                           .arg(encipher ? QStringLiteral(", enciphered") : QString()));
    return 0;
}

struct Action {
    const char* name;
    const char* files;
    int fileCount;
    std::function<int(const QStringList&, bool)> run;
};

const Action kActions[] = {
    {"ls", "PATH", 1, &List},
    {"cat", "PATH", 1, &Cat},
    {"pack", "DIR OUT.lumopkg [--encipher]", 2, &Pack},
};

}  // namespace

int Run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Read and build package archives (.lumopkg, .crvpkg, .marqacollage, .solvicollage).\n\n"
        "  package ls PATH           folders and files one level below PATH\n"
        "  package cat PATH          an entry's bytes (decode#PATH deciphers)\n"
        "  package pack DIR OUT      a package from a library package directory");
    parser.addHelpOption();
    parser.addPositionalArgument("package", "The command.");
    parser.addPositionalArgument("action", "ls, cat or pack.");
    const QCommandLineOption encipherOption("encipher",
                                            "Encipher every file entry (stock content form).");
    parser.addOption(encipherOption);
    CommandLine::Process(parser, arguments);

    QStringList positional = parser.positionalArguments();
    positional.removeFirst();  // "package"
    if (positional.isEmpty()) {
        return Fail("package: no action given (ls, cat or pack)", 2);
    }
    const QString name = positional.takeFirst();
    for (const Action& action : kActions) {
        if (name != QLatin1String(action.name)) {
            continue;
        }
        if (positional.size() != action.fileCount) {
            return Fail(QStringLiteral("usage: aurelctl package %1 %2").arg(name, action.files), 2);
        }
        return action.run(positional, parser.isSet(encipherOption));
    }
    return Fail("package: unknown action " + name + " (ls, cat or pack)", 2);
}

}  // namespace PackageCommand
