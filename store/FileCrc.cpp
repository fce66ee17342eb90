#include "store/FileCrc.h"

#include <vector>

#include "platform/ByteOrder.h"

namespace {

// Slicing by 32: a chunk's 32 bytes are looked up independently of each other, and only the first four
// depend on the register carried over from the previous chunk.
constexpr int kChunk = 32;

// table[k][b]: the register change caused by byte b followed by k zero bytes.
struct CrcTables {
    uint32_t table[kChunk][256];
};

constexpr CrcTables MakeTables() {
    CrcTables t{};
    for (uint32_t b = 0; b < 256; ++b) {
        uint32_t reg = b;
        for (int bit = 0; bit < 8; ++bit) reg = (reg >> 1) ^ ((reg & 1) ? 0xEDB88320u : 0);
        t.table[0][b] = reg;
    }
    for (int k = 1; k < kChunk; ++k) {
        for (int b = 0; b < 256; ++b) {
            uint32_t prev = t.table[k - 1][b];
            t.table[k][b] = (prev >> 8) ^ t.table[0][prev & 0xff];
        }
    }
    return t;
}

alignas(64) constexpr CrcTables kTables = MakeTables();

constexpr uint32_t kPolynomial = 0xEDB88320u;

// a times b modulo the polynomial, both reflected (bit 31 is x^0).
constexpr uint32_t MultiplyModP(uint32_t a, uint32_t b) {
    uint32_t product = 0;
    for (uint32_t m = 1u << 31; m != 0 && a != 0; m >>= 1) {
        if (a & m) {
            product ^= b;
            a ^= m;
        }
        b = (b & 1) ? (b >> 1) ^ kPolynomial : b >> 1;
    }
    return product;
}

// x^(2^k) modulo the polynomial, k = 0..63.
struct PowerTable {
    uint32_t power[64];
};

constexpr PowerTable MakePowers() {
    PowerTable t{};
    uint32_t p = 1u << 30;  // x^1
    for (int k = 0; k < 64; ++k) {
        t.power[k] = p;
        p = MultiplyModP(p, p);
    }
    return t;
}

constexpr PowerTable kPowers = MakePowers();

// Bytes i..i+3 of a chunk, given as the little-endian word w.
inline uint32_t WordTerm(uint32_t w, int i) {
    const auto& t = kTables.table;
    int last = kChunk - 1 - i;
    return t[last][w & 0xff] ^ t[last - 1][(w >> 8) & 0xff] ^ t[last - 2][(w >> 16) & 0xff] ^
           t[last - 3][w >> 24];
}

// Bytes 4..31 of a chunk. About half of them are read from memory one by one and the rest picked out of
// loaded words, so that the work is shared between the load units and the ALUs.
inline uint32_t ChunkTail(const uint8_t* p) {
    uint32_t sum = 0;
#pragma GCC unroll 4
    for (int i = 4; i < kChunk; i += 8) {
#pragma GCC unroll 4
        for (int j = i; j < i + 4; ++j) sum ^= kTables.table[kChunk - 1 - j][p[j]];
        if (i + 4 < kChunk) sum ^= WordTerm(GetU32(p + i + 4), i + 4);
    }
    return sum;
}

}  // namespace

uint32_t FileCrcUpdate(uint32_t reg, const void* data, size_t n) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    for (; n >= kChunk; n -= kChunk, p += kChunk) reg = ChunkTail(p) ^ WordTerm(GetU32(p) ^ reg, 0);
    for (; n > 0; --n, ++p) reg = (reg >> 8) ^ kTables.table[0][(reg ^ *p) & 0xff];
    return reg;
}

uint32_t FileCrcZeros(uint32_t reg, uint64_t n) {
    // Feeding a zero byte multiplies the register by x^8; n of them by x^(8n).
    uint64_t bits = n * 8;
    for (int k = 0; bits != 0; ++k, bits >>= 1) {
        if (bits & 1) reg = MultiplyModP(kPowers.power[k], reg);
    }
    return reg;
}

uint32_t FileCrcPatch(uint32_t crc, uint64_t total, uint64_t at, const uint8_t* before, const uint8_t* after,
                      size_t n) {
    std::vector<uint8_t> change(n);
    for (size_t i = 0; i < n; ++i) change[i] = before[i] ^ after[i];
    return crc ^ FileCrcZeros(FileCrcUpdate(0, change.data(), n), total - at - n);
}
