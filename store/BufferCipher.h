#pragma once
// Encrypted buffers: the plaintext is a little-endian u32 length n, the n data bytes and zero bytes up to a
// multiple of 16, encrypted with AES-256-CBC from a zero IV. Equal data under one key gives equal
// ciphertext.

#include <cstddef>
#include <cstdint>

#include "store/SecureBytes.h"

// A 256-bit key on a locked page of its own, out of core dumps, wiped when the key goes (SecureBytes). Copies
// get pages of their own; a move copies too, so no key is ever left without its bytes.
class Key32 {
public:
    static constexpr size_t kSize = 32;
    Key32() = default;
    Key32(const Key32&) = default;
    Key32& operator=(const Key32&) = default;
    uint8_t* bytes() { return page.data(); }
    const uint8_t* bytes() const { return page.data(); }

private:
    SecureBytes page = SecureBytes(kSize, 0);
};

// The encrypted size of n data bytes: 16 * ceil((n + 4) / 16), or 0 when n does not fit the length word.
size_t EncryptedLength(size_t n);

// On success `out` holds the EncryptedLength(n) bytes of ciphertext; on failure it is left as it was.
bool EncryptBuffer(const Key32& key, const uint8_t* data, size_t n, Bytes& out);

// Fails, leaving `out` as it was, when T is not a positive multiple of 16 or the decrypted length word is 0
// or larger than T - 4 (the usual sign of a wrong key). On success `out` holds the data bytes.
bool DecryptBuffer(const Key32& key, const uint8_t* buffer, size_t T, SecureBytes& out);

// The key of a password: SHA-256 of its UTF-16LE code units, without a terminator.
void PasswordKey(const uint8_t* passwordBytes, size_t length, Key32& key);
