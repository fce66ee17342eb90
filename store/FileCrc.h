#pragma once
// The store's checksum: reflected CRC-32 (polynomial 0xEDB88320) whose register starts at 0xFFFFFFFF and is
// not inverted at the end, so a result is the complement of the usual CRC-32. Feed it in pieces by passing
// each result on as the next register.

#include <cstddef>
#include <cstdint>

constexpr uint32_t kFileCrcStart = 0xFFFFFFFFu;

uint32_t FileCrcUpdate(uint32_t reg, const void* data, size_t n);

inline uint32_t FileCrc(const void* data, size_t n) {
    return FileCrcUpdate(kFileCrcStart, data, n);
}

// The register after n zero bytes are fed to reg, in time logarithmic in n: the checksum is linear in
// the register and the data together, as zlib's crc32_combine uses.
uint32_t FileCrcZeros(uint32_t reg, uint64_t n);

// The checksum of A followed by B, from the checksums of A and of B and B's length.
inline uint32_t FileCrcCombine(uint32_t crcA, uint32_t crcB, uint64_t lengthB) {
    return FileCrcZeros(crcA ^ kFileCrcStart, lengthB) ^ crcB;
}

// The checksum of a message of `total` bytes after the n bytes at `at` changed from `before` to `after`.
uint32_t FileCrcPatch(uint32_t crc, uint64_t total, uint64_t at, const uint8_t* before, const uint8_t* after,
                      size_t n);
