#include "store/SecureMemory.h"

#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <new>

namespace {

size_t PageRounded(size_t n) {
    static const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    return (n + page - 1) / page * page;
}

}  // namespace

void* SecureAllocate(size_t n) {
    size_t length = PageRounded(n == 0 ? 1 : n);
    void* p = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    madvise(p, length, MADV_DONTDUMP);
    mlock(p, length);  // over RLIMIT_MEMLOCK it fails; the pages still stay out of dumps
    return p;
}

void SecureRelease(void* p, size_t n) {
    if (p) munmap(p, PageRounded(n == 0 ? 1 : n));  // unlocks as it unmaps
}

void KeepSecretsFromDumps() {
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}
