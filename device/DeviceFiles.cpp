#include "device/DeviceFiles.h"

#include <chrono>
#include <string>
#include <thread>

#include "platform/rapi/client/TurnTaking.h"
#include "store/SecureBytes.h"

namespace {

// Finds the path's entry; false when there is none.
bool FindEntry(const char16_t* path, CE_FIND_DATA& data) {
    HANDLE search = CeFindFirstFile(path, &data);
    if (search == INVALID_HANDLE_VALUE) return false;
    CeFindClose(search);
    return true;
}

// Opens a record file; on failure reports the error and pauses once.
HANDLE OpenRecordFile(const char16_t* path, DWORD access, DWORD disposition, DWORD* error) {
    HANDLE file = OpenWithoutSharing(path, access, disposition);
    if (file == INVALID_HANDLE_VALUE) {
        if (error) *error = CeGetLastError();
        std::this_thread::sleep_for(std::chrono::milliseconds(kRecordFileRetryPauseMs));
    }
    return file;
}

}  // namespace

int DeviceFileExists(const char16_t* path) {
    CE_FIND_DATA data;
    return path && FindEntry(path, data) ? 1 : 0;
}

int DeviceDirectoryExists(const char16_t* path) {
    CE_FIND_DATA data;
    return path && FindEntry(path, data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}

int DeviceCreateDirectoryPath(const char16_t* path) {
    if (!path) return 0;
    std::u16string prefix;
    std::u16string_view rest(path);
    while (!rest.empty()) {
        size_t cut = rest.find(u'\\');
        std::u16string_view part = rest.substr(0, cut);
        rest = cut == std::u16string_view::npos ? std::u16string_view() : rest.substr(cut + 1);
        if (part.empty()) continue;
        prefix += u'\\';
        prefix += part;
        if (!DeviceDirectoryExists(prefix.c_str()) && !CeCreateDirectory(prefix.c_str(), nullptr)) return 0;
    }
    return 1;
}

int DeviceListEntries(const char16_t* pattern, DynamicList<CE_FIND_DATA>& entries) {
    entries.RemoveAll();
    if (!pattern) return 0;
    CE_FIND_DATA data;
    HANDLE search = CeFindFirstFile(pattern, &data);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        entries.AddTail(data);
    } while (CeFindNextFile(search, &data));
    CeFindClose(search);
    return 1;
}

int DeviceReadRecordFile(const char16_t* path, void* destination, DWORD size, DWORD* error) {
    if (!path || !destination) return 0;
    HANDLE file = OpenRecordFile(path, GENERIC_READ, OPEN_EXISTING, error);
    if (file == INVALID_HANDLE_VALUE) return 0;
    SecureBytes scratch(size, 0);
    DWORD read = 0;
    BOOL ok = CeReadFile(file, scratch.data(), size, &read, nullptr);
    DWORD lastError = CeGetLastError();
    CeCloseHandle(file);
    if (!ok || read != size) {
        if (error) *error = lastError;
        return 0;
    }
    std::copy(scratch.begin(), scratch.end(), static_cast<uint8_t*>(destination));
    return 1;
}

int DeviceWriteRecordFile(const char16_t* path, const void* source, DWORD size, DWORD* error) {
    if (!path || !source) return 0;
    HANDLE file = OpenRecordFile(path, GENERIC_WRITE, OPEN_ALWAYS, error);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD written = 0;
    BOOL ok = CeWriteFile(file, source, size, &written, nullptr);
    DWORD lastError = CeGetLastError();
    CeCloseHandle(file);
    if (!ok || written != size) {
        if (error) *error = lastError;
        return 0;
    }
    return 1;
}

int DeviceCopyFile(const char16_t* from, const char16_t* to, bool failIfExists) {
    return from && to && CopyInTurn(from, to, failIfExists) ? 1 : 0;
}

int DeviceMoveFile(const char16_t* from, const char16_t* to) {
    return from && to && MoveInTurn(from, to) ? 1 : 0;
}

int DeviceDeleteFile(const char16_t* path) {
    return path && DeleteInTurn(path) ? 1 : 0;
}
