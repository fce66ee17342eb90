#include "store/Aes256.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "CryptoTestUtil.h"

namespace {

Bytes Cbc(CAes256::Direction direction, const Bytes& key, const Bytes& iv, const Bytes& in) {
    CAes256 aes;
    EXPECT_TRUE(aes.SetKey(key.data(), direction));
    Bytes out(in.size());
    size_t bits = direction == CAes256::Encrypt ? aes.EncryptCbc(iv.data(), in.data(), out.data(), in.size())
                                                : aes.DecryptCbc(iv.data(), in.data(), out.data(), in.size());
    EXPECT_EQ(bits, in.size() * 8);
    return out;
}

// FIPS-197 appendix C.3.
TEST(Aes256Test, FipsBlockVector) {
    Bytes key = FromHex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
    Bytes plain = FromHex("00112233445566778899aabbccddeeff");
    Bytes cipher = FromHex("8ea2b7ca516745bfeafc49904b496089");
    uint8_t out[16];

    CAes256 encrypt;
    ASSERT_TRUE(encrypt.SetKey(key.data(), CAes256::Encrypt));
    encrypt.EncryptBlock(plain.data(), out);
    EXPECT_EQ(ToHex(out, 16), ToHex(cipher.data(), 16));

    CAes256 decrypt;
    ASSERT_TRUE(decrypt.SetKey(key.data(), CAes256::Decrypt));
    decrypt.DecryptBlock(cipher.data(), out);
    EXPECT_EQ(ToHex(out, 16), ToHex(plain.data(), 16));
}

// SP 800-38A F.2.5 (encrypt) and F.2.6 (decrypt).
struct CbcVectors : testing::Test {
    Bytes key = FromHex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4");
    Bytes iv = FromHex("000102030405060708090a0b0c0d0e0f");
    Bytes plain = FromHex(
        "6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
        "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710");
    Bytes cipher = FromHex(
        "f58c4c04d6e5f1ba779eabfb5f7bfbd69cfc4e967edb808d679f777bc6702c7d"
        "39f23369a9d9bacfa530e26304231461b2eb05e2c39be9fcda6c19078c6a9d1b");
};

TEST_F(CbcVectors, Encrypt) {
    EXPECT_EQ(Cbc(CAes256::Encrypt, key, iv, plain), cipher);
}

TEST_F(CbcVectors, Decrypt) {
    EXPECT_EQ(Cbc(CAes256::Decrypt, key, iv, cipher), plain);
}

TEST_F(CbcVectors, InPlace) {
    CAes256 encrypt, decrypt;
    ASSERT_TRUE(encrypt.SetKey(key.data(), CAes256::Encrypt));
    ASSERT_TRUE(decrypt.SetKey(key.data(), CAes256::Decrypt));
    Bytes buffer = plain;
    EXPECT_EQ(encrypt.EncryptCbc(iv.data(), buffer.data(), buffer.data(), buffer.size()), 512u);
    EXPECT_EQ(buffer, cipher);
    EXPECT_EQ(decrypt.DecryptCbc(iv.data(), buffer.data(), buffer.data(), buffer.size()), 512u);
    EXPECT_EQ(buffer, plain);
}

TEST_F(CbcVectors, RefusesPartialBlocks) {
    CAes256 encrypt, decrypt;
    ASSERT_TRUE(encrypt.SetKey(key.data(), CAes256::Encrypt));
    ASSERT_TRUE(decrypt.SetKey(key.data(), CAes256::Decrypt));
    Bytes out(plain.size());
    for (size_t len : {1, 15, 17, 63}) {
        EXPECT_EQ(encrypt.EncryptCbc(iv.data(), plain.data(), out.data(), len), 0u) << len;
        EXPECT_EQ(decrypt.DecryptCbc(iv.data(), cipher.data(), out.data(), len), 0u) << len;
    }
    EXPECT_EQ(out, Bytes(plain.size(), 0));
}

TEST_F(CbcVectors, RefusesAKeySetForTheOtherDirectionOrNoKey) {
    CAes256 encrypt, decrypt, none;
    ASSERT_TRUE(encrypt.SetKey(key.data(), CAes256::Encrypt));
    ASSERT_TRUE(decrypt.SetKey(key.data(), CAes256::Decrypt));
    Bytes out(plain.size());
    EXPECT_EQ(encrypt.DecryptCbc(iv.data(), cipher.data(), out.data(), out.size()), 0u);
    EXPECT_EQ(decrypt.EncryptCbc(iv.data(), plain.data(), out.data(), out.size()), 0u);
    EXPECT_EQ(none.EncryptCbc(iv.data(), plain.data(), out.data(), out.size()), 0u);
    EXPECT_EQ(none.DecryptCbc(iv.data(), cipher.data(), out.data(), out.size()), 0u);
}

TEST(Aes256Test, CbcMatchesOpenSslOnRandomInput) {
    std::mt19937 rng(3);
    for (int trial = 0; trial < 200; ++trial) {
        Bytes key = RandomBytes(rng, 32), iv = RandomBytes(rng, 16);
        Bytes plain = RandomBytes(rng, 16 * RandomSize(rng, 1, 80));
        Bytes cipher = Cbc(CAes256::Encrypt, key, iv, plain);
        ASSERT_EQ(cipher, OpenSslAes256Cbc(true, key.data(), iv.data(), plain)) << "trial " << trial;
        ASSERT_EQ(Cbc(CAes256::Decrypt, key, iv, cipher), plain) << "trial " << trial;
    }
}

TEST(Aes256Test, HexKeyDigitsOfEitherCaseGiveTheSameKey) {
    const char* lower = "603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4";
    std::string upper(lower);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return char(std::toupper(c)); });
    Bytes block = FromHex("6bc1bee22e409f96e93d7e117393172a");
    Bytes expected = FromHex("f3eed1bdb5d2a03c064b5a7e3db181f8");  // SP 800-38A F.1.5, first block
    for (const char* hex : {lower, upper.c_str()}) {
        CAes256 aes;
        ASSERT_TRUE(aes.SetKeyFromHex(hex, CAes256::Encrypt)) << hex;
        uint8_t out[16];
        aes.EncryptBlock(block.data(), out);
        EXPECT_EQ(ToHex(out, 16), ToHex(expected.data(), 16)) << hex;
    }
}

