#include "content/ledimage/GifWriter.h"

#include <QIODevice>

#include <algorithm>

namespace {

constexpr int kMinCodeSize = 8;  // 256 colours
constexpr int kClearCode = 1 << kMinCodeSize;
constexpr int kEndCode = kClearCode + 1;
constexpr int kFirstFreeCode = kClearCode + 2;
constexpr int kMaxCodeSize = 12;
// Like the common encoders, the table is cleared before its last code is assigned, which
// keeps every decoder's code size in step.
constexpr int kLastCode = (1 << kMaxCodeSize) - 1;

void PutWord(QByteArray* out, int value) {
    out->append(char(value & 0xFF));
    out->append(char((value >> 8) & 0xFF));
}

// Packs codes least significant bit first into sub-blocks of at most 255 bytes.
class CodePacker {
public:
    explicit CodePacker(QByteArray* out) : m_out(out) {}

    void Put(int code, int size) {
        m_bits |= quint32(code) << m_count;
        m_count += size;
        while (m_count >= 8) {
            PutByte(quint8(m_bits & 0xFF));
            m_bits >>= 8;
            m_count -= 8;
        }
    }

    void Finish() {
        if (m_count > 0) {
            PutByte(quint8(m_bits & 0xFF));
        }
        FlushBlock();
        m_out->append('\0');
    }

private:
    void PutByte(quint8 byte) {
        m_block[m_blockSize++] = byte;
        if (m_blockSize == 255) {
            FlushBlock();
        }
    }

    void FlushBlock() {
        if (m_blockSize > 0) {
            m_out->append(char(m_blockSize));
            m_out->append(reinterpret_cast<const char*>(m_block.data()), m_blockSize);
            m_blockSize = 0;
        }
    }

    QByteArray* m_out;
    quint32 m_bits = 0;
    int m_count = 0;
    std::array<quint8, 255> m_block{};
    int m_blockSize = 0;
};

// The string table: (prefix code, next index) -> code, open addressing.
class CodeTable {
public:
    CodeTable() { Clear(); }

    void Clear() { m_keys.fill(-1); }

    int Find(int key) const {
        for (size_t slot = Slot(key);; slot = (slot + 1) & kMask) {
            if (m_keys[slot] == key) {
                return m_codes[slot];
            }
            if (m_keys[slot] < 0) {
                return -1;
            }
        }
    }

    void Insert(int key, int code) {
        size_t slot = Slot(key);
        while (m_keys[slot] >= 0) {
            slot = (slot + 1) & kMask;
        }
        m_keys[slot] = key;
        m_codes[slot] = quint16(code);
    }

private:
    static constexpr size_t kSize = 8192;  // at most half full
    static constexpr size_t kMask = kSize - 1;

    static size_t Slot(int key) { return (quint32(key) * 2654435761u) >> 19; }

    std::array<int, kSize> m_keys;
    std::array<quint16, kSize> m_codes{};
};

}  // namespace

QByteArray GifWriter::EncodeImageData(const quint8* pixels, size_t count) {
    QByteArray out;
    out.reserve(qsizetype(count / 2 + 64));
    out.append(char(kMinCodeSize));
    CodePacker packer(&out);
    CodeTable table;
    int codeSize = kMinCodeSize + 1;
    int nextCode = kFirstFreeCode;

    // After a code is written, the code size grows once the next code to be assigned no
    // longer fits; decoders, one entry behind, grow at the same point.
    const auto put = [&](int code) {
        packer.Put(code, codeSize);
        if (nextCode >= (1 << codeSize) && codeSize < kMaxCodeSize) {
            ++codeSize;
        }
    };

    put(kClearCode);
    if (count > 0) {
        int prefix = pixels[0];
        for (size_t i = 1; i < count; ++i) {
            const int pixel = pixels[i];
            const int key = (prefix << 8) | pixel;
            const int code = table.Find(key);
            if (code >= 0) {
                prefix = code;
                continue;
            }
            put(prefix);
            prefix = pixel;
            if (nextCode >= kLastCode) {
                put(kClearCode);
                table.Clear();
                codeSize = kMinCodeSize + 1;
                nextCode = kFirstFreeCode;
            } else {
                table.Insert(key, nextCode++);
            }
        }
        put(prefix);
    }
    put(kEndCode);
    packer.Finish();
    return out;
}

bool GifWriter::Begin(int width, int height, const std::array<QRgb, 256>& colors,
                      quint8 background) {
    m_width = width;
    m_height = height;
    QByteArray out("GIF89a");
    PutWord(&out, width);
    PutWord(&out, height);
    out.append(char(0xF7));  // global colour table of 256 entries, 8-bit colour resolution
    out.append(char(background));
    out.append('\0');  // pixel aspect ratio
    for (const QRgb color : colors) {
        out.append(char(qRed(color)));
        out.append(char(qGreen(color)));
        out.append(char(qBlue(color)));
    }
    // Loop for ever.
    out.append(
        "\x21\xFF\x0B"
        "NETSCAPE2.0"
        "\x03\x01",
        16);
    PutWord(&out, 0);
    out.append('\0');
    return Put(out);
}

bool GifWriter::AddFrame(const quint8* pixels, quint16 delay, int transparent) {
    QByteArray out;
    // Graphic control extension: disposal 2 (restore to background), transparency flag.
    out.append("\x21\xF9\x04", 3);
    out.append(char((2 << 2) | (transparent >= 0 ? 1 : 0)));
    PutWord(&out, delay);
    out.append(char(transparent >= 0 ? transparent : 0));
    out.append('\0');
    // Image descriptor: the whole screen, no local colour table.
    out.append(char(0x2C));
    PutWord(&out, 0);
    PutWord(&out, 0);
    PutWord(&out, m_width);
    PutWord(&out, m_height);
    out.append('\0');
    out.append(EncodeImageData(pixels, size_t(m_width) * size_t(m_height)));
    return Put(out);
}

bool GifWriter::Finish() {
    return Put(QByteArray(1, char(0x3B)));
}

bool GifWriter::Put(const QByteArray& bytes) {
    return m_device->write(bytes) == bytes.size();
}
