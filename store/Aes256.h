#pragma once
// AES-256 (FIPS-197, 14 rounds) and its CBC mode (SP 800-38A). An object holds the key schedule of one
// direction. It runs on the processor's AES instructions where the path allows and the processor has them,
// else on the portable table code; both give the same bytes.

#include <cstddef>
#include <cstdint>

#include "store/CryptoPath.h"

class CAes256 {
public:
    enum Direction { Encrypt, Decrypt };

    explicit CAes256(CryptoPath path = DefaultCryptoPath());
    ~CAes256();
    CAes256(const CAes256&) = delete;
    CAes256& operator=(const CAes256&) = delete;

    // The key goes through its text form (64 hex digits) and back; the AES key is the 32 bytes themselves.
    bool SetKey(const uint8_t key[32], Direction direction);
    // Exactly 64 hex digits of either case. On failure no key is set.
    bool SetKeyFromHex(const char* hex64, Direction direction);

    // One block each; the key must be set for that direction.
    void EncryptBlock(const uint8_t in[16], uint8_t out[16]) const;
    void DecryptBlock(const uint8_t in[16], uint8_t out[16]) const;

    // CBC over len bytes; in and out may be the same buffer. Give the number of bits processed, or 0 when
    // len is not a multiple of 16 or the key is not set for that direction.
    size_t EncryptCbc(const uint8_t iv[16], const uint8_t* in, uint8_t* out, size_t len) const;
    size_t DecryptCbc(const uint8_t iv[16], const uint8_t* in, uint8_t* out, size_t len) const;

    // Whether this object runs on the AES instructions.
    bool Hardware() const { return hardware; }

private:
    bool Ready(Direction wanted, size_t len) const;
    void ExpandSchedule(const uint8_t key[32], Direction direction);
    // CBC on this object's path, without the checks.
    void Cbc(Direction which, const uint8_t iv[16], const uint8_t* in, uint8_t* out, size_t len) const;

    // 15 round keys of 4 little-endian words, which in memory is the byte order the AES instructions use.
    alignas(16) uint32_t roundKeys[60] = {};
    bool hardware;
    bool keySet = false;
    Direction direction = Encrypt;
};
