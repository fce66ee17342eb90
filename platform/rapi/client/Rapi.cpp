#include "platform/rapi/api/Rapi.h"

#include <chrono>
#include <mutex>
#include <new>
#include <set>
#include <string_view>
#include <thread>

#include "platform/rapi/api/RapiTransport.h"

namespace {

// The events of completed handshakes, process-wide, as waiting may happen on any thread.
class InitEvents {
public:
    DWORD Add() {
        std::lock_guard lock(mutex);
        do {
            ++last;
        } while (last == 0 || completed.contains(last));
        completed.insert(last);
        return last;
    }
    void Remove(DWORD event) {
        std::lock_guard lock(mutex);
        completed.erase(event);
    }
    bool Completed(DWORD event) {
        std::lock_guard lock(mutex);
        return completed.contains(event);
    }

private:
    std::mutex mutex;
    std::set<DWORD> completed;
    DWORD last = 0;
};

InitEvents& Events() {
    static InitEvents events;
    return events;
}

// The calling thread's connection; a thread that ends without CeRapiUninit still ends its session.
struct Connection {
    std::unique_ptr<RapiSession> session;
    DWORD event = 0;

    void End() {
        session.reset();
        if (event) Events().Remove(event);
        event = 0;
    }
    ~Connection() { End(); }
};

thread_local Connection connection;
thread_local DWORD lastError = ERROR_SUCCESS;

// The session sees at most MAX_PATH units; a name with no terminator among them is refused there as
// too long, and nothing past them is read.
std::u16string_view BoundedName(const char16_t* name) {
    if (!name) return {};
    size_t length = 0;
    while (length < MAX_PATH && name[length] != 0) ++length;
    return {name, length};
}

HRESULT Connect(DWORD* event) noexcept {
    try {
        if (connection.session) return CERAPI_E_ALREADYINITIALIZED;
        std::shared_ptr<RapiTransport> transport = RapiDefaultTransport();
        DWORD error = ERROR_NOT_CONNECTED;
        std::unique_ptr<RapiSession> session = transport ? transport->Connect(error) : nullptr;
        if (!session) {
            lastError = error;
            return E_FAIL;
        }
        if (event) *event = Events().Add();
        connection.session = std::move(session);
        connection.event = event ? *event : 0;
        return S_OK;
    } catch (...) {
        lastError = ERROR_NOT_CONNECTED;
        return E_FAIL;
    }
}

// Runs call on the thread's session. Without one, with bad arguments or when anything throws, the call
// fails: onFailure gives the result for the error, which also becomes the last error.
template <typename OnFailure, typename Call>
auto OnSession(OnFailure onFailure, bool argumentsOk, Call call) noexcept -> decltype(onFailure(DWORD{})) {
    DWORD error = ERROR_GEN_FAILURE;
    try {
        RapiSession* session = connection.session.get();
        if (session && argumentsOk) {
            auto result = call(*session);
            lastError = session->LastError();
            return result;
        }
        error = session ? ERROR_INVALID_PARAMETER : ERROR_NOT_CONNECTED;
    } catch (const std::bad_alloc&) {
        error = ERROR_NOT_ENOUGH_MEMORY;
    } catch (...) {
    }
    lastError = error;
    return onFailure(error);
}

HANDLE NoHandle(DWORD) {
    return INVALID_HANDLE_VALUE;
}
BOOL False(DWORD) {
    return FALSE;
}
// INVALID_SET_FILE_POINTER and INVALID_FILE_SIZE alike.
DWORD BadDword(DWORD) {
    return 0xFFFFFFFF;
}
LONG ErrorCode(DWORD error) {
    return static_cast<LONG>(error);
}

}  // namespace

HRESULT CeRapiInit() noexcept {
    return Connect(nullptr);
}

HRESULT CeRapiInitEx(RAPIINIT* init) noexcept {
    if (!init || init->cbSize != sizeof(RAPIINIT)) return E_INVALIDARG;
    init->heRapiInit = 0;
    init->hrRapiInit = Connect(&init->heRapiInit);
    return init->hrRapiInit;
}

HRESULT CeRapiUninit() noexcept {
    if (!connection.session) return E_FAIL;
    connection.End();
    return S_OK;
}

DWORD CeWaitForRapiInit(DWORD event, DWORD milliseconds) noexcept {
    try {
        if (Events().Completed(event)) return WAIT_OBJECT_0;
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    } catch (...) {
    }
    return WAIT_TIMEOUT;
}

