#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <vector>

// The picture or clip the Quorel creator previews: its frames with their delays, kept within a
// memory bound (a frame larger than kMaxKeptPixels is kept scaled down, so even 255 frames of
// a high-resolution clip fit), and the size of the original frames, which the render and the
// Sample Size range work from.
class QuorelMedia {
public:
    struct Frame {
        QImage picture;
        int delayMs = 0;
    };
    static constexpr qint64 kMaxKeptPixels = 640 * 480;

    // Reads the file's frames; on failure the media held so far stays and `error` says why.
    bool Load(const QString& path, QString* error);

    bool IsEmpty() const { return m_frames.empty(); }
    int FrameCount() const { return int(m_frames.size()); }
    const QImage& Picture(int frame) const { return m_frames[size_t(frame)].picture; }
    int Delay(int frame) const { return m_frames[size_t(frame)].delayMs; }
    const QString& Path() const { return m_path; }
    // The size of the file's first frame, and the kept frames' size as a fraction of it.
    QSize OriginalSize() const { return m_originalSize; }
    double Scale() const { return m_scale; }

    // Milliseconds from the start to the frame, and of the whole clip.
    qint64 StartOf(int frame) const;
    qint64 Duration() const { return StartOf(FrameCount()); }

    // The kept size of frames of `size` under the memory bound.
    static QSize KeptSize(QSize size);

private:
    std::vector<Frame> m_frames;
    QString m_path;
    QSize m_originalSize;
    double m_scale = 1.0;
};
