#pragma once
// AES-256 on the processor's AES instructions, for CAes256. The schedule is CAes256's: 15 round keys of 16
// bytes in the standard byte order, for decryption those of the equivalent inverse cipher. Call these only
// where HasAesInstructions() holds. They take the same time whatever the key and data.

#include <cstddef>
#include <cstdint>

void AesNiExpandKey(const uint8_t key[32], uint8_t schedule[240]);
// Turns an encryption schedule into the decryption schedule of the same key.
void AesNiInvertSchedule(uint8_t schedule[240]);

// CBC over len bytes, a multiple of 16; in and out may be the same buffer.
void AesNiEncryptCbc(const uint8_t schedule[240], const uint8_t iv[16], const uint8_t* in, uint8_t* out,
                     size_t len);
void AesNiDecryptCbc(const uint8_t schedule[240], const uint8_t iv[16], const uint8_t* in, uint8_t* out,
                     size_t len);
