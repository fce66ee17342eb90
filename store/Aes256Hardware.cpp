#include "store/Aes256Hardware.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

// Compiled for AES-NI function by function, so that the rest of the program runs on any x86 processor.
#define AES_TARGET [[gnu::target("aes,sse4.1")]]

namespace {

constexpr int kRounds = 14;
// Blocks decrypted side by side: CBC decryption does not chain, so the instructions of eight blocks overlap.
constexpr int kLanes = 8;

AES_TARGET inline __m128i Load(const uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

AES_TARGET inline void Store(uint8_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// The next round key from the one two rounds back and the assist word picked out of the key-gen result.
AES_TARGET inline __m128i NextKey(__m128i previous, __m128i assist) {
    previous = _mm_xor_si128(previous, _mm_slli_si128(previous, 4));
    previous = _mm_xor_si128(previous, _mm_slli_si128(previous, 8));
    return _mm_xor_si128(previous, assist);
}

// Round keys 2i+2 and 2i+3 from keys 2i and 2i+1 (the last step makes only the first of them).
template <int rcon, bool both = true>
AES_TARGET inline void ExpandStep(__m128i* keys, int i) {
    keys[2 * i + 2] =
        NextKey(keys[2 * i], _mm_shuffle_epi32(_mm_aeskeygenassist_si128(keys[2 * i + 1], rcon), 0xff));
    if (both) {
        keys[2 * i + 3] =
            NextKey(keys[2 * i + 1], _mm_shuffle_epi32(_mm_aeskeygenassist_si128(keys[2 * i + 2], 0), 0xaa));
    }
}

}  // namespace

AES_TARGET void AesNiExpandKey(const uint8_t key[32], uint8_t schedule[240]) {
    __m128i keys[kRounds + 1];
    keys[0] = Load(key);
    keys[1] = Load(key + 16);
    ExpandStep<0x01>(keys, 0);
    ExpandStep<0x02>(keys, 1);
    ExpandStep<0x04>(keys, 2);
    ExpandStep<0x08>(keys, 3);
    ExpandStep<0x10>(keys, 4);
    ExpandStep<0x20>(keys, 5);
    ExpandStep<0x40, false>(keys, 6);
    for (int r = 0; r <= kRounds; ++r) Store(schedule + 16 * r, keys[r]);
    volatile __m128i* wipe = keys;
    for (int r = 0; r <= kRounds; ++r) wipe[r] = _mm_setzero_si128();
}

AES_TARGET void AesNiInvertSchedule(uint8_t schedule[240]) {
    for (int r = 0, s = kRounds; r < s; ++r, --s) {
        __m128i low = Load(schedule + 16 * r), high = Load(schedule + 16 * s);
        Store(schedule + 16 * r, r == 0 ? high : _mm_aesimc_si128(high));
        Store(schedule + 16 * s, r == 0 ? low : _mm_aesimc_si128(low));
    }
    Store(schedule + 16 * (kRounds / 2), _mm_aesimc_si128(Load(schedule + 16 * (kRounds / 2))));
}

// Each block waits for the one before it, so the loop runs at the latency of 14 rounds. The round keys are
// read from the schedule where they are used rather than copied, so that no copy is left on the stack.
AES_TARGET void AesNiEncryptCbc(const uint8_t schedule[240], const uint8_t iv[16], const uint8_t* in,
                                uint8_t* out, size_t len) {
    __m128i chain = Load(iv);
    for (size_t i = 0; i < len; i += 16) {
        __m128i state = _mm_xor_si128(chain, _mm_xor_si128(Load(in + i), Load(schedule)));
#pragma GCC unroll 13
        for (int r = 1; r < kRounds; ++r) state = _mm_aesenc_si128(state, Load(schedule + 16 * r));
        chain = _mm_aesenclast_si128(state, Load(schedule + 16 * kRounds));
        Store(out + i, chain);
    }
}

namespace {

// CBC-decrypts `blocks` consecutive blocks; `chain` holds the ciphertext block before them and is left
// holding the last of them. Every block is read before any is written, so in and out may be the same.
template <int blocks>
AES_TARGET inline void DecryptBlocks(const uint8_t* schedule, const uint8_t* in, uint8_t* out,
                                     __m128i& chain) {
    __m128i cipher[blocks], state[blocks];
    __m128i key = Load(schedule);
#pragma GCC unroll 8
    for (int b = 0; b < blocks; ++b) {
        cipher[b] = Load(in + 16 * b);
        state[b] = _mm_xor_si128(cipher[b], key);
    }
#pragma GCC unroll 13
    for (int r = 1; r < kRounds; ++r) {
        key = Load(schedule + 16 * r);
#pragma GCC unroll 8
        for (int b = 0; b < blocks; ++b) state[b] = _mm_aesdec_si128(state[b], key);
    }
    key = Load(schedule + 16 * kRounds);
    // The last round ends by adding its key, so adding the previous ciphertext block there too is CBC's step.
#pragma GCC unroll 8
    for (int b = 0; b < blocks; ++b) {
        __m128i previous = b == 0 ? chain : cipher[b - 1];
        Store(out + 16 * b, _mm_aesdeclast_si128(state[b], _mm_xor_si128(key, previous)));
    }
    chain = cipher[blocks - 1];
}

}  // namespace

AES_TARGET void AesNiDecryptCbc(const uint8_t schedule[240], const uint8_t iv[16], const uint8_t* in,
                                uint8_t* out, size_t len) {
    __m128i chain = Load(iv);
    size_t i = 0;
    for (; i + 16 * kLanes <= len; i += 16 * kLanes) DecryptBlocks<kLanes>(schedule, in + i, out + i, chain);
    for (; i + 64 <= len; i += 64) DecryptBlocks<4>(schedule, in + i, out + i, chain);
    for (; i < len; i += 16) DecryptBlocks<1>(schedule, in + i, out + i, chain);
}

#endif
