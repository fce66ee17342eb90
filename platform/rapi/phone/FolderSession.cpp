#include "platform/rapi/phone/FolderSession.h"

#include <sys/stat.h>

#include <limits>

namespace {

// Keeps position + any DWORD count within a host offset.
// What one session may hold open at once, so that no client can exhaust the agent's descriptors or memory.
constexpr size_t kMaxFiles = 64;
constexpr size_t kMaxSearches = 16;
constexpr size_t kMaxKeys = 64;

constexpr int64_t kMaxPosition = std::numeric_limits<int64_t>::max() - std::numeric_limits<DWORD>::max();

uintptr_t Id(const void* handle) {
    return reinterpret_cast<uintptr_t>(handle);
}

int64_t Distance(LONG distance, const LONG* distanceHigh) {
    if (!distanceHigh) return distance;
    uint64_t high = static_cast<uint32_t>(*distanceHigh);
    return static_cast<int64_t>(high << 32 | static_cast<uint32_t>(distance));
}

}  // namespace

template <typename T>
uintptr_t FolderSession::Add(std::map<uintptr_t, T>& table, T entry) {
    table.emplace(++lastHandle, std::move(entry));
    return lastHandle;
}

FolderSession::File* FolderSession::FindFile(HANDLE handle) {
    auto it = openFiles.find(Id(handle));
    return it == openFiles.end() ? nullptr : &it->second;
}

BOOL FolderSession::Result(DWORD error) {
    lastError = error;
    return error == ERROR_SUCCESS ? TRUE : FALSE;
}

DWORD FolderSession::FailPosition(DWORD error) {
    lastError = error;
    return INVALID_SET_FILE_POINTER;
}

HANDLE FolderSession::CreateFile(std::u16string_view name, DWORD access, DWORD share, DWORD disposition,
                                 DWORD) {
    File file{{}, access, 0};
    if (openFiles.size() >= kMaxFiles) {
        lastError = ERROR_TOO_MANY_OPEN_FILES;
        return INVALID_HANDLE_VALUE;
    }
    if (DWORD error = files->Open(name, access, share, disposition, &file.opened)) {
        lastError = error;
        return INVALID_HANDLE_VALUE;
    }
    bool keptExisting = file.opened.existed && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
    lastError = keptExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
    return reinterpret_cast<HANDLE>(Add(openFiles, std::move(file)));
}

BOOL FolderSession::ReadFile(HANDLE handle, void* buffer, DWORD toRead, DWORD* read) {
    *read = 0;
    File* file = FindFile(handle);
    if (!file) return Result(ERROR_INVALID_HANDLE);
    if (!(file->access & GENERIC_READ)) return Result(ERROR_ACCESS_DENIED);
    size_t done = 0;
    int error = ReadAt(file->opened.fd.Get(), buffer, toRead, file->position, &done);
    file->position += static_cast<int64_t>(done);
    *read = static_cast<DWORD>(done);
    return Result(error ? ErrorFromErrno(error) : ERROR_SUCCESS);
}

BOOL FolderSession::WriteFile(HANDLE handle, const void* buffer, DWORD toWrite, DWORD* written) {
    *written = 0;
    File* file = FindFile(handle);
    if (!file) return Result(ERROR_INVALID_HANDLE);
    if (!(file->access & GENERIC_WRITE)) return Result(ERROR_ACCESS_DENIED);
    size_t done = 0;
    int error = WriteAt(file->opened.fd.Get(), buffer, toWrite, file->position, &done);
    file->position += static_cast<int64_t>(done);
    *written = static_cast<DWORD>(done);
    return Result(error ? ErrorFromErrno(error) : ERROR_SUCCESS);
}

DWORD FolderSession::SetFilePointer(HANDLE handle, LONG distance, LONG* distanceHigh, DWORD method) {
    File* file = FindFile(handle);
    if (!file) return FailPosition(ERROR_INVALID_HANDLE);
    int64_t base = 0;
    if (method == FILE_CURRENT) {
        base = file->position;
    } else if (method == FILE_END) {
        struct stat info;
        if (::fstat(file->opened.fd.Get(), &info) != 0) return FailPosition(ErrorFromErrno(errno));
        base = info.st_size;
    } else if (method != FILE_BEGIN) {
        return FailPosition(ERROR_INVALID_PARAMETER);
    }
    int64_t position = 0;
    if (__builtin_add_overflow(base, Distance(distance, distanceHigh), &position) || position > kMaxPosition)
        return FailPosition(ERROR_INVALID_PARAMETER);
    if (position < 0) return FailPosition(ERROR_NEGATIVE_SEEK);
    file->position = position;
    if (distanceHigh) *distanceHigh = static_cast<LONG>(position >> 32);
    lastError = ERROR_SUCCESS;
    return static_cast<DWORD>(position);
}

