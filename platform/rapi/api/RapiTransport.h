#pragma once
// What stands behind the Ce* calls: a transport connects to a phone and gives sessions; a session
// carries the calls of one connection. The Ce* calls check their pointer arguments and bound every
// path to MAX_PATH units before a session sees them; a session checks the paths' contents itself.

#include <memory>
#include <string_view>

#include "platform/rapi/api/Rapi.h"

// One connection to a phone, used by one thread at a time. Handles and keys belong to the session
// that made them. After each call LastError() tells how it went, as CeGetLastError does.
class RapiSession {
public:
    virtual ~RapiSession() = default;

    virtual HANDLE CreateFile(std::u16string_view name, DWORD access, DWORD share, DWORD disposition,
                              DWORD flags) = 0;
    virtual BOOL ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read) = 0;
    virtual BOOL WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written) = 0;
    virtual DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method) = 0;
    virtual DWORD GetFileSize(HANDLE file, DWORD* high) = 0;
    virtual BOOL CloseHandle(HANDLE file) = 0;

    virtual HANDLE FindFirstFile(std::u16string_view pattern, CE_FIND_DATA* data) = 0;
    virtual BOOL FindNextFile(HANDLE search, CE_FIND_DATA* data) = 0;
    virtual BOOL FindClose(HANDLE search) = 0;

    virtual BOOL CreateDirectory(std::u16string_view name) = 0;
    virtual BOOL CopyFile(std::u16string_view from, std::u16string_view to, BOOL failIfExists) = 0;
    virtual BOOL MoveFile(std::u16string_view from, std::u16string_view to) = 0;
    virtual BOOL DeleteFile(std::u16string_view name) = 0;

    virtual LONG RegOpenKeyEx(HKEY root, std::u16string_view subKey, HKEY* result) = 0;
    // data may be null to ask for the size only; dataSize is null only when data is.
    virtual LONG RegQueryValueEx(HKEY key, std::u16string_view valueName, DWORD* type, uint8_t* data,
                                 DWORD* dataSize) = 0;
    virtual LONG RegCloseKey(HKEY key) = 0;

    virtual BOOL GetAppState(PhoneAppStatus* status) = 0;
    virtual BOOL CloseApp() = 0;

    virtual DWORD LastError() const = 0;
};

// Reaches one phone. Connect may be called from several threads at once.
class RapiTransport {
public:
    virtual ~RapiTransport() = default;
    // A new session, or nullptr when the phone cannot be reached; error then says why: the agent's
    // refusal (ERROR_REQ_NOT_ACCEP when it serves all the connections it may), else ERROR_NOT_CONNECTED.
    virtual std::unique_ptr<RapiSession> Connect(DWORD& error) = 0;
    std::unique_ptr<RapiSession> Connect() {
        DWORD error = 0;
        return Connect(error);
    }
};

// The process-wide transport that CeRapiInit connects through; nullptr forgets it.
void RapiSetTransport(std::shared_ptr<RapiTransport> transport);
std::shared_ptr<RapiTransport> RapiGetTransport();

// The transport set, or else the one that the setting in POCKETDECK_PHONE names, kept from then on;
// nullptr when neither gives one.
std::shared_ptr<RapiTransport> RapiDefaultTransport();

// The transport that a phone setting names: "folder:PATH" serves the phone folder PATH in process,
// "unix:PATH" reaches the agent on that socket, no setting at all the agent on the default socket
// (PhoneSocketPath.h). Any other setting gives nullptr.
std::shared_ptr<RapiTransport> RapiTransportFromSetting(const char* setting);
