#include "phone/AgentSession.h"

#include <algorithm>
#include <chrono>
#include <iterator>

namespace {

// How long a frame may take to arrive once it has begun, and a reply to leave.
constexpr std::chrono::seconds kFrameTimeout{10};
constexpr uint32_t kMaxHelloBody = 64;

LinkClock::time_point FrameDeadline() {
    return LinkClock::now() + kFrameTimeout;
}

struct Request {
    RapiSession& session;
    WireReader& in;
    WireWriter& out;
    std::vector<uint8_t>& scratch;
};

// Each handler decodes its request, refuses it (false) unless that took the whole body, then makes the call
// and writes the reply's results. The caller puts the session's last error in front of them.
using Handler = bool (*)(Request&);
constexpr size_t kFirstResult = 4;  // where in the reply's body the handler's results begin

// Puts the handle where the client's read-ahead says it stands.
bool MoveTo(RapiSession& session, HANDLE file, int64_t at) {
    if (at == kWireHere) return true;
    LONG high = static_cast<LONG>(at >> 32);
    session.SetFilePointer(file, static_cast<LONG>(at), &high, FILE_BEGIN);
    return session.LastError() == ERROR_SUCCESS;
}

bool ServeCreateFile(Request& r) {
    std::u16string name = r.in.Text(kMaxPathUnits);
    DWORD access = r.in.U32(), share = r.in.U32(), disposition = r.in.U32(), flags = r.in.U32();
    if (!r.in.Done()) return false;
    r.out.Handle(r.session.CreateFile(name, access, share, disposition, flags));
    return true;
}

bool ServeReadFile(Request& r) {
    HANDLE file = r.in.Handle();
    int64_t at = r.in.I64();
    DWORD count = r.in.U32();
    if (!r.in.Done() || count > kMaxTransfer) return false;
    r.out.U32(0);  // whether the read succeeded, known below
    // Read straight into the reply, which saves copying up to a megabyte.
    uint8_t* room = r.out.BlobRoom(count);
    DWORD read = 0;
    bool ok = MoveTo(r.session, file, at) && r.session.ReadFile(file, room, count, &read);
    r.out.EndBlob(std::min(read, count));
    r.out.PatchU32(kFirstResult, ok ? 1 : 0);
    return true;
}

bool ServeWriteFile(Request& r) {
    HANDLE file = r.in.Handle();
    int64_t at = r.in.I64();
    std::span<const uint8_t> data = r.in.Blob(kMaxTransfer);
    if (!r.in.Done()) return false;
    DWORD written = 0;
    bool ok = MoveTo(r.session, file, at) &&
              r.session.WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written);
    r.out.U32(ok ? 1 : 0);
    r.out.U32(written);
    return true;
}

bool ServeSetFilePointer(Request& r) {
    HANDLE file = r.in.Handle();
    int64_t at = r.in.I64();
    uint64_t distance = r.in.U64();
    DWORD method = r.in.U32();
    if (!r.in.Done()) return false;
    LONG high = static_cast<LONG>(distance >> 32);
    DWORD low = INVALID_SET_FILE_POINTER;
    if (MoveTo(r.session, file, at))
        low = r.session.SetFilePointer(file, static_cast<LONG>(distance), &high, method);
    r.out.U32(low);
    r.out.U32(static_cast<uint32_t>(high));
    return true;
}

bool ServeGetFileSize(Request& r) {
    HANDLE file = r.in.Handle();
    if (!r.in.Done()) return false;
    DWORD high = 0;
    r.out.U32(r.session.GetFileSize(file, &high));
    r.out.U32(high);
    return true;
}

template <BOOL (RapiSession::*Call)(HANDLE)>
bool ServeOnHandle(Request& r) {
    HANDLE handle = r.in.Handle();
    if (!r.in.Done()) return false;
    r.out.U32((r.session.*Call)(handle) ? 1 : 0);
    return true;
}

