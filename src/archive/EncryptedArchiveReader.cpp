#include "archive/EncryptedArchiveReader.h"

#include "archive/PackageKey.h"

#include <QtEndian>

#include <cstring>

namespace {

Rijndael PackageCipher() {
    const QByteArray key = PackageKey::Key();
    Rijndael cipher;
    cipher.SetUp(reinterpret_cast<const uint8_t*>(key.constData()), int(key.size()), 16);
    return cipher;
}

}  // namespace

EncryptedArchiveReader::EncryptedArchiveReader(const QString& suffix, const QString& fileName)
    : ArchiveReader(suffix, fileName),
      m_cipher(PackageCipher()),
      m_plain(std::make_unique<char[]>(size_t(kChunkCapacity))) {}

EncryptedArchiveReader::~EncryptedArchiveReader() = default;

void EncryptedArchiveReader::close() {
    ArchiveReader::close();
    m_waiting = 0;
    m_offset = 0;
    m_ended = false;
}

qint64 EncryptedArchiveReader::ReadExactly(char* data, qint64 length) {
    qint64 done = 0;
    while (done < length) {
        const qint64 got = m_stream->Read(data + done, length - done);
        if (got <= 0) {
            break;
        }
        done += got;
    }
    return done;
}

qint64 EncryptedArchiveReader::ReadChunk(char* output, qint64 capacity) {
    if (!m_stream) {
        return 0;
    }
    uchar header[8];
    if (ReadExactly(reinterpret_cast<char*>(header), 8) != 8) {
        return 0;
    }
    const qint64 length = qFromLittleEndian<qint64>(header);
    if (length < 0 || length > capacity) {
        return 0;
    }
    const qint64 padded = length + ((16 - length % 16) % 16);
    QByteArray cipherText(padded, Qt::Uninitialized);
    if (ReadExactly(cipherText.data(), padded) != padded) {
        return 0;
    }
    // The padded plain text may be up to 15 bytes longer than the caller's room.
    QByteArray plain(padded, Qt::Uninitialized);
    m_cipher.DecryptCbc(reinterpret_cast<const uint8_t*>(cipherText.constData()),
                        reinterpret_cast<uint8_t*>(plain.data()), size_t(padded));
    std::memcpy(output, plain.constData(), size_t(length));
    return length;
}

void EncryptedArchiveReader::Fill() {
    // The data end for good at the first chunk that gives nothing.
    if (m_stream && m_waiting == 0 && !m_ended) {
        m_offset = 0;
        m_waiting = ReadChunk(m_plain.get(), kChunkCapacity);
        m_ended = m_waiting == 0;
    }
}

qint64 EncryptedArchiveReader::bytesAvailable() const {
    const_cast<EncryptedArchiveReader*>(this)->Fill();
    return QIODevice::bytesAvailable() + m_waiting;
}

bool EncryptedArchiveReader::atEnd() const {
    return !isOpen() || bytesAvailable() == 0;
}

qint64 EncryptedArchiveReader::readData(char* data, qint64 maxSize) {
    if (!m_stream) {
        return -1;
    }
    Fill();
    const qint64 count = qMin(maxSize, m_waiting);
    std::memcpy(data, m_plain.get() + m_offset, size_t(count));
    m_offset += count;
    m_waiting -= count;
    return count;
}

QByteArray EncryptedArchiveReader::Encipher(const QByteArray& plain) {
    const Rijndael cipher = PackageCipher();
    QByteArray out;
    for (qint64 at = 0; at < plain.size(); at += kChunkCapacity) {
        const qint64 length = qMin<qint64>(kChunkCapacity, plain.size() - at);
        const qint64 padded = length + ((16 - length % 16) % 16);
        uchar header[8];
        qToLittleEndian<qint64>(length, header);
        out.append(reinterpret_cast<const char*>(header), 8);
        QByteArray block = plain.mid(at, length);
        block.append(QByteArray(padded - length, '\0'));
        cipher.EncryptCbc(reinterpret_cast<const uint8_t*>(block.constData()),
                          reinterpret_cast<uint8_t*>(block.data()), size_t(padded));
        out.append(block);
    }
    return out;
}
