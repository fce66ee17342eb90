#pragma once
// Buffers that hold keys, passwords or plaintext are wiped before their memory is given back.

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

// Overwrites n bytes in a way the optimiser may not remove.
inline void SecureZero(void* p, size_t n) {
    volatile unsigned char* v = static_cast<volatile unsigned char*>(p);
    while (n--) *v++ = 0;
}

template <typename T>
struct SecureAllocator {
    using value_type = T;
    SecureAllocator() = default;
    template <typename U>
    SecureAllocator(const SecureAllocator<U>&) {}
    T* allocate(size_t n) { return static_cast<T*>(::operator new(n * sizeof(T))); }
    void deallocate(T* p, size_t n) {
        SecureZero(p, n * sizeof(T));
        ::operator delete(p);
    }
    template <typename U>
    bool operator==(const SecureAllocator<U>&) const { return true; }
};

using Bytes = std::vector<uint8_t>;
using SecureBytes = std::vector<uint8_t, SecureAllocator<uint8_t>>;
