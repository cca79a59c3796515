// The plain program each fuzz target also builds into: it runs every file of the folders (or
// the files) it is given through the target's entry point once. The suite runs it over the
// target's committed corpus, so an input that once crashed a parser fails the build's tests
// if it ever crashes again. At least one input must be found, or the run fails.
#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

QStringList InputsOf(const QString& path) {
    if (!QFileInfo(path).isDir()) {
        return {path};
    }
    QStringList files;
    QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files.append(it.next());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        for (const QString& file : InputsOf(QString::fromLocal8Bit(argv[i]))) {
            QFile in(file);
            if (!in.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "replay: can't read %s\n", qPrintable(file));
                return 1;
            }
            const QByteArray bytes = in.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                   size_t(bytes.size()));
            ++count;
        }
    }
    std::printf("replay: %d inputs\n", count);
    return count > 0 ? 0 : 1;
}
