#pragma once

#include <QByteArray>
#include <QRgb>

#include <array>

class QIODevice;

// Writes an endlessly looping animated GIF with one global table of 256 colours: the
// header and screen descriptor, then one frame at a time (graphic control extension with
// disposal 2, image descriptor, LZW data), then the trailer.
class GifWriter {
public:
    explicit GifWriter(QIODevice* device) : m_device(device) {}

    bool Begin(int width, int height, const std::array<QRgb, 256>& colors, quint8 background);
    // `pixels` holds width x height palette indices, row by row; `transparent` is the
    // transparent index or -1 for none; the delay is in hundredths of a second.
    bool AddFrame(const quint8* pixels, quint16 delay, int transparent);
    bool Finish();

    // The LZW data of one picture: the minimum code size byte, the compressed codes in
    // sub-blocks of at most 255 bytes and the zero-length block that ends them.
    static QByteArray EncodeImageData(const quint8* pixels, size_t count);

private:
    bool Put(const QByteArray& bytes);

    QIODevice* m_device;
    int m_width = 0;
    int m_height = 0;
};