template <BOOL (RapiSession::*Call)(std::u16string_view)>
bool ServeOnPath(Request& r) {
    std::u16string path = r.in.Text(kMaxPathUnits);
    if (!r.in.Done()) return false;
    r.out.U32((r.session.*Call)(path) ? 1 : 0);
    return true;
}

bool ServeFindFirstFile(Request& r) {
    std::u16string pattern = r.in.Text(kMaxPathUnits);
    if (!r.in.Done()) return false;
    CE_FIND_DATA data{};
    HANDLE search = r.session.FindFirstFile(pattern, &data);
    r.out.Handle(search);
    if (search != INVALID_HANDLE_VALUE) r.out.Raw(&data, sizeof data);
    return true;
}

bool ServeFindNextFile(Request& r) {
    HANDLE search = r.in.Handle();
    if (!r.in.Done()) return false;
    CE_FIND_DATA data{};
    BOOL found = r.session.FindNextFile(search, &data);
    r.out.U32(found ? 1 : 0);
    if (found) r.out.Raw(&data, sizeof data);
    return true;
}

bool ServeCopyFile(Request& r) {
    std::u16string from = r.in.Text(kMaxPathUnits), to = r.in.Text(kMaxPathUnits);
    BOOL failIfExists = r.in.U32() ? TRUE : FALSE;
    if (!r.in.Done()) return false;
    r.out.U32(r.session.CopyFile(from, to, failIfExists) ? 1 : 0);
    return true;
}

bool ServeMoveFile(Request& r) {
    std::u16string from = r.in.Text(kMaxPathUnits), to = r.in.Text(kMaxPathUnits);
    if (!r.in.Done()) return false;
    r.out.U32(r.session.MoveFile(from, to) ? 1 : 0);
    return true;
}

bool ServeRegOpenKey(Request& r) {
    HKEY root = reinterpret_cast<HKEY>(r.in.Handle());
    std::u16string subKey = r.in.Text(kMaxPathUnits);
    if (!r.in.Done()) return false;
    HKEY key = nullptr;
    r.out.U32(static_cast<uint32_t>(r.session.RegOpenKeyEx(root, subKey, &key)));
    r.out.Handle(key);
    return true;
}

bool ServeRegQueryValue(Request& r) {
    HKEY key = reinterpret_cast<HKEY>(r.in.Handle());
    std::u16string name = r.in.Text(kMaxPathUnits);
    uint8_t wants = r.in.U8();
    DWORD type = r.in.U32(), size = r.in.U32();
    bool wantData = wants & kWantData, wantSize = wants & kWantDataSize;
    if (!r.in.Done() || size > kMaxTransfer || (wants & ~(kWantType | kWantData | kWantDataSize)) ||
        (wantData && !wantSize))
        return false;
    DWORD capacity = size;
    // Never empty, so that a zero-sized buffer still counts as a buffer.
    r.scratch.resize(std::max<DWORD>(capacity, 1));
    LONG code = r.session.RegQueryValueEx(key, name, (wants & kWantType) ? &type : nullptr,
                                          wantData ? r.scratch.data() : nullptr, wantSize ? &size : nullptr);
    r.out.U32(static_cast<uint32_t>(code));
    r.out.U32(type);
    r.out.U32(size);
    bool filled = wantData && code == static_cast<LONG>(ERROR_SUCCESS);
    r.out.Blob(r.scratch.data(), filled ? std::min(size, capacity) : 0);
    return true;
}

bool ServeRegCloseKey(Request& r) {
    HKEY key = reinterpret_cast<HKEY>(r.in.Handle());
    if (!r.in.Done()) return false;
    r.out.U32(static_cast<uint32_t>(r.session.RegCloseKey(key)));
    return true;
}

bool ServeGetAppState(Request& r) {
    if (!r.in.Done()) return false;
    PhoneAppStatus status{};
    BOOL ok = r.session.GetAppState(&status);
    r.out.U32(ok ? 1 : 0);
    r.out.U32(status.installed ? 1 : 0);
    r.out.U32(status.running ? 1 : 0);
    const char16_t* end = std::find(std::begin(status.version), std::end(status.version) - 1, u'\0');
    r.out.Text(std::u16string_view(status.version, end - status.version));
    return true;
}

