#include "ArchiveTestSupport.h"

#include "archive/ArchivePathRouter.h"
#include "archive/CustomFileSystemEngineHandler.h"
#include "archive/EncryptedArchiveReader.h"
#include "archive/PackageKey.h"
#include "archive/Rijndael.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace ArchiveTestSupport;

namespace {

QByteArray Hex(const char* text) {
    return QByteArray::fromHex(text);
}

const uint8_t* Bytes(const QByteArray& data) {
    return reinterpret_cast<const uint8_t*>(data.constData());
}

Rijndael CipherOf(const QByteArray& key, int blockBytes = 16) {
    Rijndael cipher;
    EXPECT_TRUE(cipher.SetUp(Bytes(key), int(key.size()), blockBytes));
    return cipher;
}

TEST(RijndaelTest, MatchesTheStandardBlockVectors) {
    struct Case {
        const char* key;
        int rounds;
        const char* cipher;
    };
    // The example vectors of the AES standard's appendix C, plain text 00112233...ff.
    const Case cases[] = {
        {"000102030405060708090a0b0c0d0e0f", 10, "69c4e0d86a7b0430d8cdb78070b4c55a"},
        {"000102030405060708090a0b0c0d0e0f1011121314151617", 12,
         "dda97ca4864cdfe06eaf70a0ec0d7191"},
        {"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f", 14,
         "8ea2b7ca516745bfeafc49904b496089"},
    };
    const QByteArray plain = Hex("00112233445566778899aabbccddeeff");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const Rijndael cipher = CipherOf(Hex(c.key));
        EXPECT_EQ(cipher.Rounds(), c.rounds);
        QByteArray out(16, '\0');
        cipher.EncryptBlock(Bytes(plain), reinterpret_cast<uint8_t*>(out.data()));
        EXPECT_EQ(out.toHex(), c.cipher);
        QByteArray back(16, '\0');
        cipher.DecryptBlock(Bytes(out), reinterpret_cast<uint8_t*>(back.data()));
        EXPECT_EQ(back, plain);
    }
}

TEST(RijndaelTest, MatchesTheCbcModeVectors) {
    // CBC-AES128 of the block cipher modes recommendation. Its vector starts from a non-zero
    // initialisation vector; with a zero vector the same cipher text comes from a first plain
    // block that carries the vector already.
    const QByteArray key = Hex("2b7e151628aed2a6abf7158809cf4f3c");
    const QByteArray iv = Hex("000102030405060708090a0b0c0d0e0f");
    QByteArray plain =
        Hex("6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
            "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710");
    const QByteArray expected =
        Hex("7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2"
            "73bed6b8e3c1743b7116e69e222295163ff1caa1681fac09120eca307586e1a7");
    for (int i = 0; i < 16; ++i) {
        plain[i] = char(plain[i] ^ iv[i]);
    }
    const Rijndael cipher = CipherOf(key);
    QByteArray out(plain.size(), '\0');
    cipher.EncryptCbc(Bytes(plain), reinterpret_cast<uint8_t*>(out.data()), size_t(plain.size()));
    EXPECT_EQ(out.toHex(), expected.toHex());
    cipher.DecryptCbc(Bytes(out), reinterpret_cast<uint8_t*>(out.data()), size_t(out.size()));
    EXPECT_EQ(out.toHex(), plain.toHex());
}

TEST(RijndaelTest, AcceptsOnlyTheThreeSizesAndRoundTripsWideBlocks) {
    Rijndael cipher;
    EXPECT_FALSE(cipher.SetUp(Bytes(QByteArray(20, 'k')), 20));
    EXPECT_FALSE(cipher.SetUp(Bytes(QByteArray(16, 'k')), 16, 8));
    EXPECT_FALSE(cipher.IsSetUp());
    for (const int block : {24, 32}) {
        const Rijndael wide = CipherOf(QByteArray(16, 'k'), block);
        EXPECT_EQ(wide.Rounds(), block == 24 ? 12 : 14);
        QByteArray data(block * 3, '\0');
        for (int i = 0; i < data.size(); ++i) {
            data[i] = char(i * 13);
        }
        QByteArray out(data.size(), '\0');
        wide.EncryptCbc(Bytes(data), reinterpret_cast<uint8_t*>(out.data()), size_t(data.size()));
        EXPECT_NE(out, data);
        wide.DecryptCbc(Bytes(out), reinterpret_cast<uint8_t*>(out.data()), size_t(out.size()));
        EXPECT_EQ(out, data);
    }
}

