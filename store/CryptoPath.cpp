#include "store/CryptoPath.h"

#include <cstdlib>
#include <string_view>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace {

struct CpuCrypto {
    bool aes = false;
    bool sha = false;
};

CpuCrypto Detect() {
    CpuCrypto cpu;
#if defined(__x86_64__) || defined(__i386__)
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return cpu;
    bool sse = (c & bit_SSSE3) && (c & bit_SSE4_1);
    cpu.aes = sse && (c & bit_AES);
    if (__get_cpuid_count(7, 0, &a, &b, &c, &d)) cpu.sha = sse && (b & bit_SHA);
#endif
    return cpu;
}

const CpuCrypto& ThisCpu() {
    static const CpuCrypto cpu = Detect();
    return cpu;
}

}  // namespace

CryptoPath DefaultCryptoPath() {
    static const CryptoPath path = [] {
        const char* choice = std::getenv("TESSERA_CRYPTO");
        return choice && std::string_view(choice) == "portable" ? CryptoPath::Portable : CryptoPath::Hardware;
    }();
    return path;
}

bool HasAesInstructions() {
    return ThisCpu().aes;
}

bool HasShaInstructions() {
    return ThisCpu().sha;
}
