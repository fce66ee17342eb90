#pragma once
// Helpers shared by the tests of the cryptographic primitives.

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "store/CryptoPath.h"
#include "store/SecureBytes.h"

// Lower-case hex digits only, as the test vectors are written.
inline Bytes FromHex(std::string_view hex) {
    auto nibble = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
    Bytes out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(uint8_t(nibble(hex[i]) << 4 | nibble(hex[i + 1])));
    return out;
}

inline std::string ToHex(const uint8_t* p, size_t n) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string s;
    for (size_t i = 0; i < n; ++i) s += {kDigits[p[i] >> 4], kDigits[p[i] & 15]};
    return s;
}

inline Bytes RandomBytes(std::mt19937& rng, size_t n) {
    Bytes out(n);
    for (auto& b : out) b = uint8_t(rng());
    return out;
}

inline size_t RandomSize(std::mt19937& rng, size_t low, size_t high) {
    return std::uniform_int_distribution<size_t>(low, high)(rng);
}

// OpenSSL's AES-256-CBC without padding, as the reference for ours.
inline Bytes OpenSslAes256Cbc(bool encrypt, const uint8_t key[32], const uint8_t iv[16], const Bytes& in) {
    Bytes out(in.size() + 16);
    int updated = 0, finished = 0;
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    bool ok = ctx != nullptr && EVP_CipherInit_ex(ctx, EVP_aes_256_cbc(), nullptr, key, iv, encrypt) == 1 &&
              EVP_CIPHER_CTX_set_padding(ctx, 0) == 1 &&
              EVP_CipherUpdate(ctx, out.data(), &updated, in.data(), int(in.size())) == 1 &&
              EVP_CipherFinal_ex(ctx, out.data() + updated, &finished) == 1;
    EVP_CIPHER_CTX_free(ctx);
    out.resize(ok ? size_t(updated + finished) : 0);
    return out;
}

// A fixture whose tests run once on each path (the hardware one skipped where the processor lacks it).
template <bool (*hasInstructions)()>
struct OnEachPath : testing::TestWithParam<CryptoPath> {
    void SetUp() override {
        if (GetParam() == CryptoPath::Hardware && !hasInstructions())
            GTEST_SKIP() << "this processor lacks the instructions of the hardware path";
    }
    bool OnHardware() const { return GetParam() == CryptoPath::Hardware; }
};

inline std::string PathName(const testing::TestParamInfo<CryptoPath>& info) {
    return info.param == CryptoPath::Hardware ? "Hardware" : "Portable";
}

#define INSTANTIATE_ON_EACH_PATH(fixture)                                                                \
    INSTANTIATE_TEST_SUITE_P(Path, fixture, testing::Values(CryptoPath::Portable, CryptoPath::Hardware), \
                             PathName)
