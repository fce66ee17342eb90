#include "store/Sha256Hardware.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#include "store/Sha256Constants.h"

// Compiled for the SHA extensions function by function, so that the rest runs on any x86 processor.
#define SHA_TARGET [[gnu::target("sha,sse4.1")]]

namespace {

SHA_TARGET inline __m128i Load(const void* p) {
    return _mm_loadu_si128(static_cast<const __m128i*>(p));
}

}  // namespace

// The instructions keep the state as the halves ABEF and CDGH, and do two rounds each; four message vectors
// of four words each are a sliding window over the schedule. Group g runs rounds 4g..4g+3 and finishes the
// words of group g + 1 (msg2) and starts those of group g + 3 (msg1).
SHA_TARGET void ShaNiCompress(uint32_t state[8], const uint8_t* block, size_t blockCount) {
    const __m128i bigEndian = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    __m128i dcba = _mm_shuffle_epi32(Load(state), 0xb1);      // now CDAB
    __m128i hgfe = _mm_shuffle_epi32(Load(state + 4), 0x1b);  // now EFGH
    __m128i abef = _mm_alignr_epi8(dcba, hgfe, 8);
    __m128i cdgh = _mm_blend_epi16(hgfe, dcba, 0xf0);
    for (; blockCount > 0; --blockCount, block += 64) {
        __m128i savedAbef = abef, savedCdgh = cdgh;
        __m128i m[4];
#pragma GCC unroll 16
        for (int g = 0; g < 16; ++g) {
            if (g < 4) m[g] = _mm_shuffle_epi8(Load(block + 16 * g), bigEndian);
            __m128i words = _mm_add_epi32(m[g & 3], Load(kSha256RoundConstants + 4 * g));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, words);
            if (g >= 3 && g <= 14) {
                __m128i& next = m[(g + 1) & 3];
                next = _mm_add_epi32(next, _mm_alignr_epi8(m[g & 3], m[(g + 3) & 3], 4));
                next = _mm_sha256msg2_epu32(next, m[g & 3]);
            }
            abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(words, 0x0e));
            if (g >= 1 && g <= 12) m[(g + 3) & 3] = _mm_sha256msg1_epu32(m[(g + 3) & 3], m[g & 3]);
        }
        abef = _mm_add_epi32(abef, savedAbef);
        cdgh = _mm_add_epi32(cdgh, savedCdgh);
    }
    __m128i feba = _mm_shuffle_epi32(abef, 0x1b);
    __m128i dchg = _mm_shuffle_epi32(cdgh, 0xb1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xf0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

#endif
