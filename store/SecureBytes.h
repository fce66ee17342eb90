#pragma once
// Buffers that hold keys, passwords or plaintext live on locked pages kept out of core dumps
// (SecureMemory.h) and are wiped before their memory is given back.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "store/SecureMemory.h"

// Overwrites n bytes in a way the optimiser may not remove: the empty statement after the memset tells the
// compiler that the bytes may be read, so the stores are not dead. A whole memset rather than a byte-wise
// volatile loop, because every record read wipes its buffers.
inline void SecureZero(void* p, size_t n) {
    if (n == 0) return;
    std::memset(p, 0, n);
    asm volatile("" : : "r"(p) : "memory");
}

template <typename T>
struct SecureAllocator {
    using value_type = T;
    SecureAllocator() = default;
    template <typename U>
    SecureAllocator(const SecureAllocator<U>&) {}
    T* allocate(size_t n) { return static_cast<T*>(SecureAllocate(n * sizeof(T))); }
    void deallocate(T* p, size_t n) {
        SecureZero(p, n * sizeof(T));
        SecureRelease(p, n * sizeof(T));
    }
    template <typename U>
    bool operator==(const SecureAllocator<U>&) const {
        return true;
    }
};

using Bytes = std::vector<uint8_t>;
using SecureBytes = std::vector<uint8_t, SecureAllocator<uint8_t>>;
