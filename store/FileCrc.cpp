#include "store/FileCrc.h"

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
