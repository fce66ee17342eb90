#pragma once
// A session of the folder transport: the handles, search states and open keys of one connection, over
// the file system and registry that all sessions of the transport share.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/rapi/phone/FolderFileSystem.h"
#include "platform/rapi/phone/PhoneRegistry.h"
#include "platform/rapi/api/RapiTransport.h"
#include "platform/rapi/phone/WalletApp.h"

class FolderSession : public RapiSession {
public:
    FolderSession(std::shared_ptr<FolderFileSystem> files, std::shared_ptr<const PhoneRegistry> registry,
                  std::shared_ptr<WalletApp> app)
        : files(std::move(files)), registry(std::move(registry)), app(std::move(app)) {}

    HANDLE CreateFile(std::u16string_view name, DWORD access, DWORD share, DWORD disposition,
                      DWORD flags) override;
    BOOL ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read) override;
    BOOL WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written) override;
    DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method) override;
    DWORD GetFileSize(HANDLE file, DWORD* high) override;
    BOOL CloseHandle(HANDLE file) override;

    HANDLE FindFirstFile(std::u16string_view pattern, CE_FIND_DATA* data) override;
    BOOL FindNextFile(HANDLE search, CE_FIND_DATA* data) override;
    BOOL FindClose(HANDLE search) override;

    BOOL CreateDirectory(std::u16string_view name) override;
    BOOL CopyFile(std::u16string_view from, std::u16string_view to, BOOL failIfExists) override;
    BOOL MoveFile(std::u16string_view from, std::u16string_view to) override;
    BOOL DeleteFile(std::u16string_view name) override;

    LONG RegOpenKeyEx(HKEY root, std::u16string_view subKey, HKEY* result) override;
    LONG RegQueryValueEx(HKEY key, std::u16string_view valueName, DWORD* type, uint8_t* data,
                         DWORD* dataSize) override;
    LONG RegCloseKey(HKEY key) override;

    BOOL GetAppState(PhoneAppStatus* status) override;
    BOOL CloseApp() override;

    DWORD LastError() const override { return lastError; }

private:
    struct File {
        OpenedFile opened;
        DWORD access = 0;
        int64_t position = 0;
    };
    using Search = FolderListing;

    template <typename T>
    uintptr_t Add(std::map<uintptr_t, T>& table, T entry);
    File* FindFile(HANDLE handle);
    std::optional<std::u16string> KeyPath(HKEY key, std::u16string_view subKey) const;
    BOOL Result(DWORD error);
    DWORD FailPosition(DWORD error);

    // Declared first so that it outlives the open files, whose leases point into it.
    std::shared_ptr<FolderFileSystem> files;
    std::shared_ptr<const PhoneRegistry> registry;
    std::shared_ptr<WalletApp> app;
    std::map<uintptr_t, File> openFiles;
    std::map<uintptr_t, Search> searches;
    std::map<uintptr_t, std::u16string> keys;
    uintptr_t lastHandle = 0;
    DWORD lastError = ERROR_SUCCESS;
};
