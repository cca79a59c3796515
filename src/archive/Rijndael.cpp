#include "archive/Rijndael.h"

#include <cstring>

namespace {

// Rounds by key words (4, 6, 8) and block words (4, 6, 8).
constexpr int kRounds[3][3] = {{10, 12, 14}, {12, 12, 14}, {14, 14, 14}};

uint8_t Times(uint8_t a, uint8_t b) {
    uint8_t product = 0;
    while (b) {
        if (b & 1) {
            product ^= a;
        }
        a = uint8_t((a << 1) ^ ((a & 0x80) ? 0x1b : 0));
        b >>= 1;
    }
    return product;
}

struct Tables {
    uint8_t sbox[256];
    uint8_t inverse[256];
    uint8_t mul[256][16];  // products with 2, 3, 9, 11, 13 and 14 at those indexes

    Tables() {
        for (int x = 0; x < 256; ++x) {
            uint8_t invert = 0;
            for (int y = 1; x && y < 256; ++y) {
                if (Times(uint8_t(x), uint8_t(y)) == 1) {
                    invert = uint8_t(y);
                    break;
                }
            }
            uint8_t s = invert;
            for (int shift = 1; shift <= 4; ++shift) {
                s ^= uint8_t((invert << shift) | (invert >> (8 - shift)));
            }
            s ^= 0x63;
            sbox[x] = s;
            inverse[s] = uint8_t(x);
            for (int factor : {2, 3, 9, 11, 13, 14}) {
                mul[x][factor] = Times(uint8_t(x), uint8_t(factor));
            }
        }
    }
};

const Tables& T() {
    static const Tables tables;
    return tables;
}

int SizeIndex(int bytes) {
    return bytes == 16 ? 0 : bytes == 24 ? 1 : bytes == 32 ? 2 : -1;
}

}  // namespace

bool Rijndael::SetUp(const uint8_t* key, int keyBytes, int blockBytes) {
    const int k = SizeIndex(keyBytes);
    const int b = SizeIndex(blockBytes);
    m_rounds = 0;
    if (k < 0 || b < 0) {
        return false;
    }
    const Tables& t = T();
    m_nb = blockBytes / 4;
    const int nk = keyBytes / 4;
    const int rounds = kRounds[k][b];
    const int words = m_nb * (rounds + 1);
    m_roundKeys.assign(size_t(words) * 4, 0);
    std::memcpy(m_roundKeys.data(), key, size_t(keyBytes));
    uint8_t rcon = 1;
    for (int i = nk; i < words; ++i) {
        uint8_t word[4];
        std::memcpy(word, &m_roundKeys[size_t(i - 1) * 4], 4);
        if (i % nk == 0) {
            const uint8_t first = word[0];
            word[0] = uint8_t(t.sbox[word[1]] ^ rcon);
            word[1] = t.sbox[word[2]];
            word[2] = t.sbox[word[3]];
            word[3] = t.sbox[first];
            rcon = Times(rcon, 2);
        } else if (nk > 6 && i % nk == 4) {
            for (uint8_t& byte : word) {
                byte = t.sbox[byte];
            }
        }
        for (int j = 0; j < 4; ++j) {
            m_roundKeys[size_t(i) * 4 + size_t(j)] =
                uint8_t(m_roundKeys[size_t(i - nk) * 4 + size_t(j)] ^ word[j]);
        }
    }
    m_rounds = rounds;
    return true;
}

void Rijndael::AddRoundKey(uint8_t* state, int round) const {
    const uint8_t* roundKey = &m_roundKeys[size_t(round * m_nb * 4)];
    for (int i = 0; i < m_nb * 4; ++i) {
        state[i] ^= roundKey[i];
    }
}

void Rijndael::ShiftRows(uint8_t* state, bool inverse) const {
    // Row r moves left by its offset; the offsets of rows 2 and 3 grow for 256-bit blocks.
    const int offsets[4] = {0, 1, m_nb == 8 ? 3 : 2, m_nb == 8 ? 4 : 3};
    uint8_t copy[32];
    std::memcpy(copy, state, size_t(m_nb) * 4);
    for (int row = 1; row < 4; ++row) {
        for (int column = 0; column < m_nb; ++column) {
            const int from =
                inverse ? (column - offsets[row] + m_nb) % m_nb : (column + offsets[row]) % m_nb;
            state[column * 4 + row] = copy[from * 4 + row];
        }
    }
}

