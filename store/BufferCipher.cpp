#include "store/BufferCipher.h"

#include <cstring>
#include <new>
#include <stdexcept>

#include "store/Aes256.h"
#include "platform/ByteOrder.h"
#include "store/Sha256.h"

namespace {

constexpr size_t kLengthWordSize = 4;
constexpr uint8_t kZeroIv[16] = {};

}  // namespace

size_t EncryptedLength(size_t n) {
    if (n > UINT32_MAX || n > SIZE_MAX - kLengthWordSize - 15) return 0;
    return (n + kLengthWordSize + 15) / 16 * 16;
}

bool EncryptBuffer(const Key32& key, const uint8_t* data, size_t n, Bytes& out) {
    size_t total = EncryptedLength(n);
    CAes256 aes;
    if (total == 0 || !aes.SetKey(key.bytes(), CAes256::Encrypt)) return false;
    try {
        SecureBytes plain(total, 0);
        PutU32(plain.data(), uint32_t(n));
        if (n > 0) std::memcpy(plain.data() + kLengthWordSize, data, n);
        Bytes cipher(total);
        if (aes.EncryptCbc(kZeroIv, plain.data(), cipher.data(), total) != total * 8) return false;
        out.swap(cipher);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool DecryptBuffer(const Key32& key, const uint8_t* buffer, size_t T, SecureBytes& out) {
    if (T == 0 || T % 16 != 0) return false;
    CAes256 aes;
    if (!aes.SetKey(key.bytes(), CAes256::Decrypt)) return false;
    try {
        SecureBytes plain(T);
        if (aes.DecryptCbc(kZeroIv, buffer, plain.data(), T) != T * 8) return false;
        uint32_t n = GetU32(plain.data());
        if (n == 0 || n > T - kLengthWordSize) return false;
        // In place: the allocation, all of which is wiped when freed, still holds the padding.
        plain.erase(plain.begin(), plain.begin() + kLengthWordSize);
        plain.resize(n);
        out.swap(plain);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {  // a T beyond what a vector can hold
        return false;
    }
}

void PasswordKey(const uint8_t* passwordBytes, size_t length, Key32& key) {
    Sha256(passwordBytes, length, key.bytes());
}
