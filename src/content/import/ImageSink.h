#pragma once

#include <QImage>

// Receives the frames of a picture or clip in order, each with its delay in milliseconds.
class ImageSink {
public:
    virtual ~ImageSink() = default;
    // False asks the reader to stop.
    virtual bool AddImage(const QImage& picture, int delayMs) = 0;
    // The size the sink keeps a picture of `size` at; a reader that can scale while it decodes
    // delivers that size directly.
    virtual QSize KeptSize(QSize size) const { return size; }
};