DWORD FolderSession::GetFileSize(HANDLE handle, DWORD* high) {
    File* file = FindFile(handle);
    struct stat info;
    if (!file || ::fstat(file->opened.fd.Get(), &info) != 0) {
        lastError = file ? ErrorFromErrno(errno) : ERROR_INVALID_HANDLE;
        return INVALID_FILE_SIZE;
    }
    uint64_t size = static_cast<uint64_t>(info.st_size);
    if (high) *high = static_cast<DWORD>(size >> 32);
    lastError = ERROR_SUCCESS;
    return static_cast<DWORD>(size);
}

BOOL FolderSession::CloseHandle(HANDLE handle) {
    return Result(openFiles.erase(Id(handle)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE);
}

HANDLE FolderSession::FindFirstFile(std::u16string_view pattern, CE_FIND_DATA* data) {
    Search search;
    if (searches.size() >= kMaxSearches) {
        lastError = ERROR_TOO_MANY_OPEN_FILES;
        return INVALID_HANDLE_VALUE;
    }
    if (DWORD error = files->Find(pattern, &search)) {
        lastError = error;
        return INVALID_HANDLE_VALUE;
    }
    if (!NextFound(search, data)) {
        lastError = ERROR_FILE_NOT_FOUND;  // gone since it was listed
        return INVALID_HANDLE_VALUE;
    }
    lastError = ERROR_SUCCESS;
    return reinterpret_cast<HANDLE>(Add(searches, std::move(search)));
}

BOOL FolderSession::FindNextFile(HANDLE handle, CE_FIND_DATA* data) {
    auto it = searches.find(Id(handle));
    if (it == searches.end()) return Result(ERROR_INVALID_HANDLE);
    return Result(NextFound(it->second, data) ? ERROR_SUCCESS : ERROR_NO_MORE_FILES);
}

BOOL FolderSession::FindClose(HANDLE handle) {
    return Result(searches.erase(Id(handle)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE);
}

BOOL FolderSession::CreateDirectory(std::u16string_view name) {
    return Result(files->CreateDirectory(name));
}

BOOL FolderSession::CopyFile(std::u16string_view from, std::u16string_view to, BOOL failIfExists) {
    return Result(files->Copy(from, to, failIfExists != FALSE));
}

BOOL FolderSession::MoveFile(std::u16string_view from, std::u16string_view to) {
    return Result(files->Move(from, to));
}

BOOL FolderSession::DeleteFile(std::u16string_view name) {
    return Result(files->Delete(name));
}

std::optional<std::u16string> FolderSession::KeyPath(HKEY key, std::u16string_view subKey) const {
    std::u16string path;
    if (key == HKEY_LOCAL_MACHINE) {
        path = u"HKEY_LOCAL_MACHINE";
    } else if (auto it = keys.find(Id(key)); it != keys.end()) {
        path = it->second;
    } else {
        return std::nullopt;
    }
    if (subKey.starts_with(u'\\')) subKey.remove_prefix(1);
    if (!subKey.empty()) path.append(u"\\").append(subKey);
    return path;
}

LONG FolderSession::RegOpenKeyEx(HKEY root, std::u16string_view subKey, HKEY* result) {
    *result = nullptr;
    std::optional<std::u16string> path = KeyPath(root, subKey);
    lastError = !path                     ? ERROR_INVALID_HANDLE
                : keys.size() >= kMaxKeys ? ERROR_TOO_MANY_OPEN_FILES
                                          : registry->OpenKey(*path);
    if (lastError == ERROR_SUCCESS) *result = reinterpret_cast<HKEY>(Add(keys, std::move(*path)));
    return static_cast<LONG>(lastError);
}

LONG FolderSession::RegQueryValueEx(HKEY key, std::u16string_view valueName, DWORD* type, uint8_t* data,
                                    DWORD* dataSize) {
    std::optional<std::u16string> path = KeyPath(key, {});
    lastError = path ? registry->Query(*path, valueName, type, data, dataSize) : ERROR_INVALID_HANDLE;
    return static_cast<LONG>(lastError);
}

LONG FolderSession::RegCloseKey(HKEY key) {
    bool known = key == HKEY_LOCAL_MACHINE || keys.erase(Id(key)) != 0;
    lastError = known ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
    return static_cast<LONG>(lastError);
}

BOOL FolderSession::GetAppState(PhoneAppStatus* status) {
    return Result(app->Status(status));
}

BOOL FolderSession::CloseApp() {
    return Result(app->Close());
}
