#include "content/import/FrameReaders.h"

#include "content/import/ImageSink.h"

#include <QFileInfo>
#include <QImageReader>

namespace FrameReaders {

bool ReadPictures(const QString& file, ImageSink& sink) {
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead()) {
        return false;
    }
    int delivered = 0;
    while (delivered < kMaxReadFrames && reader.canRead()) {
        QImage picture;
        if (!reader.read(&picture) || picture.isNull()) {
            break;  // a damaged later frame ends the animation
        }
        ++delivered;
        if (!sink.AddImage(picture, std::max(0, reader.nextImageDelay()))) {
            break;
        }
    }
    return delivered > 0;
}

bool ReadFrames(const QString& file, ImageSink& sink, QString* error) {
    if (!QFileInfo(file).isFile()) {
        if (error) {
            *error = QStringLiteral("%1 does not exist").arg(file);
        }
        return false;
    }
    return ReadPictures(file, sink) || ReadVideo(file, sink, error);
}

}  // namespace FrameReaders
