#pragma once
// SHA-256 (FIPS 180-2), on the processor's SHA extensions where the path allows and the processor has them,
// else on portable code; both give the same digest.

#include <cstddef>
#include <cstdint>

#include "store/CryptoPath.h"

class CSha256 {
public:
    explicit CSha256(CryptoPath path = DefaultCryptoPath());
    ~CSha256();
    CSha256(const CSha256&) = delete;
    CSha256& operator=(const CSha256&) = delete;

    void Start();
    void Add(const void* data, size_t n);
    // Writes the digest and wipes the context: Start() it again before reusing it.
    void Finish(uint8_t digest[32]);

    // Whether this object runs on the SHA extensions.
    bool Hardware() const;

private:
    using Compression = void (*)(uint32_t state[8], const uint8_t* block, size_t blockCount);

    Compression compress;
    uint32_t state[8];
    uint64_t byteCount;
    uint8_t buffer[64];  // the partial block not yet compressed
};

// On the default path.
void Sha256(const void* data, size_t n, uint8_t digest[32]);
