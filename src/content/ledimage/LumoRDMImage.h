#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

class QIODevice;

// The byte record of an LED image: the file format of image files and the data exchanged
// with fixtures. A 792-byte header, then one entry per frame; numbers are little-endian.
class LumoRDMImage {
public:
    static constexpr int kHeaderSize = 792;
    static constexpr int kNameSize = 16;
    static constexpr int kPaletteSize = 768;
    // Entry bytes before the LED values: type, transparent index, delay (2), reserved (4).
    static constexpr int kEntryPrefixSize = 8;
    // The largest image file read: far above 255 frames of the widest family, far below what
    // a forged size could ask for.
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;
    // The header's frame count is one byte: an image holds at most this many frames.
    static constexpr int kMaxFrames = 255;

    struct Header {
        quint8 format = 1;
        quint8 frameCount = 0;  // low 8 bits of the entry count; not used on reading
        quint8 background = 0;
        quint8 transparent = 0;
        quint32 contentKey = 0;
        std::array<quint8, kNameSize> name{};        // 8-bit characters, zero padded, no terminator
        std::array<quint8, kPaletteSize> palette{};  // 256 x (red, green, blue)
    };

    // Type 1 entries lack the last byte of type 2 entries; writing always uses type 2.
    struct Entry {
        quint8 type = 2;
        quint8 transparent = 0;
        quint16 delay = 0;  // milliseconds
        quint32 reserved = 0;
        QByteArray leds;  // one palette index per LED
        quint8 last = 0;  // type 2 only
    };

    explicit LumoRDMImage(int ledCount) : m_ledCount(ledCount) {}
    virtual ~LumoRDMImage() = default;
    LumoRDMImage(const LumoRDMImage&) = default;
    LumoRDMImage& operator=(const LumoRDMImage&) = default;

    int LedCount() const { return m_ledCount; }
    // Bytes of a type 2 entry.
    int EntrySize() const { return kEntryPrefixSize + m_ledCount + 1; }

    // The name field as text: the bytes up to the first zero.
    QString NameText() const;
    // Fills the name field with the first 16 characters as 8-bit characters.
    void SetNameText(const QString& name);

    // Reads a whole record up to the end of the device. False for a short header, a format
    // other than 1, an unknown entry type or a cut entry (`why` says which); the record is
    // then unspecified.
    bool Read(QIODevice& device, QString* why = nullptr);
    // Writes the record; false, with nothing written, for more than kMaxFrames entries.
    bool Write(QIODevice& device) const;
    bool FromBytes(const QByteArray& bytes);
    QByteArray ToBytes() const;
    // The content key of a record that has none: made from its bytes, never 0.
    static quint32 KeyOf(const QByteArray& bytes);

    Header header;
    std::vector<Entry> entries;

private:
    int m_ledCount;
};
