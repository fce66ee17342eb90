#pragma once
// The remote file API: the phone's files and registry as the desktop reaches them, with the platform's
// names, record layouts, constants and error codes.
//
// A connection belongs to the calling thread: CeRapiInit/CeRapiInitEx give the thread a session of its
// own, CeRapiUninit ends it (closing its handles), and a thread that ends keeps no session. Calls on a
// thread without a session fail with last error ERROR_NOT_CONNECTED. No call throws.
//
// Paths are absolute on the phone ("\Folder\File.dat"), backslash-separated, at most MAX_PATH units
// with the terminator. A find that matches nothing fails with ERROR_FILE_NOT_FOUND, as on the platform.

#include <cstdint>

using DWORD = uint32_t;
using BOOL = int32_t;
using LONG = int32_t;
using HRESULT = int32_t;
using HANDLE = void*;
struct HKEY__;
using HKEY = HKEY__*;

// Macros as on the platform; glib defines the same ones with the same guards.
#ifndef FALSE
#define FALSE 0
#endif
#ifndef TRUE
#define TRUE 1
#endif

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));
inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000002));

inline constexpr DWORD GENERIC_READ = 0x80000000;
inline constexpr DWORD GENERIC_WRITE = 0x40000000;
inline constexpr DWORD FILE_SHARE_READ = 1;
inline constexpr DWORD FILE_SHARE_WRITE = 2;

inline constexpr DWORD CREATE_NEW = 1;
inline constexpr DWORD CREATE_ALWAYS = 2;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD OPEN_ALWAYS = 4;
inline constexpr DWORD TRUNCATE_EXISTING = 5;

inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

inline constexpr DWORD FILE_BEGIN = 0;
inline constexpr DWORD FILE_CURRENT = 1;
inline constexpr DWORD FILE_END = 2;
inline constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
inline constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;

inline constexpr DWORD MAX_PATH = 260;

inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
inline constexpr DWORD ERROR_TOO_MANY_OPEN_FILES = 4;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_NO_MORE_FILES = 18;
inline constexpr DWORD ERROR_GEN_FAILURE = 31;
inline constexpr DWORD ERROR_SHARING_VIOLATION = 32;
inline constexpr DWORD ERROR_HANDLE_EOF = 38;
inline constexpr DWORD ERROR_NOT_SUPPORTED = 50;
inline constexpr DWORD ERROR_REQ_NOT_ACCEP = 71;
inline constexpr DWORD ERROR_FILE_EXISTS = 80;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_DISK_FULL = 112;
inline constexpr DWORD ERROR_INVALID_NAME = 123;
inline constexpr DWORD ERROR_NEGATIVE_SEEK = 131;
inline constexpr DWORD ERROR_ALREADY_EXISTS = 183;
inline constexpr DWORD ERROR_MORE_DATA = 234;
inline constexpr DWORD ERROR_BADDB = 1009;
inline constexpr DWORD ERROR_NOT_CONNECTED = 2250;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
inline constexpr HRESULT CERAPI_E_ALREADYINITIALIZED = static_cast<HRESULT>(0x80041001);

inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD KEY_READ = 0x20019;

inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 258;

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

struct CE_FIND_DATA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwOID;
    char16_t cFileName[MAX_PATH];
};
static_assert(sizeof(CE_FIND_DATA) == 560);

// heRapiInit is a 32-bit event id here, waited on with CeWaitForRapiInit.
struct RAPIINIT {
    DWORD cbSize;
    DWORD heRapiInit;
    HRESULT hrRapiInit;
};
static_assert(sizeof(RAPIINIT) == 12);

// S_OK, CERAPI_E_ALREADYINITIALIZED when the thread has a session, E_FAIL when no phone answers.
HRESULT CeRapiInit() noexcept;
// As CeRapiInit; on success the record's event is signalled and its result is S_OK. A record whose
// cbSize is not 12 gives E_INVALIDARG. On failure the event stays 0, which never becomes signalled.
HRESULT CeRapiInitEx(RAPIINIT* init) noexcept;
// E_FAIL when the thread has no session.
HRESULT CeRapiUninit() noexcept;
// WAIT_OBJECT_0 when the event's handshake completed, else WAIT_TIMEOUT after the given wait.
DWORD CeWaitForRapiInit(DWORD event, DWORD milliseconds) noexcept;

HANDLE CeCreateFile(const char16_t* name, DWORD access, DWORD share, void* security, DWORD disposition,
                    DWORD flags, HANDLE templateFile) noexcept;
BOOL CeReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read, void* overlapped) noexcept;
BOOL CeWriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written, void* overlapped) noexcept;
DWORD CeSetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method) noexcept;
DWORD CeGetFileSize(HANDLE file, DWORD* high) noexcept;
BOOL CeCloseHandle(HANDLE object) noexcept;

HANDLE CeFindFirstFile(const char16_t* pattern, CE_FIND_DATA* data) noexcept;
BOOL CeFindNextFile(HANDLE search, CE_FIND_DATA* data) noexcept;
BOOL CeFindClose(HANDLE search) noexcept;

BOOL CeCreateDirectory(const char16_t* name, void* security) noexcept;
BOOL CeCopyFile(const char16_t* from, const char16_t* to, BOOL failIfExists) noexcept;
BOOL CeMoveFile(const char16_t* from, const char16_t* to) noexcept;
BOOL CeDeleteFile(const char16_t* name) noexcept;
DWORD CeGetLastError() noexcept;

// The registry calls return their error code (ERROR_MORE_DATA with the needed size in *dataSize when
// the buffer is too small).
LONG CeRegOpenKeyEx(HKEY root, const char16_t* subKey, DWORD options, DWORD sam, HKEY* result) noexcept;
LONG CeRegQueryValueEx(HKEY key, const char16_t* valueName, DWORD* reserved, DWORD* type, uint8_t* data,
                       DWORD* dataSize) noexcept;
LONG CeRegCloseKey(HKEY key) noexcept;

// The wallet application on the phone: our own calls beside the platform's, over the thread's session.
struct PhoneAppStatus {
    BOOL installed;
    BOOL running;
    // The "Version" text under \Software\Quillmark Tessera ("1.0.1.519"); empty when there is none.
    char16_t version[32];
};

BOOL CePhoneGetAppState(PhoneAppStatus* status) noexcept;
// Closes the wallet application; TRUE also when it was not running.
BOOL CePhoneCloseApp() noexcept;

// Holds a connection on the current thread for its lifetime. Ends only a session it made itself, so
// that it never ends one the thread already had.
class RapiConnection {
public:
    RapiConnection() : ok(CeRapiInit() == S_OK) {}
    ~RapiConnection() {
        if (ok) CeRapiUninit();
    }
    RapiConnection(const RapiConnection&) = delete;
    RapiConnection& operator=(const RapiConnection&) = delete;
    bool Ok() const { return ok; }

private:
    bool ok;
};
