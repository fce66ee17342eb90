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
