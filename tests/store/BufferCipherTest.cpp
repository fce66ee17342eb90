#include "store/BufferCipher.h"

#include <gtest/gtest.h>
#include <openssl/sha.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "CryptoTestUtil.h"
#include "store/Aes256.h"
#include "store/Sha256.h"

namespace {

struct BufferCipherTest : testing::Test {
    std::mt19937 rng{4};
    Key32 key = RandomKey();

    Key32 RandomKey() {
        Key32 k;
        Bytes bytes = RandomBytes(rng, 32);
        std::memcpy(k.bytes(), bytes.data(), 32);
        return k;
    }

    // The plaintext layout, built by hand: length word, data, zero padding to `total` bytes.
    static Bytes Layout(uint32_t lengthWord, const Bytes& data, size_t total) {
        Bytes plain(total, 0);
        for (int i = 0; i < 4; ++i) plain[i] = uint8_t(lengthWord >> (8 * i));
        std::copy(data.begin(), data.end(), plain.begin() + 4);
        return plain;
    }

    Bytes OpenSslEncrypt(const Bytes& plain) const {
        const uint8_t zeroIv[16] = {};
        return OpenSslAes256Cbc(true, key.bytes(), zeroIv, plain);
    }

    Bytes Encrypt(const Bytes& data) {
        Bytes out;
        EXPECT_TRUE(EncryptBuffer(key, data.data(), data.size(), out)) << data.size() << " bytes";
        return out;
    }
};

// Data too long for the length word fails before it is read, leaving the output alone.
TEST_F(BufferCipherTest, LengthCoversLengthWordAndDataInWholeBlocksAndOverlongDataFails) {
    const std::pair<size_t, size_t> cases[] = {{0, 16}, {12, 16}, {13, 32}, {28, 32}, {29, 48}};
    for (auto [n, total] : cases) EXPECT_EQ(EncryptedLength(n), total) << n;
    EXPECT_EQ(EncryptedLength(size_t(UINT32_MAX) + 1), 0u);
    Bytes out(16);
    EXPECT_FALSE(EncryptBuffer(key, nullptr, size_t(UINT32_MAX) + 1, out));
    EXPECT_EQ(out.size(), 16u);
}

// A null buffer would crash if any of these were decrypted.
TEST_F(BufferCipherTest, SizesThatAreNotWholeBlocksFailWithoutDecrypting) {
    SecureBytes out = {9};
    for (size_t total : {0, 15, 17}) {
        EXPECT_FALSE(DecryptBuffer(key, nullptr, total, out)) << total;
        EXPECT_EQ(out, SecureBytes{9});
    }
}

TEST_F(BufferCipherTest, CiphertextIsTheLayoutUnderCbcWithAZeroIvAndDecrypts) {
    for (size_t n = 0; n <= 300; ++n) {
        Bytes data = RandomBytes(rng, n);
        Bytes cipher = Encrypt(data);
        ASSERT_EQ(cipher, OpenSslEncrypt(Layout(uint32_t(n), data, EncryptedLength(n)))) << n;
        SecureBytes plain;
        ASSERT_EQ(DecryptBuffer(key, cipher.data(), cipher.size(), plain), n > 0) << n;
        ASSERT_EQ(Bytes(plain.begin(), plain.end()), n > 0 ? data : Bytes()) << n;
    }
}

// The layout test decrypts a word that just fits (28 of 32 bytes); one beyond it is refused.
TEST_F(BufferCipherTest, LengthWordMustFitTheBuffer) {
    Bytes data = RandomBytes(rng, 28);  // the word that fits, 28, decrypts in the layout test above
    for (uint32_t tampered : {29u, 32u, 0x10000u, 0xFFFFFFFFu}) {
        SecureBytes untouched = {5};
        Bytes cipher = OpenSslEncrypt(Layout(tampered, data, 32));
        EXPECT_FALSE(DecryptBuffer(key, cipher.data(), cipher.size(), untouched)) << tampered;
        EXPECT_EQ(untouched, SecureBytes{5});
    }
}

TEST_F(BufferCipherTest, WrongKeyFails) {
    for (int trial = 0; trial < 200; ++trial) {
        Bytes cipher = Encrypt(RandomBytes(rng, RandomSize(rng, 1, 200)));
        Key32 wrong = RandomKey();
        SecureBytes plain;
        EXPECT_FALSE(DecryptBuffer(wrong, cipher.data(), cipher.size(), plain)) << "trial " << trial;
    }
}

#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer aborts on huge allocations instead of failing them
TEST_F(BufferCipherTest, UnallocatableSizeFails) {
    SecureBytes out;
    EXPECT_FALSE(DecryptBuffer(key, nullptr, size_t(1) << 60, out));
    EXPECT_FALSE(DecryptBuffer(key, nullptr, SIZE_MAX - 15, out));
}
#endif

TEST(PasswordKeyTest, IsTheDigestOfTheUtf16Units) {
    const char16_t password[] = u"quartzpetal";
    Bytes units;
    for (char16_t c : std::u16string(password)) units.insert(units.end(), {uint8_t(c), uint8_t(c >> 8)});
    uint8_t expected[32];
    SHA256(units.data(), units.size(), expected);
    Key32 key;
    PasswordKey(units.data(), units.size(), key);
    EXPECT_EQ(ToHex(key.bytes(), 32), ToHex(expected, 32));
}

// What the kernel says this processor has, as a second opinion on our reading of CPUID.
bool KernelListsCpuFlag(const std::string& flag) {
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuinfo, line);) {
        if (line.rfind("flags", 0) != 0) continue;
        std::istringstream words(line);
        for (std::string word; words >> word;)
            if (word == flag) return true;
        return false;
    }
    return false;
}

