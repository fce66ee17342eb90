#pragma once
// Which code runs the ciphers: the processor's AES and SHA instructions where it has them, else the portable
// table code. TESSERA_CRYPTO=portable in the environment forces the portable code everywhere; it is read
// once, so that tests and benchmarks can cover both paths on any machine.

enum class CryptoPath { Portable, Hardware };

#if defined(__x86_64__) || defined(__i386__)
inline constexpr bool kCryptoInstructionsBuilt = true;
#else
inline constexpr bool kCryptoInstructionsBuilt = false;  // only the portable code exists here
#endif

// The path that objects take when none is given.
CryptoPath DefaultCryptoPath();

// Whether this processor has AES-NI, and the SHA extensions, with the SSE levels our code around them uses.
bool HasAesInstructions();
bool HasShaInstructions();
