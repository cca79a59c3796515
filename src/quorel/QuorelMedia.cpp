#include "quorel/QuorelMedia.h"

#include "content/import/FrameReaders.h"
#include "content/import/ImageSink.h"

#include <cmath>

namespace {

// Keeps every frame at the kept size of the first, remembering the original size.
class KeepingSink : public ImageSink {
public:
    bool AddImage(const QImage& picture, int delayMs) override {
        if (picture.isNull()) {
            return true;
        }
        if (!m_original.isValid()) {
            m_original = picture.size();
        }
        const QSize kept = QuorelMedia::KeptSize(m_original);
        QImage frame = picture.size() == kept
                           ? picture
                           : picture.scaled(kept, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (frame.format() != QImage::Format_RGB32 && frame.format() != QImage::Format_ARGB32) {
            frame = frame.convertToFormat(frame.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                  : QImage::Format_RGB32);
        }
        frames.push_back({std::move(frame), std::max(0, delayMs)});
        return true;
    }
    // A clip reader asks before it decodes: the first size it names is the original.
    QSize KeptSize(QSize size) const override {
        if (!m_original.isValid()) {
            m_original = size;
        }
        return QuorelMedia::KeptSize(m_original);
    }
    QSize Original() const { return m_original; }

    std::vector<QuorelMedia::Frame> frames;

private:
    mutable QSize m_original;
};

}  // namespace

QSize QuorelMedia::KeptSize(QSize size) {
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels <= kMaxKeptPixels) {
        return size;
    }
    const double factor = std::sqrt(double(kMaxKeptPixels) / double(pixels));
    return {std::max(1, int(size.width() * factor)), std::max(1, int(size.height() * factor))};
}

bool QuorelMedia::Load(const QString& path, QString* error) {
    KeepingSink sink;
    if (!FrameReaders::ReadFrames(path, sink, error)) {
        return false;
    }
    if (sink.frames.empty()) {
        if (error) {
            *error = QStringLiteral("the file holds no frames");
        }
        return false;
    }
    m_frames = std::move(sink.frames);
    m_path = path;
    m_originalSize = sink.Original();
    m_scale = double(m_frames.front().picture.width()) / m_originalSize.width();
    return true;
}

qint64 QuorelMedia::StartOf(int frame) const {
    qint64 start = 0;
    for (int f = 0; f < frame && f < FrameCount(); ++f) {
        start += m_frames[size_t(f)].delayMs;
    }
    return start;
}
