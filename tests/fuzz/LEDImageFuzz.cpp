// Feeds arbitrary bytes to the LED image reader of both families. Whatever the reader
// accepts must survive being applied to an image, rendered, exported and written again.

#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

template <class Image>
void Exercise(const QByteArray& bytes) {
    typename Image::Record record;
    if (!record.FromBytes(bytes)) {
        return;
    }
    Image image;
    Check(image.FromRDMImage(record));
    Check(image.FrameCount() == int(record.entries.size()));
    Check(image.Summary().size() == Image::kSummarySize);
    image.RenderPreview(0, 16);
    image.RenderFrame(image.FrameCount() - 1, 16);

    typename Image::Record written;
    image.ToRDMImage(&written);
    const QByteArray again = written.ToBytes();
    Check(again.size() == 792 + qsizetype(written.entries.size()) * written.EntrySize());
    typename Image::Record reread;
    Check(reread.FromBytes(again));
    Check(reread.entries.size() == record.entries.size());

    QByteArray gif;
    QBuffer buffer(&gif);
    buffer.open(QIODevice::WriteOnly);
    GifWriter writer(&buffer);
    const QImage frame = image.RenderFrame(0, 8);
    if (!frame.isNull()) {
        Check(writer.Begin(8, 8, image.Palette(), image.BackgroundIndex()) &&
              writer.AddFrame(frame.constBits(), 1, -1) && writer.Finish());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Exercise<MarqaImage>(bytes);
    Exercise<SolviImage>(bytes);
    return 0;
}
