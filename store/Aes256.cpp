#include "store/Aes256.h"

#include <bit>
#include <cstring>

#include "store/Aes256Hardware.h"
#include "store/SecureBytes.h"

// The state is kept as four little-endian column words: row r of a column is bits 8r..8r+7.

namespace {

constexpr int kRounds = 14;
constexpr int kScheduleWords = 4 * (kRounds + 1);
constexpr uint8_t kZeroIv[16] = {};

constexpr uint8_t XTime(uint8_t x) {
    return uint8_t((x << 1) ^ ((x & 0x80) ? 0x1b : 0));
}

constexpr uint8_t GfMul(uint8_t a, uint8_t b) {
    uint8_t product = 0;
    for (; b != 0; b >>= 1, a = XTime(a)) {
        if (b & 1) product ^= a;
    }
    return product;
}

struct Tables {
    uint32_t te[4][256];  // S-box and MixColumns, one table per row the byte comes from
    uint32_t td[4][256];  // inverse S-box and InvMixColumns
    uint8_t sbox[256];
    uint8_t invSbox[256];
};

constexpr Tables MakeTables() {
    Tables t{};
    // p walks the multiplicative group by the generator 3 while q walks it backwards, so q = 1/p; the
    // S-box entry is the affine transform of q.
    uint8_t p = 1, q = 1;
    do {
        p = uint8_t(p ^ XTime(p));
        q = uint8_t(q ^ (q << 1));
        q = uint8_t(q ^ (q << 2));
        q = uint8_t(q ^ (q << 4));
        if (q & 0x80) q ^= 0x09;
        t.sbox[p] = uint8_t(q ^ std::rotl(q, 1) ^ std::rotl(q, 2) ^ std::rotl(q, 3) ^ std::rotl(q, 4) ^ 0x63);
    } while (p != 1);
    t.sbox[0] = 0x63;
    for (int x = 0; x < 256; ++x) t.invSbox[t.sbox[x]] = uint8_t(x);
    for (int x = 0; x < 256; ++x) {
        uint8_t s = t.sbox[x], i = t.invSbox[x];
        uint32_t e = GfMul(s, 2) | uint32_t(s) << 8 | uint32_t(s) << 16 | uint32_t(GfMul(s, 3)) << 24;
        uint32_t d = GfMul(i, 14) | uint32_t(GfMul(i, 9)) << 8 | uint32_t(GfMul(i, 13)) << 16 |
                     uint32_t(GfMul(i, 11)) << 24;
        for (int row = 0; row < 4; ++row) {
            t.te[row][x] = std::rotl(e, 8 * row);
            t.td[row][x] = std::rotl(d, 8 * row);
        }
    }
    return t;
}

alignas(64) constexpr Tables kTables = MakeTables();

using MixTable = uint32_t[4][256];
using SubTable = uint8_t[256];

// A full round's output column from the bytes of rows 0..3 taken from words a..d.
inline uint32_t MixColumn(const MixTable& t, uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    return t[0][a & 0xff] ^ t[1][(b >> 8) & 0xff] ^ t[2][(c >> 16) & 0xff] ^ t[3][d >> 24];
}

// The last round's output column: substitution only.
inline uint32_t SubColumn(const SubTable& s, uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    return uint32_t(s[a & 0xff]) | uint32_t(s[(b >> 8) & 0xff]) << 8 | uint32_t(s[(c >> 16) & 0xff]) << 16 |
           uint32_t(s[d >> 24]) << 24;
}

inline uint32_t SubWord(uint32_t w) {
    return SubColumn(kTables.sbox, w, w, w, w);
}

// One round on each of several independent blocks (side by side, to keep more look-ups in flight). Row r of
// output column c comes from column c + r * shift: shift 1 is ShiftRows, 3 its inverse. `column` builds an
// output column from its four source words. The loops are unrolled so that the state stays in registers.
template <int shift, int blocks, typename Column>
[[gnu::always_inline]] inline void Round(uint32_t (&s)[blocks][4], const uint32_t* rk, Column column) {
#pragma GCC unroll 4
    for (int b = 0; b < blocks; ++b) {
        uint32_t t[4];
#pragma GCC unroll 4
        for (int c = 0; c < 4; ++c) {
            t[c] =
                column(s[b][c], s[b][(c + shift) & 3], s[b][(c + 2 * shift) & 3], s[b][(c + 3 * shift) & 3]) ^
                rk[c];
        }
#pragma GCC unroll 4
        for (int c = 0; c < 4; ++c) s[b][c] = t[c];
    }
}

template <int shift, int blocks>
[[gnu::always_inline]] inline void Rounds(const uint32_t* rk, const MixTable& mix, const SubTable& sub,
                                          uint32_t (&s)[blocks][4]) {
#pragma GCC unroll 4
    for (int b = 0; b < blocks; ++b) {
#pragma GCC unroll 4
        for (int c = 0; c < 4; ++c) s[b][c] ^= rk[c];
    }
    auto full = [&mix](uint32_t a, uint32_t b, uint32_t c, uint32_t d) { return MixColumn(mix, a, b, c, d); };
    auto last = [&sub](uint32_t a, uint32_t b, uint32_t c, uint32_t d) { return SubColumn(sub, a, b, c, d); };
#pragma GCC unroll 13
    for (int round = 1; round < kRounds; ++round) Round<shift>(s, rk + 4 * round, full);
    Round<shift>(s, rk + 4 * kRounds, last);
}

template <int blocks>
[[gnu::always_inline]] inline void Encipher(const uint32_t* rk, uint32_t (&s)[blocks][4]) {
    Rounds<1>(rk, kTables.te, kTables.sbox, s);
}

template <int blocks>
[[gnu::always_inline]] inline void Decipher(const uint32_t* rk, uint32_t (&s)[blocks][4]) {
    Rounds<3>(rk, kTables.td, kTables.invSbox, s);
}

// Block loads and stores are on the hot path; memcpy keeps them single instructions at any optimisation
// level.
inline uint32_t FromLittleEndian(uint32_t w) {
    if constexpr (std::endian::native == std::endian::little) return w;
    return (w >> 24) | ((w >> 8) & 0xff00) | ((w << 8) & 0xff0000) | (w << 24);
}

inline void LoadBlock(const uint8_t* p, uint32_t s[4]) {
    std::memcpy(s, p, 16);
    for (int c = 0; c < 4; ++c) s[c] = FromLittleEndian(s[c]);
}

inline void StoreBlock(uint8_t* p, const uint32_t s[4]) {
    uint32_t w[4];
    for (int c = 0; c < 4; ++c) w[c] = FromLittleEndian(s[c]);
    std::memcpy(p, w, 16);
}

// CBC-decrypts consecutive blocks; `previous` holds the ciphertext block before them and is left holding the
// last of them. Every block is read before any is written, so in and out may be the same buffer.
template <int blocks>
void DecryptCbcBlocks(const uint32_t* rk, const uint8_t* in, uint8_t* out, uint32_t previous[4]) {
    uint32_t cipher[blocks][4], s[blocks][4];
    for (int b = 0; b < blocks; ++b) LoadBlock(in + 16 * b, cipher[b]);
    std::memcpy(s, cipher, sizeof s);
    Decipher(rk, s);
    for (int b = 0; b < blocks; ++b) {
        const uint32_t* chain = b == 0 ? previous : cipher[b - 1];
        for (int c = 0; c < 4; ++c) s[b][c] ^= chain[c];
        StoreBlock(out + 16 * b, s[b]);
    }
    std::memcpy(previous, cipher[blocks - 1], sizeof cipher[0]);
}

void ExpandKey(const uint8_t key[32], uint32_t rk[kScheduleWords]) {
    LoadBlock(key, rk);
    LoadBlock(key + 16, rk + 4);
    uint8_t rcon = 1;
    for (int i = 8; i < kScheduleWords; ++i) {
        uint32_t t = rk[i - 1];
        if (i % 8 == 0) {
            t = SubWord(std::rotr(t, 8)) ^ rcon;  // rotr: RotWord on a little-endian word
            rcon = XTime(rcon);
        } else if (i % 8 == 4) {
            t = SubWord(t);
        }
        rk[i] = rk[i - 8] ^ t;
    }
}

// The equivalent inverse cipher's schedule: round keys in reverse order, the inner ones put through
// InvMixColumns. The decryption tables also apply InvSubBytes, which the S-box undoes beforehand.
void InvertSchedule(uint32_t rk[kScheduleWords]) {
    uint32_t enc[kScheduleWords];
    std::memcpy(enc, rk, sizeof enc);
    for (int round = 0; round <= kRounds; ++round) {
        for (int c = 0; c < 4; ++c) {
            uint32_t w = enc[4 * (kRounds - round) + c];
            if (round > 0 && round < kRounds) {
                uint32_t s = SubWord(w);
                w = MixColumn(kTables.td, s, s, s, s);
            }
            rk[4 * round + c] = w;
        }
    }
    SecureZero(enc, sizeof enc);
}

void PortableEncryptCbc(const uint32_t* rk, const uint8_t iv[16], const uint8_t* in, uint8_t* out,
                        size_t len) {
    uint32_t s[1][4];
    LoadBlock(iv, s[0]);
    for (size_t i = 0; i < len; i += 16) {
        uint32_t plain[4];
        LoadBlock(in + i, plain);
        for (int c = 0; c < 4; ++c) s[0][c] ^= plain[c];
        Encipher(rk, s);
        StoreBlock(out + i, s[0]);
    }
}

// Unlike encryption, decryption of one block does not wait for the previous one: two at a time keep more
// table look-ups in flight.
void PortableDecryptCbc(const uint32_t* rk, const uint8_t iv[16], const uint8_t* in, uint8_t* out,
                        size_t len) {
    uint32_t previous[4];
    LoadBlock(iv, previous);
    size_t i = 0;
    for (; i + 32 <= len; i += 32) DecryptCbcBlocks<2>(rk, in + i, out + i, previous);
    for (; i < len; i += 16) DecryptCbcBlocks<1>(rk, in + i, out + i, previous);
}

// With masks rather than branches, so that neither the time taken nor the branch history depends on the key's
// digits (and a record read pays no mispredicted branch for each of them). A mask is all ones where its range
// holds: x is in 0..limit exactly when neither x nor limit - x is negative.
int HexValue(char c) {
    int digit = uint8_t(c) - '0';
    int letter = (uint8_t(c) | 0x20) - 'a';  // either case
    int isDigit = ~((digit | (9 - digit)) >> 31);
    int isLetter = ~((letter | (5 - letter)) >> 31);
    return (digit & isDigit) | ((letter + 10) & isLetter) | ~(isDigit | isLetter);
}

// Stops at the first character that is not a digit, so it never reads past the end of a shorter string.
bool ParseHexKey(const char* hex, uint8_t key[32]) {
    for (int i = 0; i < 32; ++i) {
        int high = HexValue(hex[2 * i]);
        if (high < 0) return false;
        int low = HexValue(hex[2 * i + 1]);
        if (low < 0) return false;
        key[i] = uint8_t(high << 4 | low);
    }
    return hex[64] == '\0';
}

}  // namespace

