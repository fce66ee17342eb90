#include "phone/NewStoreFile.h"

#include <cstring>
#include <random>

#include "phone/HostFile.h"
#include "platform/SystemTime.h"
#include "store/BufferCipher.h"
#include "platform/ByteOrder.h"
#include "store/FileCrc.h"
#include "store/Sha256.h"
#include "store/TesseraEncryptedLinkList.h"

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
    Bytes bytes(CTesseraEncryptedLinkList::kHeaderSize, 0);
    std::memcpy(bytes.data(), CTesseraEncryptedLinkList::kSignature,
                sizeof CTesseraEncryptedLinkList::kSignature);
    uint8_t* p = PutU32(bytes.data() + 32, static_cast<uint32_t>(kind));
    for (uint32_t word : CTesseraEncryptedLinkList::kMinimumVersion) p = PutU32(p, word);
    StoreTime(GetSystemTimeUtc(), p);
    Bytes section;
    if (!PasswordSection(password, passwordLength, section)) {
        error = "out of memory";
        return false;
    }
    bytes.insert(bytes.end(), section.begin(), section.end());
    PutU32(bytes.data() + 68, FileCrc(bytes.data() + 72, bytes.size() - 72));
    return WriteNewFile(file, bytes.data(), bytes.size(), error);
}
