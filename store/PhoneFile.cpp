#include "store/PhoneFile.h"

#include "platform/rapi/client/TurnTaking.h"

bool PhoneFile::Open(const std::u16string& path, DWORD access) {
    Close();
    handle = OpenWithoutSharing(path.c_str(), access, OPEN_EXISTING);
    openError = handle == INVALID_HANDLE_VALUE ? CeGetLastError() : ERROR_SUCCESS;
    return handle != INVALID_HANDLE_VALUE;
}

int64_t PhoneFile::Read(void* buffer, uint32_t n) {
    DWORD done = 0;
    if (!CeReadFile(handle, buffer, n, &done, nullptr) || done > n) return -1;
    return done;
}

bool PhoneFile::WriteExact(const void* buffer, uint32_t n) {
    DWORD done = 0;
    return CeWriteFile(handle, buffer, n, &done, nullptr) && done == n;
}

bool PhoneFile::Seek(uint32_t offsetFromStart) {
    LONG high = 0;
    DWORD low = CeSetFilePointer(handle, static_cast<LONG>(offsetFromStart), &high, FILE_BEGIN);
    return low == offsetFromStart && high == 0;
}

bool PhoneFile::Size(uint32_t& size) {
    DWORD high = 0;
    DWORD low = CeGetFileSize(handle, &high);
    if ((low == INVALID_FILE_SIZE && CeGetLastError() != ERROR_SUCCESS) || high != 0) return false;
    size = low;
    return true;
}

void PhoneFile::Close() {
    if (handle == INVALID_HANDLE_VALUE) return;
    CeCloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
}
