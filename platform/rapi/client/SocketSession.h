#pragma once
// A session of the socket transport: each call is one request to the phone agent and its reply, except reads
// that a read-ahead block already holds. When the agent goes away, or a reply is late or malformed, the
// session is broken: that call and every later one fail with ERROR_NOT_CONNECTED. The one exception: the
// agent ends a connection that stays silent too long, and a session that holds no file, search or key
// there then goes on over a new connection, made before its next request.

#include <atomic>
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <vector>

#include "platform/rapi/api/RapiTransport.h"
#include "platform/rapi/client/ReadAheadBlock.h"
#include "platform/rapi/client/SocketTransport.h"
#include "platform/rapi/wire/UniqueFd.h"
#include "platform/rapi/wire/WireChannel.h"

class SocketSession : public RapiSession {
public:
    // redial connects anew (an empty descriptor when it cannot).
    SocketSession(UniqueFd socket, LinkTimeouts timeouts, std::shared_ptr<std::atomic<uint64_t>> roundTrips,
                  std::function<UniqueFd()> redial = {});
    // Says goodbye and waits for the agent to end the session, so that its files are free when this returns.
    ~SocketSession() override;

    // The handshake; false when the agent refuses it or does not answer in time.
    bool Hello(DWORD& refusal);

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
    // Sends the request and reads the reply's last error; then decode reads the rest, which must be all of
    // it. False, with the session broken, when the exchange or the reply fails.
    template <typename Decode>
    bool Call(WireWriter& request, Decode decode);
    // Sends the request and receives its reply into replyBody.
    bool Exchange(WireWriter& request, std::chrono::milliseconds wait);
    bool Broken();
    // A new connection in place of one the agent ended while this session held nothing there.
    bool Redial();
    void Holds(uintptr_t id) { held.insert(id); }
    void LetGo(uintptr_t id);
    // Whether the socket shows, without waiting, that the agent is gone.
    bool GoneAtAGlance();
    BOOL CallForBool(WireWriter& request);
    BOOL OnHandle(WireOp op, HANDLE handle);
    BOOL OnPath(WireOp op, std::u16string_view path);

    BOOL ReadPiece(HANDLE file, uint8_t* out, DWORD count, DWORD* got);
    // Reads up to count bytes at `at`, or where the handle stands; *bytes shows them in replyBody.
    BOOL ReadFromPhone(HANDLE file, int64_t at, DWORD count, std::span<const uint8_t>* bytes);
    BOOL WritePiece(HANDLE file, const uint8_t* data, DWORD count, DWORD* written);
    ReadAheadBlock* FindBlock(HANDLE file);

    UniqueFd socket;
    WireChannel channel;
    LinkTimeouts timeouts;
    std::shared_ptr<std::atomic<uint64_t>> roundTrips;
    std::vector<uint8_t> replyBody;
    LinkClock::time_point lastContact;           // the last request, or the last glance at the socket
    std::map<uintptr_t, ReadAheadBlock> blocks;  // by handle: files open for reading only
    DWORD lastError = ERROR_SUCCESS;
    std::function<UniqueFd()> redial;
    std::multiset<uintptr_t> held;  // the agent's ids of the files, searches and keys open in this session
};
