// Feeds arbitrary replies to a client session after a valid handshake, while it makes one call of every
// operation (starting at the one the first byte picks): the decoding of every reply, the read-ahead block
// and the session's breaking on malformed replies.
#include <memory>

#include "FuzzLink.h"
#include "platform/rapi/client/SocketSession.h"

namespace {

using Call = void (*)(SocketSession&, HANDLE&);

constexpr Call kCalls[] = {
    [](SocketSession& s, HANDLE& h) {
        h = s.CreateFile(u"\\Program Files\\Tessera\\Tessera.dat", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    },
    [](SocketSession& s, HANDLE& h) {
        uint8_t buffer[300];
        DWORD read = 0;
        s.ReadFile(h, buffer, 100, &read);
        s.ReadFile(h, buffer, sizeof buffer, &read);
    },
    [](SocketSession& s, HANDLE& h) {
        const uint8_t bytes[16] = {1, 2, 3};
        DWORD written = 0;
        s.WriteFile(h, bytes, sizeof bytes, &written);
    },
    [](SocketSession& s, HANDLE& h) {
        LONG high = 0;
        s.SetFilePointer(h, 5, &high, FILE_BEGIN);
    },
    [](SocketSession& s, HANDLE& h) {
        DWORD high = 0;
        s.GetFileSize(h, &high);
    },
    [](SocketSession& s, HANDLE& h) { s.CloseHandle(h); },
    [](SocketSession& s, HANDLE&) {
        CE_FIND_DATA found;
        HANDLE search = s.FindFirstFile(u"\\*", &found);
        s.FindNextFile(search, &found);
        s.FindClose(search);
    },
    [](SocketSession& s, HANDLE&) { s.CreateDirectory(u"\\Folder"); },
    [](SocketSession& s, HANDLE&) { s.CopyFile(u"\\Program Files\\Tessera\\Tessera.dat", u"\\Copy.dat", TRUE); },
    [](SocketSession& s, HANDLE&) { s.MoveFile(u"\\Copy.dat", u"\\Moved.dat"); },
    [](SocketSession& s, HANDLE&) { s.DeleteFile(u"\\Moved.dat"); },
    [](SocketSession& s, HANDLE&) {
        HKEY key = nullptr;
        s.RegOpenKeyEx(HKEY_LOCAL_MACHINE, u"Software\\Quillmark Tessera", &key);
        uint8_t value[64];
        DWORD type = 0, size = sizeof value;
        s.RegQueryValueEx(key, u"InstallPath", &type, value, &size);
        s.RegCloseKey(key);
    },
    [](SocketSession& s, HANDLE&) {
        PhoneAppStatus status{};
        s.GetAppState(&status);
        s.CloseApp();
    },
};
constexpr size_t kCallCount = std::size(kCalls);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    WireWriter hello(WireOp::Hello);
    hello.U32(ERROR_SUCCESS);
    hello.U32(kLinkVersion);
    std::vector<uint8_t> feed = FrameBytes(hello);
    feed.insert(feed.end(), data + 1, data + size);
    FuzzLink link(feed);
    LinkTimeouts timeouts{std::chrono::milliseconds(200), std::chrono::milliseconds(200)};
    SocketSession session(link.TakeTested(), timeouts, std::make_shared<std::atomic<uint64_t>>(0));
    DWORD refusal = 0;
    if (!session.Hello(refusal)) return 0;
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (size_t i = 0; i < kCallCount; ++i) kCalls[(data[0] + i) % kCallCount](session, handle);
    return 0;
}
