#pragma once
// The bytes of a host options record: every host byte set to fill, the idle minutes in word 7.
#include <cstdint>
#include <vector>

inline std::vector<uint8_t> OptionsRecordBytes(uint32_t minutes, uint8_t fill) {
    std::vector<uint8_t> bytes(32, fill);
    for (int i = 0; i < 4; ++i) bytes[28 + i] = static_cast<uint8_t>(minutes >> (8 * i));
    return bytes;
}