CAes256::CAes256(CryptoPath path)
    : hardware(kCryptoInstructionsBuilt && path == CryptoPath::Hardware && HasAesInstructions()) {}

CAes256::~CAes256() {
    SecureZero(roundKeys, sizeof roundKeys);
}

bool CAes256::SetKey(const uint8_t key[32], Direction direction) {
    static constexpr char kDigits[] = "0123456789abcdef";
    char hex[65];
    for (int i = 0; i < 32; ++i) {
        hex[2 * i] = kDigits[key[i] >> 4];
        hex[2 * i + 1] = kDigits[key[i] & 15];
    }
    hex[64] = '\0';
    bool ok = SetKeyFromHex(hex, direction);
    SecureZero(hex, sizeof hex);
    return ok;
}

bool CAes256::SetKeyFromHex(const char* hex64, Direction direction) {
    SecureZero(roundKeys, sizeof roundKeys);
    keySet = false;
    uint8_t key[32];
    bool ok = hex64 != nullptr && ParseHexKey(hex64, key);
    if (ok) {
        ExpandSchedule(key, direction);
        keySet = true;
        this->direction = direction;
    }
    SecureZero(key, sizeof key);
    return ok;
}

void CAes256::ExpandSchedule(const uint8_t key[32], Direction direction) {
    if constexpr (kCryptoInstructionsBuilt) {
        if (hardware) {
            auto* schedule = reinterpret_cast<uint8_t*>(roundKeys);
            AesNiExpandKey(key, schedule);
            if (direction == Decrypt) AesNiInvertSchedule(schedule);
            return;
        }
    }
    ExpandKey(key, roundKeys);
    if (direction == Decrypt) InvertSchedule(roundKeys);
}

