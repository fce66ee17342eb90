#pragma once
// One open file on the phone, reached through the Ce* calls; closed once, by Close or on scope exit.

#include <cstdint>
#include <string>

#include "platform/rapi/api/Rapi.h"

class PhoneFile {
public:
    PhoneFile() = default;
    ~PhoneFile() { Close(); }
    PhoneFile(const PhoneFile&) = delete;
    PhoneFile& operator=(const PhoneFile&) = delete;

    // Opens an existing file without sharing, for GENERIC_READ or GENERIC_READ | GENERIC_WRITE, waiting
    // its turn while another program holds it.
    bool Open(const std::u16string& path, DWORD access);
    // Reads up to n bytes; the count read, or -1 when the read fails.
    int64_t Read(void* buffer, uint32_t n);
    bool ReadExact(void* buffer, uint32_t n) { return Read(buffer, n) == n; }
    bool WriteExact(const void* buffer, uint32_t n);
    bool Seek(uint32_t offsetFromStart);
    bool Size(uint32_t& size);
    void Close();
    // Why Open failed.
    DWORD LastError() const { return openError; }

private:
    HANDLE handle = INVALID_HANDLE_VALUE;
    DWORD openError = ERROR_SUCCESS;
};
