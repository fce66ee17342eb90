#pragma once
// The frames of the phone link (docs/phone-link.md). A frame is an 8-byte header, the body's length and the
// operation as little-endian 32-bit words, then a body of little-endian values. Readers check every count
// against the bytes that are there, and against the link's limits, before they allocate or copy anything.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rapi/api/Rapi.h"
#include "platform/rapi/api/RapiOp.h"

inline constexpr uint32_t kLinkMagic = 0x4B4E4C54;  // "TLNK" in the Hello frame
inline constexpr uint32_t kLinkVersion = 1;
inline constexpr size_t kFrameHeaderSize = 8;
// The most bytes one frame reads or writes; larger calls travel in several frames.
inline constexpr uint32_t kMaxTransfer = 1u << 20;
inline constexpr uint32_t kMaxFrameBody = kMaxTransfer + 64;
inline constexpr uint32_t kMaxPathUnits = MAX_PATH;
inline constexpr uint32_t kMaxVersionUnits = 31;
inline constexpr uint64_t kWireNoHandle = UINT64_MAX;  // INVALID_HANDLE_VALUE
inline constexpr int64_t kWireHere = -1;               // "where the handle stands" instead of a position

// The frame operations: Hello (0), the session operations in RapiOp's order (1 to 18), then Bye.
enum class WireOp : uint32_t { Hello, TESSERA_RAPI_OPERATIONS(TESSERA_RAPI_ENUMERATOR) Bye };
static_assert(static_cast<uint32_t>(WireOp::CloseApp) == 18);
inline constexpr uint32_t kWireOpCount = static_cast<uint32_t>(WireOp::Bye) + 1;

// Flags of a RegQueryValue request: which of the caller's pointers were given.
inline constexpr uint8_t kWantType = 1;
inline constexpr uint8_t kWantData = 2;
inline constexpr uint8_t kWantDataSize = 4;

// Builds one whole frame, header included, ready to send.
class WireWriter {
public:
    explicit WireWriter(WireOp op);
    // Starts another frame in the same storage, which keeps its capacity.
    void Reset(WireOp next);

    void U8(uint8_t value) { *Grow(1) = value; }
    void U32(uint32_t value);
    void U64(uint64_t value);
    void I64(int64_t value) { U64(static_cast<uint64_t>(value)); }
    void Handle(const void* handle) { U64(reinterpret_cast<uintptr_t>(handle)); }
    void Raw(const void* data, size_t size);
    // A u32 count, then that many bytes.
    void Blob(const void* data, size_t size);
    // A blob of at most size bytes that the caller writes in place; EndBlob tells how many it wrote, and
    // comes before anything else is added.
    uint8_t* BlobRoom(size_t size);
    void EndBlob(size_t filled);
    // A u32 count of UTF-16 units, then the units.
    void Text(std::u16string_view text);
    // Overwrites a u32 written earlier, at that offset into the body.
    void PatchU32(size_t bodyOffset, uint32_t value);

    WireOp Op() const { return op; }
    size_t BodySize() const { return used - kFrameHeaderSize; }
    // The frame with its header filled in.
    std::span<const uint8_t> Frame();

private:
    // Room for size more bytes. Storage once grown stays, so that a writer used again fills it anew
    // without clearing it first.
    uint8_t* Grow(size_t size);

    WireOp op;
    std::vector<uint8_t> bytes;
    size_t used = kFrameHeaderSize;
    size_t blobStart = 0;
};

// Reads the values of one body. A read past the end, or over a limit, fails the reader: it gives zeros and
// empty values from then on, and Done() is false.
class WireReader {
public:
    explicit WireReader(std::span<const uint8_t> body) : body(body) {}

    uint8_t U8();
    uint32_t U32();
    uint64_t U64();
    int64_t I64() { return static_cast<int64_t>(U64()); }
    HANDLE Handle() { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(U64())); }
    std::span<const uint8_t> Raw(size_t size);
    std::span<const uint8_t> Blob(size_t maxSize);
    std::u16string Text(size_t maxUnits);
    void Fail() { ok = false; }

    // Whether every read succeeded and the whole body was read.
    bool Done() const { return ok && at == body.size(); }

private:
    uint64_t Little(size_t size);

    std::span<const uint8_t> body;
    size_t at = 0;
    bool ok = true;
};

struct FrameHeader {
    uint32_t length = 0;
    uint32_t op = 0;
};
FrameHeader ParseFrameHeader(const uint8_t* header);