void CAes256::EncryptBlock(const uint8_t in[16], uint8_t out[16]) const {
    Cbc(Encrypt, kZeroIv, in, out, 16);
}

void CAes256::DecryptBlock(const uint8_t in[16], uint8_t out[16]) const {
    Cbc(Decrypt, kZeroIv, in, out, 16);
}

bool CAes256::Ready(Direction wanted, size_t len) const {
    return keySet && direction == wanted && len % 16 == 0 && len <= SIZE_MAX / 8;
}

size_t CAes256::EncryptCbc(const uint8_t iv[16], const uint8_t* in, uint8_t* out, size_t len) const {
    if (!Ready(Encrypt, len)) return 0;
    Cbc(Encrypt, iv, in, out, len);
    return len * 8;
}

size_t CAes256::DecryptCbc(const uint8_t iv[16], const uint8_t* in, uint8_t* out, size_t len) const {
    if (!Ready(Decrypt, len)) return 0;
    Cbc(Decrypt, iv, in, out, len);
    return len * 8;
}

void CAes256::Cbc(Direction which, const uint8_t iv[16], const uint8_t* in, uint8_t* out, size_t len) const {
    if constexpr (kCryptoInstructionsBuilt) {
        if (hardware) {
            (which == Encrypt ? AesNiEncryptCbc : AesNiDecryptCbc)(
                reinterpret_cast<const uint8_t*>(roundKeys), iv, in, out, len);
            return;
        }
    }
    (which == Encrypt ? PortableEncryptCbc : PortableDecryptCbc)(roundKeys, iv, in, out, len);
}
