// Opens a library package of 2,000 items in 20 folders from a directory and from one package
// file, and reads every entry of the package. The package file is read cold (its index made
// anew) in each iteration, so each open costs the pass over the archive it needs.
#include "archive/ArchiveIndex.h"
#include "archive/ArchivePathRouter.h"
#include "archive/PackageBuilder.h"
#include "content/NamedPolicies.h"
#include "content/ledimage/MarqaImage.h"
#include "content/library/ContentLibraryPackageFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kFolders = 20;
constexpr int kItemsPerFolder = 100;

struct Library {
    QTemporaryDir dir;
    QString package;  // the package directory
    QString archive;  // the same package as one file
    QStringList entries;

    Library() {
        package = dir.filePath("Pkg");
        archive = dir.filePath("Pkg.lumopkg");
        MarqaImage image;
        std::vector<MarqaImage::Frame> frames(2);
        for (size_t n = 0; n < frames[0].leds.size(); ++n) {
            frames[0].leds[n] = quint8(n);
            frames[1].leds[n] = quint8(n * 3);
        }
        image.SetFrames(frames);
        for (int f = 0; f < kFolders; ++f) {
            const QString folder = QString("%1/Folder %2").arg(package).arg(f, 2, 10, QChar('0'));
            QDir().mkpath(folder);
            QByteArray config = "<objects policy=\"MARQAContentFolderPolicy\">\n";
            for (int i = 0; i < kItemsPerFolder; ++i) {
                const QString name = QString("item%1").arg(i, 3, 10, QChar('0'));
                image.SetContentKey(quint32(f * 1000 + i + 1));
                if (!image.Save(folder + '/' + name + ".mqi")) {
                    std::fprintf(stderr, "can't write the library\n");
                    std::exit(1);
                }
                config += "  <content name=\"" + name.toUtf8() + "\" address=\"" +
                          QByteArray::number(i + 1) + "\"/>\n";
            }
            QFile file(folder + "/config.xml");
            file.open(QIODevice::WriteOnly);
            file.write(config + "</objects>\n");
        }
        QString error;
        if (!PackageBuilder::Pack(package, archive, false, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::exit(1);
        }
        for (const QString& folder : ArchivePathRouter::EntryList(archive, QDir::Dirs)) {
            entries.append(folder + "/config.xml");
            for (const QString& file :
                 ArchivePathRouter::EntryList(archive + '/' + folder, QDir::Files, {"*.mqi"})) {
                entries.append(folder + '/' + file);
            }
        }
    }
};

Library& TheLibrary() {
    static Library library;
    return library;
}

int OpenPackage(const QString& path) {
    ContentLibraryPackageFile package(path, &NamedPolicies::MarqaContentPackage());
    package.Scan();
    int items = 0;
    for (int f = 0; f < package.ChildCount(); ++f) {
        items += qobject_cast<ContentFolder*>(package.Child(f))->ChildCount();
    }
    return items;
}

void BM_OpenLibraryDirectory(benchmark::State& state) {
    const Library& library = TheLibrary();
    for (auto _ : state) {
        const int items = OpenPackage(library.package);
        if (items != kFolders * kItemsPerFolder) {
            state.SkipWithError("items missing");
        }
    }
    state.SetItemsProcessed(state.iterations() * kFolders * kItemsPerFolder);
}

void BM_OpenLibraryPackageFile(benchmark::State& state) {
    const Library& library = TheLibrary();
    for (auto _ : state) {
        ArchiveIndex::Invalidate(library.archive);
        const int items = OpenPackage(library.archive);
        if (items != kFolders * kItemsPerFolder) {
            state.SkipWithError("items missing");
        }
    }
    state.SetItemsProcessed(state.iterations() * kFolders * kItemsPerFolder);
}

void BM_ReadEveryPackageEntry(benchmark::State& state) {
    const Library& library = TheLibrary();
    qint64 bytes = 0;
    for (auto _ : state) {
        ArchiveIndex::Invalidate(library.archive);
        for (const QString& entry : library.entries) {
            QByteArray data;
            if (!ArchivePathRouter::ReadAll(library.archive + '/' + entry, &data)) {
                state.SkipWithError("entry missing");
            }
            bytes += data.size();
        }
    }
    state.SetBytesProcessed(bytes);
    state.SetItemsProcessed(state.iterations() * library.entries.size());
}

BENCHMARK(BM_OpenLibraryDirectory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenLibraryPackageFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadEveryPackageEntry)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    NamedPolicies::Register();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