// The kernel's flags of the mapping that holds `p` ("rd wr ... lo dd"), from /proc/self/smaps.
std::string MappingFlags(const void* p) {
    std::ifstream smaps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        uintptr_t start = 0, end = 0;
        if (std::sscanf(line.c_str(), "%lx-%lx ", &start, &end) == 2)
            inside = start <= uintptr_t(p) && uintptr_t(p) < end;
        else if (inside && line.starts_with("VmFlags:"))
            return line + " ";
    }
    return "";
}

#ifdef __SANITIZE_ADDRESS__
constexpr bool kMlockWorks = false;  // the address sanitizer turns mlock into a call that does nothing
#else
constexpr bool kMlockWorks = true;
#endif

// Passwords, plaintext and keys: a store's session key, a copy of it and one moved from it.
TEST(SecureBytesTest, PagesStayOutOfDumpsAndAreLockedWithinTheLimit) {
    SecureBytes secret(3 * 4096 + 5, 0x5a);
    Key32 key, copy = key, moved = std::move(copy);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_MEMLOCK, &limit), 0);
    for (const uint8_t* p : {secret.data() + secret.size() - 1, key.bytes(), copy.bytes(), moved.bytes()}) {
        std::string flags = MappingFlags(p);
        EXPECT_NE(flags.find(" dd "), std::string::npos) << flags;
        EXPECT_TRUE(!kMlockWorks || limit.rlim_cur < 64 * 4096 || flags.find(" lo ") != std::string::npos)
            << flags;
    }
}

// Small buffers share pooled pages: a block given back is wiped whole, even unwiped by its owner, and lent
// again.
TEST(SecureBytesTest, PooledBlocksAreWipedBeforeTheyAreLentAgain) {
    auto* first = static_cast<uint8_t*>(SecureAllocate(100));
    std::memset(first, 0x5a, 100);
    SecureRelease(first, 100);
    auto* again = static_cast<uint8_t*>(SecureAllocate(128));
    EXPECT_EQ(again, first);
    EXPECT_EQ(std::count(again, again + 128, 0), 128);
    EXPECT_NE(MappingFlags(again).find(" dd "), std::string::npos);
    SecureRelease(again, 128);
}

TEST(CryptoPathTest, DefaultIsTheInstructionsTheProcessorHasUnlessForcedPortable) {
    const char* choice = std::getenv("TESSERA_CRYPTO");
    bool forced = choice != nullptr && std::string(choice) == "portable";
    EXPECT_EQ(HasAesInstructions(), KernelListsCpuFlag("aes"));
    EXPECT_EQ(HasShaInstructions(), KernelListsCpuFlag("sha_ni"));
    EXPECT_EQ(CAes256().Hardware(), !forced && HasAesInstructions());
    EXPECT_EQ(CSha256().Hardware(), !forced && HasShaInstructions());
}

}  // namespace
