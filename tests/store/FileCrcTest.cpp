#include "store/FileCrc.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>

#include "CryptoTestUtil.h"

namespace {

// The store's checksum is the complement of zlib's CRC-32.
uint32_t ZlibComplement(const uint8_t* data, size_t n) {
    return ~uint32_t(crc32(0, data, uInt(n)));
}

TEST(FileCrcTest, CheckValueAndNoBytes) {
    EXPECT_EQ(FileCrc("123456789", 9), 0x340BC6D9u);
    EXPECT_EQ(FileCrc(nullptr, 0), 0xFFFFFFFFu);
    EXPECT_EQ(FileCrcUpdate(0x12345678u, nullptr, 0), 0x12345678u);
}

TEST(FileCrcTest, MatchesZlibOnEverySizeAndAlignment) {
    std::mt19937 rng(5);
    Bytes data = RandomBytes(rng, 600);
    for (size_t offset = 0; offset < 16; ++offset) {
        for (size_t n = 0; n + offset <= data.size(); ++n) {
            ASSERT_EQ(FileCrc(data.data() + offset, n), ZlibComplement(data.data() + offset, n))
                << n << " bytes at " << offset;
        }
    }
}

TEST(FileCrcTest, PiecesGiveTheSameResult) {
    std::mt19937 rng(6);
    for (int trial = 0; trial < 200; ++trial) {
        Bytes data = RandomBytes(rng, RandomSize(rng, 0, 10000));
        uint32_t reg = kFileCrcStart;
        for (size_t at = 0; at < data.size();) {
            size_t piece = std::min(RandomSize(rng, 0, 1100), data.size() - at);
            reg = FileCrcUpdate(reg, data.data() + at, piece);
            at += piece;
        }
        ASSERT_EQ(reg, ZlibComplement(data.data(), data.size())) << data.size() << " bytes";
    }
}

// Zeros, combine and patch against a checksum of the whole message, over random lengths and places.
TEST(FileCrcTest, CombineAndPatchEqualAFullChecksum) {
    std::mt19937 rng(8);
    for (int trial = 0; trial < 300; ++trial) {
        Bytes data = RandomBytes(rng, RandomSize(rng, 1, 5000));
        size_t cut = RandomSize(rng, 0, data.size());
        uint32_t whole = FileCrc(data.data(), data.size());
        ASSERT_EQ(FileCrcCombine(FileCrc(data.data(), cut), FileCrc(data.data() + cut, data.size() - cut),
                                 data.size() - cut),
                  whole);
        Bytes zeros(data.size() - cut, 0);
        ASSERT_EQ(FileCrcZeros(whole, zeros.size()), FileCrcUpdate(whole, zeros.data(), zeros.size()));

        size_t n = RandomSize(rng, 0, data.size() - cut);
        Bytes changed = data;
        for (size_t i = cut; i < cut + n; ++i) changed[i] = static_cast<uint8_t>(rng());
        ASSERT_EQ(FileCrcPatch(whole, data.size(), cut, data.data() + cut, changed.data() + cut, n),
                  FileCrc(changed.data(), changed.size()))
            << n << " bytes at " << cut << " of " << data.size();
    }
}

}  // namespace
