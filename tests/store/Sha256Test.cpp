#include "store/Sha256.h"

#include <gtest/gtest.h>
#include <openssl/sha.h>

#include <algorithm>
#include <string>

#include "CryptoTestUtil.h"

namespace {

struct Vector {
    std::string message;
    const char* digest;
};

// FIPS 180-2 example messages and their digests.
const Vector kFipsVectors[] = {
    {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
};

std::string OpenSslDigestHex(const uint8_t* data, size_t n) {
    uint8_t digest[32];
    SHA256(data, n, digest);
    return ToHex(digest, 32);
}

std::string DigestInPieces(CryptoPath path, const void* data, size_t n, size_t pieceSize) {
    CSha256 sha(path);
    EXPECT_EQ(sha.Hardware(), path == CryptoPath::Hardware);
    for (size_t at = 0; at < n; at += pieceSize)
        sha.Add(static_cast<const uint8_t*>(data) + at, std::min(pieceSize, n - at));
    uint8_t digest[32];
    sha.Finish(digest);
    return ToHex(digest, 32);
}

struct Sha256Test : OnEachPath<HasShaInstructions> {
    std::string DigestHex(const void* data, size_t n) const { return DigestInPieces(GetParam(), data, n, n); }
};
INSTANTIATE_ON_EACH_PATH(Sha256Test);

TEST_P(Sha256Test, FipsVectorsInOneCallAndInPiecesOfEverySize) {
    for (const auto& v : kFipsVectors) {
        EXPECT_EQ(DigestHex(v.message.data(), v.message.size()), v.digest) << v.message.size() << " bytes";
        for (size_t piece = 1; piece <= 130; ++piece) {
            ASSERT_EQ(DigestInPieces(GetParam(), v.message.data(), v.message.size(), piece), v.digest)
                << v.message.size() << " bytes in pieces of " << piece;
        }
    }
}

// Start after a finished digest begins afresh, and empty pieces change nothing.
TEST_P(Sha256Test, StartAgainAndEmptyPieces) {
    CSha256 sha(GetParam());
    uint8_t digest[32];
    sha.Add("some earlier message", 20);
    sha.Finish(digest);
    sha.Start();
    sha.Add(nullptr, 0);
    sha.Add("a", 1);
    sha.Add("", 0);
    sha.Add("bc", 2);
    sha.Finish(digest);
    EXPECT_EQ(ToHex(digest, 32), kFipsVectors[1].digest);
}

// Every length around the padding boundaries (55/56 bytes in the last block, whole blocks), at offsets 0
// to 15 from an aligned address.
TEST_P(Sha256Test, EveryLengthUpTo300MatchesOpenSsl) {
    std::mt19937 rng(1);
    Bytes data = RandomBytes(rng, 300 + 15);
    for (size_t n = 0; n <= 300; ++n) {
        const uint8_t* p = data.data() + n % 16;
        ASSERT_EQ(DigestHex(p, n), OpenSslDigestHex(p, n)) << n << " bytes";
    }
}

TEST_P(Sha256Test, RandomPiecesMatchOpenSsl) {
    std::mt19937 rng(2);
    for (int trial = 0; trial < 300; ++trial) {
        Bytes data = RandomBytes(rng, RandomSize(rng, 0, 5000));
        CSha256 sha(GetParam());
        for (size_t at = 0; at < data.size();) {
            size_t piece = std::min(RandomSize(rng, 0, 200), data.size() - at);
            sha.Add(data.data() + at, piece);
            at += piece;
        }
        uint8_t digest[32];
        sha.Finish(digest);
        ASSERT_EQ(ToHex(digest, 32), OpenSslDigestHex(data.data(), data.size())) << data.size() << " bytes";
    }
}

}  // namespace