void Rijndael::EncryptBlock(const uint8_t* in, uint8_t* out) const {
    const Tables& t = T();
    uint8_t state[32];
    std::memcpy(state, in, size_t(m_nb) * 4);
    AddRoundKey(state, 0);
    for (int round = 1; round <= m_rounds; ++round) {
        for (int i = 0; i < m_nb * 4; ++i) {
            state[i] = t.sbox[state[i]];
        }
        ShiftRows(state, false);
        if (round != m_rounds) {
            for (int c = 0; c < m_nb; ++c) {
                uint8_t* col = state + c * 4;
                const uint8_t a0 = col[0], a1 = col[1], a2 = col[2], a3 = col[3];
                col[0] = uint8_t(t.mul[a0][2] ^ t.mul[a1][3] ^ a2 ^ a3);
                col[1] = uint8_t(a0 ^ t.mul[a1][2] ^ t.mul[a2][3] ^ a3);
                col[2] = uint8_t(a0 ^ a1 ^ t.mul[a2][2] ^ t.mul[a3][3]);
                col[3] = uint8_t(t.mul[a0][3] ^ a1 ^ a2 ^ t.mul[a3][2]);
            }
        }
        AddRoundKey(state, round);
    }
    std::memcpy(out, state, size_t(m_nb) * 4);
}

void Rijndael::DecryptBlock(const uint8_t* in, uint8_t* out) const {
    const Tables& t = T();
    uint8_t state[32];
    std::memcpy(state, in, size_t(m_nb) * 4);
    AddRoundKey(state, m_rounds);
    for (int round = m_rounds - 1; round >= 0; --round) {
        ShiftRows(state, true);
        for (int i = 0; i < m_nb * 4; ++i) {
            state[i] = t.inverse[state[i]];
        }
        AddRoundKey(state, round);
        if (round != 0) {
            for (int c = 0; c < m_nb; ++c) {
                uint8_t* col = state + c * 4;
                const uint8_t a0 = col[0], a1 = col[1], a2 = col[2], a3 = col[3];
                col[0] = uint8_t(t.mul[a0][14] ^ t.mul[a1][11] ^ t.mul[a2][13] ^ t.mul[a3][9]);
                col[1] = uint8_t(t.mul[a0][9] ^ t.mul[a1][14] ^ t.mul[a2][11] ^ t.mul[a3][13]);
                col[2] = uint8_t(t.mul[a0][13] ^ t.mul[a1][9] ^ t.mul[a2][14] ^ t.mul[a3][11]);
                col[3] = uint8_t(t.mul[a0][11] ^ t.mul[a1][13] ^ t.mul[a2][9] ^ t.mul[a3][14]);
            }
        }
    }
    std::memcpy(out, state, size_t(m_nb) * 4);
}

void Rijndael::EncryptCbc(const uint8_t* in, uint8_t* out, size_t length) const {
    const size_t block = size_t(BlockBytes());
    uint8_t chain[32] = {};
    for (size_t at = 0; at + block <= length; at += block) {
        uint8_t mixed[32];
        for (size_t i = 0; i < block; ++i) {
            mixed[i] = uint8_t(in[at + i] ^ chain[i]);
        }
        EncryptBlock(mixed, out + at);
        std::memcpy(chain, out + at, block);
    }
}

void Rijndael::DecryptCbc(const uint8_t* in, uint8_t* out, size_t length) const {
    const size_t block = size_t(BlockBytes());
    uint8_t chain[32] = {};
    for (size_t at = 0; at + block <= length; at += block) {
        uint8_t cipher[32];
        std::memcpy(cipher, in + at, block);  // `in` and `out` may be the same buffer
        DecryptBlock(cipher, out + at);
        for (size_t i = 0; i < block; ++i) {
            out[at + i] ^= chain[i];
        }
        std::memcpy(chain, cipher, block);
    }
}
