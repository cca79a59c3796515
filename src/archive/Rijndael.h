#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The Rijndael block cipher with block and key sizes of 128, 192 or 256 bits; the number of
// rounds comes from the rounds table for the pair. With a 128-bit block it is AES.
class Rijndael {
public:
    // False for a size other than 16, 24 or 32 bytes; the cipher is then unusable.
    bool SetUp(const uint8_t* key, int keyBytes, int blockBytes = 16);

    int BlockBytes() const { return m_nb * 4; }
    int Rounds() const { return m_rounds; }
    bool IsSetUp() const { return m_rounds > 0; }

    void EncryptBlock(const uint8_t* in, uint8_t* out) const;
    void DecryptBlock(const uint8_t* in, uint8_t* out) const;

    // Cipher block chaining over whole blocks, starting from an all-zero vector; `length` must
    // be a multiple of the block size.
    void EncryptCbc(const uint8_t* in, uint8_t* out, size_t length) const;
    void DecryptCbc(const uint8_t* in, uint8_t* out, size_t length) const;

private:
    void AddRoundKey(uint8_t* state, int round) const;
    void ShiftRows(uint8_t* state, bool inverse) const;

    int m_nb = 0;
    int m_rounds = 0;
    std::vector<uint8_t> m_roundKeys;  // (rounds + 1) * block bytes
};
