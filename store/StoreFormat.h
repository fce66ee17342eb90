#pragma once
// The store file's layout, in one place: the 72-byte header, the 16-byte record head and the file
// types. Every other file reaches these bytes through the names and helpers here.

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/SystemTime.h"

// The header's type word.
constexpr uint32_t kWalletFileType = 0;     // Tessera.dat: the cards
constexpr uint32_t kTemplatesFileType = 1;  // Templates.dat: the templates and the category record

// The header.
constexpr char kStoreSignature[] = "Quillmark Tessera";  // compared with its NUL; the rest of 32 bytes free
constexpr uint32_t kStoreTypeOffset = 32;
constexpr uint32_t kStoreVersionOffset = 36;  // four words
constexpr uint32_t kStoreTimeOffset = 52;     // the time of the last change, UTC
constexpr uint32_t kStoreChecksumOffset = 68;
constexpr uint32_t kStoreHeaderSize = 72;  // the checksum covers every byte from here to the end

using StoreVersion = std::array<uint32_t, 4>;
constexpr StoreVersion kStoreMinimumVersion = {1, 0, 0, 0};

// A header with the signature, type, version and time, and checksum 0.
void EncodeStoreHeader(uint8_t* header, uint32_t type, const StoreVersion& version, const SYSTEMTIME& time);
uint32_t StoreHeaderType(const uint8_t* header);
StoreVersion StoreHeaderVersion(const uint8_t* header);
SYSTEMTIME StoreHeaderTime(const uint8_t* header);
void SetStoreHeaderTime(uint8_t* header, const SYSTEMTIME& time);
uint32_t StoreHeaderChecksum(const uint8_t* header);
void SetStoreHeaderChecksum(uint8_t* header, uint32_t checksum);
// Sets the checksum of a whole file held in memory to the one over everything after its header.
void SealStoreFile(uint8_t* file, size_t size);

// The record head: deleted:u32 id:u32 offset:u32 n:u32, then n bytes of ciphertext.
constexpr uint32_t kRecordHeadSize = 16;
constexpr uint32_t kRecordDeletedOffset = 0;  // the deleted word, from the record's start
constexpr uint32_t kRecordLive = 0;
constexpr uint32_t kRecordDeleted = 1;  // what the store writes; any value but 0 reads as deleted
constexpr uint32_t kCategoryRecordId = 0xFFFFFFFFu;  // the templates file's single category record

struct RecordHead {
    uint32_t deleted = kRecordLive;
    uint32_t id = 0;
    uint32_t offset = 0;  // the record's own position, written but never trusted on reading
    uint32_t length = 0;
};

void EncodeRecordHead(const RecordHead& head, uint8_t* out);
RecordHead DecodeRecordHead(const uint8_t* in);
