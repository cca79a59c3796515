// Feeds arbitrary bytes, as a file, to the frame readers (the toolkit's picture reader, then
// FFmpeg's demuxers and decoders). Whatever they deliver must be a bounded list of pictures
// within the store's limits that the importer samples into a valid image.

#include "content/import/FrameReaders.h"
#include "content/import/ImageImporter.h"
#include "content/import/ImageStore.h"
#include "content/ledimage/SolviImage.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

constexpr int kEdge = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QString path = dir.filePath("input");
    {
        QFile file(path);
        Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    ImageStore store(kEdge, kEdge);
    QString error;
    // A failed read says why.
    Check(FrameReaders::ReadFrames(path, store, &error) || !error.isEmpty());
    Check(store.FrameCount() <= FrameReaders::kMaxReadFrames);
    for (const ImageStore::Frame& frame : store.Frames()) {
        Check(frame.picture.width() <= kEdge && frame.picture.height() <= kEdge);
        Check(frame.delayMs >= 0);
    }
    if (!store.IsEmpty()) {
        LEDImageImporter<SolviImage> importer;
        importer.SetFrames(store.Frames());
        ImportSettings settings;
        settings.sampleSize = ImportSettings::kMinSampleSize;
        importer.SetSettings(settings);
        importer.Compute();
        SolviImage image;
        importer.Fill(image);
        Check(image.FrameCount() == store.FrameCount());
        Check(image.StoreProblem().isEmpty());
    }
    return 0;
}