HANDLE CeCreateFile(const char16_t* name, DWORD access, DWORD share, void*, DWORD disposition, DWORD flags,
                    HANDLE) noexcept {
    return OnSession(NoHandle, true, [&](RapiSession& session) {
        return session.CreateFile(BoundedName(name), access, share, disposition, flags);
    });
}

BOOL CeReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read, void* overlapped) noexcept {
    if (read) *read = 0;
    bool argumentsOk = read && !overlapped && (buffer || toRead == 0);
    return OnSession(False, argumentsOk,
                     [&](RapiSession& session) { return session.ReadFile(file, buffer, toRead, read); });
}

BOOL CeWriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written, void* overlapped) noexcept {
    if (written) *written = 0;
    bool argumentsOk = written && !overlapped && (buffer || toWrite == 0);
    return OnSession(False, argumentsOk,
                     [&](RapiSession& session) { return session.WriteFile(file, buffer, toWrite, written); });
}

DWORD CeSetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method) noexcept {
    return OnSession(BadDword, true, [&](RapiSession& session) {
        return session.SetFilePointer(file, distance, distanceHigh, method);
    });
}

DWORD CeGetFileSize(HANDLE file, DWORD* high) noexcept {
    return OnSession(BadDword, true, [&](RapiSession& session) { return session.GetFileSize(file, high); });
}

BOOL CeCloseHandle(HANDLE object) noexcept {
    return OnSession(False, true, [&](RapiSession& session) { return session.CloseHandle(object); });
}

HANDLE CeFindFirstFile(const char16_t* pattern, CE_FIND_DATA* data) noexcept {
    return OnSession(NoHandle, data != nullptr,
                     [&](RapiSession& session) { return session.FindFirstFile(BoundedName(pattern), data); });
}

BOOL CeFindNextFile(HANDLE search, CE_FIND_DATA* data) noexcept {
    return OnSession(False, data != nullptr,
                     [&](RapiSession& session) { return session.FindNextFile(search, data); });
}

BOOL CeFindClose(HANDLE search) noexcept {
    return OnSession(False, true, [&](RapiSession& session) { return session.FindClose(search); });
}

BOOL CeCreateDirectory(const char16_t* name, void*) noexcept {
    return OnSession(False, true,
                     [&](RapiSession& session) { return session.CreateDirectory(BoundedName(name)); });
}

BOOL CeCopyFile(const char16_t* from, const char16_t* to, BOOL failIfExists) noexcept {
    return OnSession(False, true, [&](RapiSession& session) {
        return session.CopyFile(BoundedName(from), BoundedName(to), failIfExists);
    });
}

BOOL CeMoveFile(const char16_t* from, const char16_t* to) noexcept {
    return OnSession(False, true, [&](RapiSession& session) {
        return session.MoveFile(BoundedName(from), BoundedName(to));
    });
}

BOOL CeDeleteFile(const char16_t* name) noexcept {
    return OnSession(False, true,
                     [&](RapiSession& session) { return session.DeleteFile(BoundedName(name)); });
}

DWORD CeGetLastError() noexcept {
    return lastError;
}

LONG CeRegOpenKeyEx(HKEY root, const char16_t* subKey, DWORD, DWORD, HKEY* result) noexcept {
    if (result) *result = nullptr;
    return OnSession(ErrorCode, result != nullptr, [&](RapiSession& session) {
        return session.RegOpenKeyEx(root, BoundedName(subKey), result);
    });
}

LONG CeRegQueryValueEx(HKEY key, const char16_t* valueName, DWORD* reserved, DWORD* type, uint8_t* data,
                       DWORD* dataSize) noexcept {
    bool argumentsOk = !reserved && (dataSize || !data);
    return OnSession(ErrorCode, argumentsOk, [&](RapiSession& session) {
        return session.RegQueryValueEx(key, BoundedName(valueName), type, data, dataSize);
    });
}

LONG CeRegCloseKey(HKEY key) noexcept {
    return OnSession(ErrorCode, true, [&](RapiSession& session) { return session.RegCloseKey(key); });
}

BOOL CePhoneGetAppState(PhoneAppStatus* status) noexcept {
    return OnSession(False, status != nullptr,
                     [&](RapiSession& session) { return session.GetAppState(status); });
}

BOOL CePhoneCloseApp() noexcept {
    return OnSession(False, true, [&](RapiSession& session) { return session.CloseApp(); });
}
