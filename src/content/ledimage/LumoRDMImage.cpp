#include "content/ledimage/LumoRDMImage.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

bool ReadExactly(QIODevice& device, char* data, qint64 size) {
    return device.read(data, size) == size;
}

}  // namespace

QString LumoRDMImage::NameText() const {
    const auto* bytes = reinterpret_cast<const char*>(header.name.data());
    return QString::fromLatin1(bytes, qsizetype(qstrnlen(bytes, kNameSize)));
}

void LumoRDMImage::SetNameText(const QString& name) {
    const QByteArray bytes = name.left(kNameSize).toLatin1();
    header.name.fill(0);
    std::copy_n(bytes.constData(), std::min<qsizetype>(bytes.size(), kNameSize),
                header.name.begin());
}

bool LumoRDMImage::Read(QIODevice& device, QString* why) {
    const auto fail = [why](const QString& text) {
        if (why) {
            *why = text;
        }
        return false;
    };
    std::array<char, kHeaderSize> bytes;
    if (!ReadExactly(device, bytes.data(), kHeaderSize)) {
        return fail(QStringLiteral("shorter than the %1-byte header").arg(kHeaderSize));
    }
    if (quint8(bytes[0]) != 1) {
        return fail(QStringLiteral("unknown format %1 in the header").arg(quint8(bytes[0])));
    }
    const auto* raw = reinterpret_cast<const uchar*>(bytes.data());
    header.format = raw[0];
    header.frameCount = raw[1];
    header.background = raw[2];
    header.transparent = raw[3];
    header.contentKey = qFromLittleEndian<quint32>(raw + 4);
    std::copy_n(raw + 8, kNameSize, header.name.begin());
    std::copy_n(raw + 8 + kNameSize, kPaletteSize, header.palette.begin());

    entries.clear();
    while (!device.atEnd()) {
        std::array<char, kEntryPrefixSize> prefix;
        const int number = int(entries.size()) + 1;
        if (!ReadExactly(device, prefix.data(), 1)) {
            return fail(QStringLiteral("entry %1 is cut short").arg(number));
        }
        const quint8 type = quint8(prefix[0]);
        if (type != 1 && type != 2) {
            return fail(QStringLiteral("bad entry type %1 at entry %2").arg(type).arg(number));
        }
        Entry entry;
        entry.type = type;
        entry.leds.resize(m_ledCount);
        if (!ReadExactly(device, prefix.data() + 1, kEntryPrefixSize - 1) ||
            !ReadExactly(device, entry.leds.data(), m_ledCount)) {
            return fail(QStringLiteral("entry %1 is cut short").arg(number));
        }
        const auto* fields = reinterpret_cast<const uchar*>(prefix.data());
        entry.transparent = fields[1];
        entry.delay = qFromLittleEndian<quint16>(fields + 2);
        entry.reserved = qFromLittleEndian<quint32>(fields + 4);
        if (type == 2) {
            char last = 0;
            if (!ReadExactly(device, &last, 1)) {
                return fail(QStringLiteral("entry %1 is cut short").arg(number));
            }
            entry.last = quint8(last);
        }
        entries.push_back(std::move(entry));
    }
    return true;
}

bool LumoRDMImage::Write(QIODevice& device) const {
    if (entries.size() > size_t(kMaxFrames)) {
        return false;  // the frame count would wrap
    }
    return device.write(ToBytes()) == kHeaderSize + qint64(entries.size()) * EntrySize();
}

bool LumoRDMImage::FromBytes(const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    return buffer.open(QIODevice::ReadOnly) && Read(buffer);
}

QByteArray LumoRDMImage::ToBytes() const {
    // Zero-filled, so the reserved field and the last byte of each entry are written 0.
    QByteArray bytes(kHeaderSize + qsizetype(entries.size()) * EntrySize(), '\0');
    auto* out = reinterpret_cast<uchar*>(bytes.data());
    out[0] = header.format;
    out[1] = header.frameCount;
    out[2] = header.background;
    out[3] = header.transparent;
    qToLittleEndian<quint32>(header.contentKey, out + 4);
    std::copy(header.name.begin(), header.name.end(), out + 8);
    std::copy(header.palette.begin(), header.palette.end(), out + 8 + kNameSize);
    out += kHeaderSize;
    for (const Entry& entry : entries) {
        out[0] = 2;
        out[1] = entry.transparent;
        qToLittleEndian<quint16>(entry.delay, out + 2);
        const qsizetype ledBytes = std::min<qsizetype>(entry.leds.size(), m_ledCount);
        std::memcpy(out + kEntryPrefixSize, entry.leds.constData(), size_t(ledBytes));
        out += EntrySize();
    }
    return bytes;
}

quint32 LumoRDMImage::KeyOf(const QByteArray& bytes) {
    const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
    const quint32 key = qFromBigEndian<quint32>(digest.constData());
    return key != 0 ? key : 1;
}
