#pragma once
// SHA-256's compression function on the processor's SHA extensions, for CSha256. Call it only where
// HasShaInstructions() holds.

#include <cstddef>
#include <cstdint>

// Compresses blockCount 64-byte blocks into state (the words a..h).
void ShaNiCompress(uint32_t state[8], const uint8_t* block, size_t blockCount);
