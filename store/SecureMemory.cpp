#include "store/SecureMemory.h"

#include <sanitizer/asan_interface.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <array>
#include <mutex>
#include <new>
#include <type_traits>

#include "store/SecureBytes.h"

namespace {

size_t PageRounded(size_t n) {
    static const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    return (n + page - 1) / page * page;
}

void* LockedPages(size_t length) {
    void* p = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    madvise(p, length, MADV_DONTDUMP);
    mlock(p, length);  // over RLIMIT_MEMLOCK it fails; the pages still stay out of dumps
    return p;
}

// Small buffers come from locked chunks carved into blocks of one size class each, so that a record's
// many small buffers do not each cost an mmap, mlock, munlock and munmap. A block is wiped when it comes
// back, before it is lent again; the chunks stay locked for the life of the process.
class SmallBlockPool {
public:
    static constexpr size_t kSmallest = 32;
    static constexpr size_t kClasses = 8;  // 32 to 4096 bytes
    static constexpr size_t kChunk = 64 * 1024;

    // The class of an n-byte buffer, or kClasses when it is too big for the pool.
    static size_t ClassOf(size_t n) {
        size_t c = 0;
        while (c < kClasses && (kSmallest << c) < n) ++c;
        return c;
    }

    void* Take(size_t c) {
        std::lock_guard lock(mutex);
        if (!free[c]) Carve(c);
        Block* block = free[c];
        ASAN_UNPOISON_MEMORY_REGION(block, kSmallest << c);
        free[c] = block->next;
        block->next = nullptr;
        return block;
    }

    void Give(void* p, size_t c) {
        SecureZero(p, kSmallest << c);
        std::lock_guard lock(mutex);
        Push(p, c);
    }

private:
    struct Block {
        Block* next;
    };

    void Carve(size_t c) {
        auto* chunk = static_cast<uint8_t*>(LockedPages(kChunk));
        const size_t size = kSmallest << c;
        for (size_t at = kChunk; at >= size; at -= size) Push(chunk + at - size, c);
    }

    // A block on a free list is poisoned: under the address sanitizer a use after its release is caught.
    void Push(void* p, size_t c) {
        auto* block = static_cast<Block*>(p);
        block->next = free[c];
        free[c] = block;
        ASAN_POISON_MEMORY_REGION(block, kSmallest << c);
    }

    std::mutex mutex;
    std::array<Block*, kClasses> free{};
};

// Nothing to destroy: buffers freed after the static destructors have run still find it, and unloading
// the plug-in leaves no heap block behind.
static_assert(std::is_trivially_destructible_v<SmallBlockPool>);

SmallBlockPool& Pool() {
    static constinit SmallBlockPool pool;
    return pool;
}

}  // namespace

void* SecureAllocate(size_t n) {
    size_t c = SmallBlockPool::ClassOf(n);
    return c < SmallBlockPool::kClasses ? Pool().Take(c) : LockedPages(PageRounded(n));
}

void SecureRelease(void* p, size_t n) {
    if (!p) return;
    size_t c = SmallBlockPool::ClassOf(n);
    if (c < SmallBlockPool::kClasses) {
        Pool().Give(p, c);
    } else {
        munmap(p, PageRounded(n));  // unlocks as it unmaps
    }
}

void KeepSecretsFromDumps() {
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}
