#include "platform/rapi/client/ReadAheadBlock.h"

#include <algorithm>
#include <cstring>

bool ReadAheadBlock::Holds(uint32_t count) const {
    return position >= start && (reachesEnd || position + count <= End());
}

uint32_t ReadAheadBlock::FetchSize(uint32_t count) {
    bool goesOn = size > 0 && position >= start && position <= End();
    fetchSize = goesOn ? std::min(fetchSize * 2, kLargestFetch) : kFirstFetch;
    return std::max(count, fetchSize);
}

void ReadAheadBlock::Fill(std::vector<uint8_t>& buffer, size_t bytesAt, uint32_t count, uint32_t asked) {
    storage.swap(buffer);
    start = position;
    offset = bytesAt;
    size = count;
    reachesEnd = count < asked;
}

uint32_t ReadAheadBlock::Take(void* out, uint32_t count) {
    int64_t available = std::max<int64_t>(End() - position, 0);
    uint32_t taken = static_cast<uint32_t>(std::min<int64_t>(count, available));
    if (taken > 0) std::memcpy(out, storage.data() + offset + (position - start), taken);
    position += taken;
    return taken;
}

void ReadAheadBlock::Wrote(uint32_t count) {
    size = 0;
    reachesEnd = false;
    position += count;
}