TEST(Aes256Test, HexKeyRejectsOtherCharactersAndLengths) {
    const std::string good = "603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4";
    CAes256 aes;
    for (size_t at : {0, 1, 31, 62, 63}) {
        for (char bad : {'g', 'G', 'x', ' ', ':', '/', '@', '`'}) {
            std::string hex = good;
            hex[at] = bad;
            EXPECT_FALSE(aes.SetKeyFromHex(hex.c_str(), CAes256::Encrypt)) << hex;
        }
    }
    EXPECT_FALSE(aes.SetKeyFromHex(good.substr(0, 63).c_str(), CAes256::Encrypt));
    EXPECT_FALSE(aes.SetKeyFromHex((good + "0").c_str(), CAes256::Encrypt));
    EXPECT_FALSE(aes.SetKeyFromHex("", CAes256::Encrypt));
    EXPECT_FALSE(aes.SetKeyFromHex(nullptr, CAes256::Encrypt));
}

TEST(Aes256Test, FailedKeySetUpLeavesNoKey) {
    CAes256 aes;
    ASSERT_TRUE(aes.SetKeyFromHex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4",
                                  CAes256::Encrypt));
    ASSERT_FALSE(aes.SetKeyFromHex("not a key", CAes256::Encrypt));
    uint8_t iv[16] = {}, block[16] = {};
    EXPECT_EQ(aes.EncryptCbc(iv, block, block, 16), 0u);
}

}  // namespace