bool ServeCloseApp(Request& r) {
    if (!r.in.Done()) return false;
    r.out.U32(r.session.CloseApp() ? 1 : 0);
    return true;
}

// By operation; Hello and Bye are handled by the session itself.
constexpr Handler kHandlers[kWireOpCount] = {
    nullptr,
    ServeCreateFile,
    ServeReadFile,
    ServeWriteFile,
    ServeSetFilePointer,
    ServeGetFileSize,
    ServeOnHandle<&RapiSession::CloseHandle>,
    ServeFindFirstFile,
    ServeFindNextFile,
    ServeOnHandle<&RapiSession::FindClose>,
    ServeOnPath<&RapiSession::CreateDirectory>,
    ServeCopyFile,
    ServeMoveFile,
    ServeOnPath<&RapiSession::DeleteFile>,
    ServeRegOpenKey,
    ServeRegQueryValue,
    ServeRegCloseKey,
    ServeGetAppState,
    ServeCloseApp,
    nullptr,
};

}  // namespace

std::string AgentSession::Handshake() {
    uint32_t op = 0;
    FrameStatus status = channel.Receive(&op, &body, FrameDeadline(), kMaxHelloBody);
    if (status == FrameStatus::Closed) return "";  // a probe: someone checked that the agent answers
    if (status != FrameStatus::Ok) return std::string("no handshake: ") + FrameStatusText(status);
    WireReader in(body);
    uint32_t magic = in.U32(), version = in.U32();
    if (op != static_cast<uint32_t>(WireOp::Hello) || !in.Done() || magic != kLinkMagic)
        return "no handshake";
    DWORD error = version == kLinkVersion ? ERROR_SUCCESS : ERROR_NOT_SUPPORTED;
    if (!error && !(session = phone.Connect())) error = ERROR_NOT_CONNECTED;
    WireWriter reply(WireOp::Hello);
    reply.U32(error);
    reply.U32(kLinkVersion);
    channel.Send(reply, FrameDeadline());
    if (error == ERROR_NOT_SUPPORTED) return "protocol version " + std::to_string(version) + " refused";
    return error ? "the phone folder cannot be served" : "";
}

std::string AgentSession::Goodbye() {
    session.reset();
    WireWriter reply(WireOp::Bye);
    reply.U32(ERROR_SUCCESS);
    channel.Send(reply, FrameDeadline());
    return "";
}

std::string AgentSession::Answer(uint32_t op) {
    if (op == static_cast<uint32_t>(WireOp::Bye)) return Goodbye();
    Handler handler = op < kWireOpCount ? kHandlers[op] : nullptr;
    if (!handler) return "unknown operation " + std::to_string(op);
    WireReader in(body);
    reply.Reset(static_cast<WireOp>(op));
    reply.U32(ERROR_SUCCESS);
    Request request{*session, in, reply, scratch};
    if (!handler(request)) return "malformed request for operation " + std::to_string(op);
    reply.PatchU32(0, session->LastError());
    FrameStatus status = channel.Send(reply, FrameDeadline());
    return status == FrameStatus::Ok ? "" : std::string("reply not delivered: ") + FrameStatusText(status);
}

std::string AgentSession::Serve() {
    if (std::string refused = Handshake(); !refused.empty()) return refused;
    // One frame per pass, until the connection ends.
    for (;;) {
        LinkClock::time_point quietUntil = LinkClock::now() + idle;
        if (!channel.WaitReadable(quietUntil))
            return LinkClock::now() >= quietUntil ? "idle too long" : "socket error";
        uint32_t op = 0;
        FrameStatus status = channel.Receive(&op, &body, FrameDeadline());
        if (status == FrameStatus::Closed) return "";
        if (status != FrameStatus::Ok) return FrameStatusText(status);
        if (std::string ended = Answer(op); !ended.empty() || !session) return ended;
    }
}
