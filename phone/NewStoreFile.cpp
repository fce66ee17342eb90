#include "phone/NewStoreFile.h"

#include <random>

#include "platform/ByteOrder.h"
#include "platform/SystemTime.h"
#include "platform/rapi/phone/HostFile.h"
#include "store/BufferCipher.h"
#include "store/Sha256.h"
#include "store/StoreFormat.h"

namespace {

// The password block's plaintext: its first byte k, k - 1 random bytes the check skips, then the
// random bytes whose digest is the password hash.
constexpr size_t kVerifierSkip = 16;
constexpr size_t kVerifierSize = 32;

bool PasswordSection(const uint8_t* password, size_t length, Bytes& section) {
    SecureBytes plain(kVerifierSkip + kVerifierSize);
    std::random_device random;
    for (auto& b : plain) b = static_cast<uint8_t>(random());
    plain[0] = kVerifierSkip;
    Key32 key;
    PasswordKey(password, length, key);
    Bytes block;
    if (!EncryptBuffer(key, plain.data(), plain.size(), block)) return false;
    section.resize(4);
    PutU32(section.data(), static_cast<uint32_t>(block.size()));
    section.insert(section.end(), block.begin(), block.end());
    uint8_t hash[32];
    Sha256(plain.data() + kVerifierSkip, plain.size() - kVerifierSkip, hash);
    section.insert(section.end(), hash, hash + sizeof hash);
    return true;
}

}  // namespace

bool CreateStoreFile(const std::filesystem::path& file, StoreKind kind, const uint8_t* password,
                     size_t passwordLength, std::string& error) {
    if (!password || passwordLength == 0) {
        error = "the password is empty";
        return false;
    }
    Bytes bytes(kStoreHeaderSize, 0);
    EncodeStoreHeader(bytes.data(), static_cast<uint32_t>(kind), kStoreMinimumVersion, GetSystemTimeUtc());
    Bytes section;
    if (!PasswordSection(password, passwordLength, section)) {
        error = "out of memory";
        return false;
    }
    bytes.insert(bytes.end(), section.begin(), section.end());
    SealStoreFile(bytes.data(), bytes.size());
    return WriteNewFile(file, bytes.data(), bytes.size(), error);
}
