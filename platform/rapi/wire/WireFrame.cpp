#include "platform/rapi/wire/WireFrame.h"

#include <algorithm>
#include <cstring>

namespace {

uint32_t GetU32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void PutLittle(uint8_t* out, uint64_t value, size_t size) {
    for (size_t i = 0; i < size; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

WireWriter::WireWriter(WireOp op) : op(op), bytes(kFrameHeaderSize, 0) {}

void WireWriter::Reset(WireOp next) {
    op = next;
    used = kFrameHeaderSize;
}

uint8_t* WireWriter::Grow(size_t size) {
    if (bytes.size() < used + size) bytes.resize(std::max(used + size, 2 * bytes.size()));
    uint8_t* room = bytes.data() + used;
    used += size;
    return room;
}

void WireWriter::U32(uint32_t value) {
    PutLittle(Grow(4), value, 4);
}

void WireWriter::U64(uint64_t value) {
    PutLittle(Grow(8), value, 8);
}

void WireWriter::Raw(const void* data, size_t size) {
    if (size > 0) std::memcpy(Grow(size), data, size);
}

void WireWriter::Blob(const void* data, size_t size) {
    U32(static_cast<uint32_t>(size));
    Raw(data, size);
}

uint8_t* WireWriter::BlobRoom(size_t size) {
    blobStart = used;
    U32(static_cast<uint32_t>(size));
    return Grow(size);
}

void WireWriter::EndBlob(size_t filled) {
    used = blobStart + 4 + filled;
    PutLittle(bytes.data() + blobStart, filled, 4);
}

void WireWriter::Text(std::u16string_view text) {
    U32(static_cast<uint32_t>(text.size()));
    uint8_t* out = Grow(2 * text.size());
    for (size_t i = 0; i < text.size(); ++i) PutLittle(out + 2 * i, text[i], 2);
}

void WireWriter::PatchU32(size_t bodyOffset, uint32_t value) {
    PutLittle(bytes.data() + kFrameHeaderSize + bodyOffset, value, 4);
}

std::span<const uint8_t> WireWriter::Frame() {
    PutLittle(bytes.data(), BodySize(), 4);
    PutLittle(bytes.data() + 4, static_cast<uint32_t>(op), 4);
    return {bytes.data(), used};
}

uint64_t WireReader::Little(size_t size) {
    std::span<const uint8_t> bytes = Raw(size);
    uint64_t value = 0;
    for (size_t i = 0; i < bytes.size(); ++i) value |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    return value;
}

uint8_t WireReader::U8() {
    return static_cast<uint8_t>(Little(1));
}

uint32_t WireReader::U32() {
    return static_cast<uint32_t>(Little(4));
}

uint64_t WireReader::U64() {
    return Little(8);
}

std::span<const uint8_t> WireReader::Raw(size_t size) {
    if (!ok || size > body.size() - at) {
        ok = false;
        return {};
    }
    std::span<const uint8_t> bytes = body.subspan(at, size);
    at += size;
    return bytes;
}

std::span<const uint8_t> WireReader::Blob(size_t maxSize) {
    uint32_t size = U32();
    if (size > maxSize) ok = false;
    return Raw(size);
}

std::u16string WireReader::Text(size_t maxUnits) {
    uint32_t units = U32();
    // Checked before the string is allocated: the count must fit the limit and the body.
    if (units > maxUnits) ok = false;
    std::span<const uint8_t> bytes = Raw(size_t{units} * 2);
    std::u16string text(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return text;
}

FrameHeader ParseFrameHeader(const uint8_t* header) {
    return {GetU32(header), GetU32(header + 4)};
}
