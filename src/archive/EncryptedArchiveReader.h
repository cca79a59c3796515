#pragma once

#include "archive/ArchiveReader.h"
#include "archive/Rijndael.h"

#include <QByteArray>

#include <memory>

// Reads an enciphered entry of a ".lumopkg" package ("decode#" paths) and hands out its plain
// bytes. The entry is a sequence of chunks: a signed 64-bit little-endian plain length L
// (0..16384), then L rounded up to 16 bytes of AES-128 cipher text in CBC mode with a zero
// vector that starts afresh for every chunk. size() is the stored size; read until 0.
class EncryptedArchiveReader : public ArchiveReader {
    Q_OBJECT

public:
    static constexpr qint64 kChunkCapacity = 16384;

    EncryptedArchiveReader(const QString& suffix, const QString& fileName);
    ~EncryptedArchiveReader() override;

    void close() override;
    // The plain bytes of the chunk at hand (the next chunk is read when none are left).
    qint64 bytesAvailable() const override;
    bool atEnd() const override;

    // The plain text of the next chunk into `output`; its length, or 0 for a short read, a
    // length outside 0..capacity or a truncated cipher text.
    virtual qint64 ReadChunk(char* output, qint64 capacity);

    // The enciphered form of `plain` in chunks of kChunkCapacity, with the package key.
    static QByteArray Encipher(const QByteArray& plain);

protected:
    qint64 readData(char* data, qint64 maxSize) override;

private:
    qint64 ReadExactly(char* data, qint64 length);
    // Reads the next chunk when the buffer is empty and the data have not ended.
    void Fill();

    Rijndael m_cipher;
    std::unique_ptr<char[]> m_plain;
    qint64 m_waiting = 0;
    qint64 m_offset = 0;
    bool m_ended = false;
};
