#pragma once

#include "content/import/ImageSink.h"

#include <QImage>

#include <vector>

// The frames a reader delivers, each scaled down by one factor when it is wider or higher than
// the store's limits (-1: no limit), so every stored picture fits both.
class ImageStore : public ImageSink {
public:
    struct Frame {
        QImage picture;
        int delayMs = 0;
    };

    ImageStore(int maxWidth = -1, int maxHeight = -1);

    bool AddImage(const QImage& picture, int delayMs) override;

    const std::vector<Frame>& Frames() const { return m_frames; }
    int FrameCount() const { return int(m_frames.size()); }
    bool IsEmpty() const { return m_frames.empty(); }
    int MaxWidth() const { return m_maxWidth; }
    int MaxHeight() const { return m_maxHeight; }

    // The size a picture of `size` is stored at under the limits.
    QSize KeptSize(QSize size) const override;
    // The picture scaled to its kept size (itself when it fits).
    QImage Fit(const QImage& picture) const;

private:
    int m_maxWidth;
    int m_maxHeight;
    std::vector<Frame> m_frames;
};
