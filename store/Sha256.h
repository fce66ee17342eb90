#pragma once
// SHA-256 (FIPS 180-2).

#include <cstddef>
#include <cstdint>

class CSha256 {
public:
    CSha256();
    ~CSha256();
    CSha256(const CSha256&) = delete;
    CSha256& operator=(const CSha256&) = delete;

    void Start();
    void Add(const void* data, size_t n);
    // Writes the digest and wipes the context: Start() it again before reusing it.
    void Finish(uint8_t digest[32]);

private:
    uint32_t state[8];
    uint64_t byteCount;
    uint8_t buffer[64];  // the partial block not yet compressed
};

void Sha256(const void* data, size_t n, uint8_t digest[32]);