TEST(RijndaelTest, AgreesWithOpenSslOnRandomData) {
    QTemporaryDir dir;
    QRandomGenerator random(20261210);
    for (int round = 0; round < 3; ++round) {
        QByteArray key(16, '\0');
        QByteArray plain(16 * (1 + int(random.bounded(600))), '\0');
        random.fillRange(reinterpret_cast<quint32*>(key.data()), 4);
        random.fillRange(reinterpret_cast<quint32*>(plain.data()), plain.size() / 4);
        QFile file(dir.filePath("plain"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(plain);
        file.close();
        bool ok = false;
        const QByteArray theirs =
            RunTool("openssl",
                    {"enc", "-aes-128-cbc", "-K", QString::fromLatin1(key.toHex()), "-iv",
                     QString(32, '0'), "-nopad", "-in", file.fileName()},
                    &ok);
        ASSERT_TRUE(ok) << "openssl enc failed";
        const Rijndael cipher = CipherOf(key);
        QByteArray ours(plain.size(), '\0');
        cipher.EncryptCbc(Bytes(plain), reinterpret_cast<uint8_t*>(ours.data()),
                          size_t(plain.size()));
        EXPECT_EQ(ours, theirs);
    }
}

TEST(PackageKeyTest, TakesThirtyTwoHexDigitsOnly) {
    QString error;
    EXPECT_EQ(PackageKey::Parse("000102030405060708090A0B0C0D0E0F", &error).toHex(),
              "000102030405060708090a0b0c0d0e0f");
    for (const char* bad :
         {"", "0001", "000102030405060708090a0b0c0d0e0g", "000102030405060708090a0b0c0d0e0f00"}) {
        error.clear();
        EXPECT_TRUE(PackageKey::Parse(bad, &error).isEmpty()) << bad;
        EXPECT_FALSE(error.isEmpty());
    }
}

// Counts the chunks it reads, to see reads served from the plain-text buffer.
class CountingReader : public EncryptedArchiveReader {
public:
    using EncryptedArchiveReader::EncryptedArchiveReader;
    qint64 ReadChunk(char* output, qint64 capacity) override {
        ++chunks;
        return EncryptedArchiveReader::ReadChunk(output, capacity);
    }
    int chunks = 0;
};

class EncipheredEntryTest : public ::testing::Test {
protected:
    // A package whose entry "f/e.bin" holds `stored`; the path that deciphers it.
    QString Package(const QByteArray& stored) {
        const QString archive = m_dir.filePath(QString("p%1.lumopkg").arg(++m_count));
        EXPECT_TRUE(WriteTarGz(archive, {{"f/", true, {}}, {"f/e.bin", false, stored}}));
        return "decode#" + archive + "/f/e.bin";
    }
    static QByteArray Chunk(qint64 length, const QByteArray& body) {
        uchar header[8];
        qToLittleEndian<qint64>(length, header);
        return QByteArray(reinterpret_cast<const char*>(header), 8) + body;
    }

    QTemporaryDir m_dir;
    int m_count = 0;
};

TEST_F(EncipheredEntryTest, ChunksYieldTheirPlainLengthOnly) {
    const QByteArray five = EncryptedArchiveReader::Encipher("hello");
    EXPECT_EQ(five.size(), 8 + 16);
    QByteArray data;
    ASSERT_TRUE(ArchivePathRouter::ReadAll(Package(five), &data));
    EXPECT_EQ(data, "hello");

    QByteArray plain(16384 + 1000, '\0');
    for (int i = 0; i < plain.size(); ++i) {
        plain[i] = char(i % 251);
    }
    const QString path = Package(EncryptedArchiveReader::Encipher(plain));
    CountingReader reader(".lumopkg", path);
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
    QByteArray slices;
    for (int i = 0; i < 4; ++i) {
        slices += reader.read(4096);  // four slices of the first, full chunk
    }
    EXPECT_EQ(reader.chunks, 1);
    slices += reader.read(100000);
    EXPECT_EQ(reader.read(10), QByteArray());
    EXPECT_EQ(slices, plain);
    EXPECT_EQ(reader.size(), 8 + 16384 + 8 + 1008);  // the stored size
}

TEST_F(EncipheredEntryTest, BadChunksEndTheData) {
    const QByteArray good = EncryptedArchiveReader::Encipher("first chunk");
    struct Case {
        const char* name;
        QByteArray tail;
    };
    const Case cases[] = {
        {"length above 16384", Chunk(16385, QByteArray(16400, 'x'))},
        {"negative length", Chunk(-16, QByteArray(16, 'x'))},
        {"truncated cipher text", Chunk(40, QByteArray(47, 'x'))},
        {"short length field", QByteArray(5, '\1')},
        {"empty chunk", Chunk(0, {}) + EncryptedArchiveReader::Encipher("after")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray data;
        ASSERT_TRUE(ArchivePathRouter::ReadAll(Package(good + c.tail), &data));
        EXPECT_EQ(data, "first chunk");
    }
    QByteArray garbage(70000, '\0');
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(garbage.data()), garbage.size() / 4);
    QByteArray data;
    ASSERT_TRUE(ArchivePathRouter::ReadAll(Package(garbage), &data));
    EXPECT_LE(data.size(), 16384 * 5);
}

TEST_F(EncipheredEntryTest, TheEnvironmentKeyReplacesTheBuiltInOne) {
    const QByteArray plain = "keyed content";
    const QString builtIn = Package(EncryptedArchiveReader::Encipher(plain));
    qputenv("AUREL_PACKAGE_KEY", "00112233445566778899aabbccddeeff");
    const QString custom = Package(EncryptedArchiveReader::Encipher(plain));
    QByteArray data;
    ASSERT_TRUE(ArchivePathRouter::ReadAll(custom, &data));
    EXPECT_EQ(data, plain);
    ASSERT_TRUE(ArchivePathRouter::ReadAll(builtIn, &data));
    EXPECT_NE(data, plain);
    qunsetenv("AUREL_PACKAGE_KEY");
    ASSERT_TRUE(ArchivePathRouter::ReadAll(builtIn, &data));
    EXPECT_EQ(data, plain);
}

}  // namespace
