#include "store/Aes256.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "CryptoTestUtil.h"

namespace {

// Runs CBC over len bytes of `in` into `out` (which may be `in`), checking the object runs on `path`.
void RunCbc(CryptoPath path, CAes256::Direction direction, const Bytes& key, const uint8_t* iv,
            const uint8_t* in, uint8_t* out, size_t len) {
    CAes256 aes(path);
    EXPECT_EQ(aes.Hardware(), path == CryptoPath::Hardware);
    EXPECT_TRUE(aes.SetKey(key.data(), direction));
    size_t bits =
        direction == CAes256::Encrypt ? aes.EncryptCbc(iv, in, out, len) : aes.DecryptCbc(iv, in, out, len);
    EXPECT_EQ(bits, len * 8);
}

struct Aes256Test : OnEachPath<HasAesInstructions> {
    Bytes Cbc(CAes256::Direction direction, const Bytes& key, const Bytes& iv, const Bytes& in) const {
        Bytes out(in.size());
        RunCbc(GetParam(), direction, key, iv.data(), in.data(), out.data(), in.size());
        return out;
    }
};
INSTANTIATE_ON_EACH_PATH(Aes256Test);

// FIPS-197 appendix C.3.
TEST_P(Aes256Test, FipsBlockVector) {
    Bytes key = FromHex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
    Bytes plain = FromHex("00112233445566778899aabbccddeeff");
    Bytes cipher = FromHex("8ea2b7ca516745bfeafc49904b496089");
    uint8_t out[16];

    CAes256 encrypt(GetParam());
    ASSERT_TRUE(encrypt.SetKey(key.data(), CAes256::Encrypt));
    encrypt.EncryptBlock(plain.data(), out);
    EXPECT_EQ(ToHex(out, 16), ToHex(cipher.data(), 16));

    CAes256 decrypt(GetParam());
    ASSERT_TRUE(decrypt.SetKey(key.data(), CAes256::Decrypt));
    decrypt.DecryptBlock(cipher.data(), out);
    EXPECT_EQ(ToHex(out, 16), ToHex(plain.data(), 16));
}

// SP 800-38A F.2.5 (encrypt) and F.2.6 (decrypt).
struct CbcVectors : Aes256Test {
    Bytes key = FromHex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4");
    Bytes iv = FromHex("000102030405060708090a0b0c0d0e0f");
    Bytes plain = FromHex(
        "6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
        "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710");
    Bytes cipher = FromHex(
        "f58c4c04d6e5f1ba779eabfb5f7bfbd69cfc4e967edb808d679f777bc6702c7d"
        "39f23369a9d9bacfa530e26304231461b2eb05e2c39be9fcda6c19078c6a9d1b");
};
INSTANTIATE_ON_EACH_PATH(CbcVectors);

TEST_P(CbcVectors, EncryptAndDecrypt) {
    EXPECT_EQ(Cbc(CAes256::Encrypt, key, iv, plain), cipher);
    EXPECT_EQ(Cbc(CAes256::Decrypt, key, iv, cipher), plain);
}

// Partial blocks, a key set for the other direction and no key at all are refused, writing nothing.
TEST_P(CbcVectors, RefusesPartialBlocksAndAWrongOrMissingKey) {
    CAes256 encrypt(GetParam()), decrypt(GetParam()), none(GetParam());
    ASSERT_TRUE(encrypt.SetKey(key.data(), CAes256::Encrypt));
    ASSERT_TRUE(decrypt.SetKey(key.data(), CAes256::Decrypt));
    Bytes out(plain.size());
    for (size_t len : {1, 15, 17, 63}) {
        EXPECT_EQ(encrypt.EncryptCbc(iv.data(), plain.data(), out.data(), len), 0u) << len;
        EXPECT_EQ(decrypt.DecryptCbc(iv.data(), cipher.data(), out.data(), len), 0u) << len;
    }
    EXPECT_EQ(encrypt.DecryptCbc(iv.data(), cipher.data(), out.data(), out.size()), 0u);
    EXPECT_EQ(decrypt.EncryptCbc(iv.data(), plain.data(), out.data(), out.size()), 0u);
    EXPECT_EQ(none.EncryptCbc(iv.data(), plain.data(), out.data(), out.size()), 0u);
    EXPECT_EQ(none.DecryptCbc(iv.data(), cipher.data(), out.data(), out.size()), 0u);
    EXPECT_EQ(out, Bytes(plain.size(), 0));
}

// Any whole-block length (past the hardware path's lanes) at offsets 0 to 15 from an aligned address,
// decrypting in place.
TEST_P(Aes256Test, CbcMatchesOpenSslAtAnyAlignmentAndInPlace) {
    std::mt19937 rng(3);
    for (int trial = 0; trial < 300; ++trial) {
        size_t offset = trial % 16, len = 16 * RandomSize(rng, 0, 160);
        Bytes key = RandomBytes(rng, 32), iv = RandomBytes(rng, 16), plain = RandomBytes(rng, len);
        Bytes buffer(offset + len);
        RunCbc(GetParam(), CAes256::Encrypt, key, iv.data(), plain.data(), buffer.data() + offset, len);
        ASSERT_EQ(Bytes(buffer.begin() + offset, buffer.end()),
                  OpenSslAes256Cbc(true, key.data(), iv.data(), plain))
            << len << " bytes at " << offset;
        RunCbc(GetParam(), CAes256::Decrypt, key, iv.data(), buffer.data() + offset, buffer.data() + offset,
               len);
        ASSERT_EQ(Bytes(buffer.begin() + offset, buffer.end()), plain) << len << " bytes at " << offset;
    }
}

TEST_P(Aes256Test, HexKeyDigitsOfEitherCaseGiveTheSameKey) {
    const char* lower = "603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4";
    std::string upper(lower);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return char(std::toupper(c)); });
    Bytes block = FromHex("6bc1bee22e409f96e93d7e117393172a");
    Bytes expected = FromHex("f3eed1bdb5d2a03c064b5a7e3db181f8");  // SP 800-38A F.1.5, first block
    for (const char* hex : {lower, upper.c_str()}) {
        CAes256 aes(GetParam());
        ASSERT_TRUE(aes.SetKeyFromHex(hex, CAes256::Encrypt)) << hex;
        uint8_t out[16];
        aes.EncryptBlock(block.data(), out);
        EXPECT_EQ(ToHex(out, 16), ToHex(expected.data(), 16)) << hex;
    }
}

// A bad hex key is refused and leaves no key, even where a good one was set before.
TEST(Aes256KeyTest, HexKeyRejectsOtherCharactersAndLengths) {
    const std::string good = "603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4";
    CAes256 aes;
    for (size_t at : {0, 1, 31, 62, 63}) {
        for (char bad : {'g', 'G', 'x', ' ', ':', '/', '@', '`'}) {
            std::string hex = good;
            hex[at] = bad;
            EXPECT_FALSE(aes.SetKeyFromHex(hex.c_str(), CAes256::Encrypt)) << hex;
        }
    }
    for (std::string hex : {good.substr(0, 63), good + "0", std::string()})
        EXPECT_FALSE(aes.SetKeyFromHex(hex.c_str(), CAes256::Encrypt)) << hex;
    EXPECT_FALSE(aes.SetKeyFromHex(nullptr, CAes256::Encrypt));
    ASSERT_TRUE(aes.SetKeyFromHex(good.c_str(), CAes256::Encrypt));
    ASSERT_FALSE(aes.SetKeyFromHex("not a key", CAes256::Encrypt));
    uint8_t iv[16] = {}, block[16] = {};
    EXPECT_EQ(aes.EncryptCbc(iv, block, block, 16), 0u);
}

}  // namespace
