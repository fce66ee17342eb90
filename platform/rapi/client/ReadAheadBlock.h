#pragma once
// What the socket transport keeps of a file open for reading whose handle denies write sharing: the
// position its caller sees, and a block of the file fetched ahead of the reads. Nobody else can write such
// a file while the handle is open (the share table refuses every other writer), so a block stays true
// across seeks until the handle itself writes; small reads are served from it without asking the phone.
// A run of reads that goes on through the file fetches larger blocks as it goes.

#include <cstddef>
#include <cstdint>
#include <vector>

class ReadAheadBlock {
public:
    static constexpr uint32_t kFirstFetch = 64 * 1024;
    static constexpr uint32_t kLargestFetch = 1024 * 1024;

    int64_t Position() const { return position; }
    void MoveTo(int64_t next) { position = next; }

    // Whether the next count bytes from the position, or all there is of them, are in the block.
    bool Holds(uint32_t count) const;
    // How many bytes to fetch from the position for a read of count bytes.
    uint32_t FetchSize(uint32_t count);
    // Takes over the size bytes at offset in buffer, fetched from the position when `asked` were asked for
    // (fewer means that the file ends there), and leaves the old block's storage in buffer for reuse.
    void Fill(std::vector<uint8_t>& buffer, size_t offset, uint32_t size, uint32_t asked);
    // Copies up to count bytes from the position and moves past them; Holds(count) must be true.
    uint32_t Take(void* out, uint32_t count);
    // The handle wrote count bytes at the position: the block no longer tells the truth.
    void Wrote(uint32_t count);

private:
    int64_t End() const { return start + size; }

    int64_t position = 0;
    int64_t start = 0;
    std::vector<uint8_t> storage;
    size_t offset = 0;  // where the block's bytes begin in storage
    uint32_t size = 0;
    bool reachesEnd = false;  // the file ends where the block does
    uint32_t fetchSize = kFirstFetch;
};
