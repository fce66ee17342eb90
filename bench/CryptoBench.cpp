// Throughput of the store's primitives beside the baselines: OpenSSL's libcrypto for AES-256-CBC and
// SHA-256, zlib for the CRC. Each case runs on a 1 KiB and a 1 MiB buffer. Ours take the default path and
// OpenSSL its own choice, so one run compares the processor's instructions on both sides, and
//   TESSERA_CRYPTO=portable OPENSSL_ia32cap='~0x200000200000000:~0x20000000' bench_crypto
// compares the portable code with OpenSSL's code without AES-NI, PCLMULQDQ and the SHA extensions.

#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <openssl/sha.h>
#include <zlib.h>

#include <cstdlib>

#include "RatioReporter.h"
#include "store/Aes256.h"
#include "store/FileCrc.h"
#include "store/SecureBytes.h"
#include "store/Sha256.h"

namespace {

const uint8_t kKey[32] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                          17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32};
const uint8_t kIv[16] = {};

Bytes Input(benchmark::State& state) {
    return Bytes(size_t(state.range(0)), 0x5a);
}

void Count(benchmark::State& state) {
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}

void LabelOpenSsl(benchmark::State& state) {
    const char* capabilities = std::getenv("OPENSSL_ia32cap");
    state.SetLabel(capabilities ? std::string("OPENSSL_ia32cap=") + capabilities : "OpenSSL's choice");
}

void AesCbc(benchmark::State& state, CAes256::Direction direction) {
    Bytes in = Input(state), out(in.size());
    CAes256 aes;
    aes.SetKey(kKey, direction);
    for (auto _ : state) {
        size_t bits = direction == CAes256::Encrypt ? aes.EncryptCbc(kIv, in.data(), out.data(), in.size())
                                                    : aes.DecryptCbc(kIv, in.data(), out.data(), in.size());
        benchmark::DoNotOptimize(bits);
        benchmark::DoNotOptimize(out.data());
    }
    Count(state);
    state.SetLabel(aes.Hardware() ? "AES-NI" : "portable");
}

void OpenSslAesCbc(benchmark::State& state, int encrypt) {
    Bytes in = Input(state), out(in.size());
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    EVP_CipherInit_ex(ctx, EVP_aes_256_cbc(), nullptr, kKey, kIv, encrypt);
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    for (auto _ : state) {
        int written = 0;
        EVP_CipherUpdate(ctx, out.data(), &written, in.data(), int(in.size()));
        benchmark::DoNotOptimize(written);
        benchmark::DoNotOptimize(out.data());
    }
    EVP_CIPHER_CTX_free(ctx);
    Count(state);
    LabelOpenSsl(state);
}

void AesEncrypt(benchmark::State& state) {
    AesCbc(state, CAes256::Encrypt);
}
void AesDecrypt(benchmark::State& state) {
    AesCbc(state, CAes256::Decrypt);
}
void OpenSslAesEncrypt(benchmark::State& state) {
    OpenSslAesCbc(state, 1);
}
void OpenSslAesDecrypt(benchmark::State& state) {
    OpenSslAesCbc(state, 0);
}

void Sha256Digest(benchmark::State& state) {
    Bytes in = Input(state);
    uint8_t digest[32];
    for (auto _ : state) {
        Sha256(in.data(), in.size(), digest);
        benchmark::DoNotOptimize(digest);
    }
    Count(state);
    state.SetLabel(CSha256().Hardware() ? "SHA-NI" : "portable");
}

void OpenSslSha256(benchmark::State& state) {
    Bytes in = Input(state);
    uint8_t digest[32];
    for (auto _ : state) {
        SHA256(in.data(), in.size(), digest);
        benchmark::DoNotOptimize(digest);
    }
    Count(state);
    LabelOpenSsl(state);
}

void FileCrcChecksum(benchmark::State& state) {
    Bytes in = Input(state);
    for (auto _ : state) benchmark::DoNotOptimize(FileCrc(in.data(), in.size()));
    Count(state);
}

void ZlibCrc32(benchmark::State& state) {
    Bytes in = Input(state);
    for (auto _ : state) benchmark::DoNotOptimize(crc32(0, in.data(), uInt(in.size())));
    Count(state);
}

constexpr int64_t kSmall = 1 << 10;
constexpr int64_t kLarge = 1 << 20;

BENCHMARK(AesEncrypt)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(OpenSslAesEncrypt)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(AesDecrypt)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(OpenSslAesDecrypt)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(Sha256Digest)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(OpenSslSha256)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(FileCrcChecksum)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(ZlibCrc32)->Arg(kSmall)->Arg(kLarge);

}  // namespace

// Our speed relative to the baseline's is its time divided by ours; each case runs on one thread.
int main(int argc, char** argv) {
    std::vector<RatioReporter::Pair> pairs;
    for (const char* size : {"/1024", "/1048576"}) {
        for (auto [ours, theirs] : {std::pair{"AesEncrypt", "OpenSslAesEncrypt"},
                                    {"AesDecrypt", "OpenSslAesDecrypt"},
                                    {"Sha256Digest", "OpenSslSha256"},
                                    {"FileCrcChecksum", "ZlibCrc32"}})
            pairs.emplace_back(theirs + std::string(size), ours + std::string(size));
    }
    RatioReporter reporter("Our speed relative to the baseline's (its CPU time / ours):", pairs,
                           RatioReporter::CpuTime);
    return RunWithRatios(argc, argv, reporter);
}
