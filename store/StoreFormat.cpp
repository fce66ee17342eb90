#include "store/StoreFormat.h"

#include <cstring>

#include "platform/ByteOrder.h"
#include "store/FileCrc.h"

void EncodeStoreHeader(uint8_t* header, uint32_t type, const StoreVersion& version, const SYSTEMTIME& time) {
    std::memset(header, 0, kStoreHeaderSize);
    std::memcpy(header, kStoreSignature, sizeof kStoreSignature);
    PutU32(header + kStoreTypeOffset, type);
    uint8_t* p = header + kStoreVersionOffset;
    for (uint32_t word : version) p = PutU32(p, word);
    SetStoreHeaderTime(header, time);
}

uint32_t StoreHeaderType(const uint8_t* header) {
    return GetU32(header + kStoreTypeOffset);
}

StoreVersion StoreHeaderVersion(const uint8_t* header) {
    StoreVersion version;
    for (size_t i = 0; i < version.size(); ++i) version[i] = GetU32(header + kStoreVersionOffset + 4 * i);
    return version;
}

SYSTEMTIME StoreHeaderTime(const uint8_t* header) {
    return LoadTime(header + kStoreTimeOffset);
}

void SetStoreHeaderTime(uint8_t* header, const SYSTEMTIME& time) {
    StoreTime(time, header + kStoreTimeOffset);
}

uint32_t StoreHeaderChecksum(const uint8_t* header) {
    return GetU32(header + kStoreChecksumOffset);
}

void SetStoreHeaderChecksum(uint8_t* header, uint32_t checksum) {
    PutU32(header + kStoreChecksumOffset, checksum);
}

void SealStoreFile(uint8_t* file, size_t size) {
    SetStoreHeaderChecksum(file, FileCrc(file + kStoreHeaderSize, size - kStoreHeaderSize));
}

void EncodeRecordHead(const RecordHead& head, uint8_t* out) {
    PutU32(PutU32(PutU32(PutU32(out, head.deleted), head.id), head.offset), head.length);
}

RecordHead DecodeRecordHead(const uint8_t* in) {
    return {GetU32(in), GetU32(in + 4), GetU32(in + 8), GetU32(in + 12)};
}
