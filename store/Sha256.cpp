#include "store/Sha256.h"

#include <bit>
#include <cstring>

#include "store/SecureBytes.h"
#include "store/Sha256Constants.h"
#include "store/Sha256Hardware.h"

namespace {

constexpr uint32_t kInitialState[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                       0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

inline uint32_t LoadBe32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

inline void StoreBe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (24 - 8 * i));
}

inline uint32_t BigSigma0(uint32_t x) {
    return std::rotr(x, 2) ^ std::rotr(x, 13) ^ std::rotr(x, 22);
}
inline uint32_t BigSigma1(uint32_t x) {
    return std::rotr(x, 6) ^ std::rotr(x, 11) ^ std::rotr(x, 25);
}
inline uint32_t SmallSigma0(uint32_t x) {
    return std::rotr(x, 7) ^ std::rotr(x, 18) ^ (x >> 3);
}
inline uint32_t SmallSigma1(uint32_t x) {
    return std::rotr(x, 17) ^ std::rotr(x, 19) ^ (x >> 10);
}
inline uint32_t Choose(uint32_t x, uint32_t y, uint32_t z) {
    return z ^ (x & (y ^ z));
}
inline uint32_t Majority(uint32_t x, uint32_t y, uint32_t z) {
    return (x & y) | (z & (x | y));
}

// The message word of round i: rounds 0-15 read the block, later ones extend a 16-word window in place.
#define LOAD_WORD(i) (w[i] = LoadBe32(block + 4 * (i)))
#define NEXT_WORD(i) \
    (w[(i)&15] += SmallSigma1(w[((i)-2) & 15]) + w[((i)-7) & 15] + SmallSigma0(w[((i)-15) & 15]))

// One round. Instead of shifting a..h along, the callers rotate the names they pass.
#define ROUND(a, b, c, d, e, f, g, h, i, word)                                                \
    do {                                                                                      \
        uint32_t t = h + BigSigma1(e) + Choose(e, f, g) + kSha256RoundConstants[i] + word(i); \
        d += t;                                                                               \
        h = t + BigSigma0(a) + Majority(a, b, c);                                             \
    } while (0)

#define EIGHT_ROUNDS(i, word)                   \
    ROUND(a, b, c, d, e, f, g, h, i + 0, word); \
    ROUND(h, a, b, c, d, e, f, g, i + 1, word); \
    ROUND(g, h, a, b, c, d, e, f, i + 2, word); \
    ROUND(f, g, h, a, b, c, d, e, i + 3, word); \
    ROUND(e, f, g, h, a, b, c, d, i + 4, word); \
    ROUND(d, e, f, g, h, a, b, c, i + 5, word); \
    ROUND(c, d, e, f, g, h, a, b, i + 6, word); \
    ROUND(b, c, d, e, f, g, h, a, i + 7, word)

void PortableCompress(uint32_t state[8], const uint8_t* block, size_t blockCount) {
    uint32_t w[16];
    for (; blockCount > 0; --blockCount, block += 64) {
        uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
        uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
        EIGHT_ROUNDS(0, LOAD_WORD);
        EIGHT_ROUNDS(8, LOAD_WORD);
        EIGHT_ROUNDS(16, NEXT_WORD);
        EIGHT_ROUNDS(24, NEXT_WORD);
        EIGHT_ROUNDS(32, NEXT_WORD);
        EIGHT_ROUNDS(40, NEXT_WORD);
        EIGHT_ROUNDS(48, NEXT_WORD);
        EIGHT_ROUNDS(56, NEXT_WORD);
        state[0] += a, state[1] += b, state[2] += c, state[3] += d;
        state[4] += e, state[5] += f, state[6] += g, state[7] += h;
    }
    SecureZero(w, sizeof w);
}

#undef EIGHT_ROUNDS
#undef ROUND
#undef NEXT_WORD
#undef LOAD_WORD

}  // namespace

CSha256::CSha256(CryptoPath path) : compress(PortableCompress) {
    if constexpr (kCryptoInstructionsBuilt) {
        if (path == CryptoPath::Hardware && HasShaInstructions()) compress = ShaNiCompress;
    }
    Start();
}

CSha256::~CSha256() {
    SecureZero(state, sizeof state);
    SecureZero(buffer, sizeof buffer);
    byteCount = 0;
}

bool CSha256::Hardware() const {
    return compress != PortableCompress;
}

void CSha256::Start() {
    std::memcpy(state, kInitialState, sizeof state);
    byteCount = 0;
}

void CSha256::Add(const void* data, size_t n) {
    if (n == 0) return;
    const uint8_t* p = static_cast<const uint8_t*>(data);
    size_t used = size_t(byteCount % 64);
    byteCount += n;
    if (used > 0) {
        size_t take = n < 64 - used ? n : 64 - used;
        std::memcpy(buffer + used, p, take);
        p += take, n -= take, used += take;
        if (used < 64) return;
        compress(state, buffer, 1);
    }
    compress(state, p, n / 64);
    p += n / 64 * 64, n %= 64;
    if (n > 0) std::memcpy(buffer, p, n);
}

void CSha256::Finish(uint8_t digest[32]) {
    uint64_t bitCount = byteCount * 8;
    size_t used = size_t(byteCount % 64);
    buffer[used++] = 0x80;
    if (used > 56) {
        std::memset(buffer + used, 0, 64 - used);
        compress(state, buffer, 1);
        used = 0;
    }
    std::memset(buffer + used, 0, 56 - used);
    StoreBe32(buffer + 56, uint32_t(bitCount >> 32));
    StoreBe32(buffer + 60, uint32_t(bitCount));
    compress(state, buffer, 1);
    for (int i = 0; i < 8; ++i) StoreBe32(digest + 4 * i, state[i]);
    SecureZero(state, sizeof state);
    SecureZero(buffer, sizeof buffer);
    byteCount = 0;
}

void Sha256(const void* data, size_t n, uint8_t digest[32]) {
    CSha256 sha;
    sha.Add(data, n);
    sha.Finish(digest);
}
