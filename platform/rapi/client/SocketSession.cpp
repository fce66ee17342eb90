#include "platform/rapi/client/SocketSession.h"

#include <algorithm>
#include <cstring>

namespace {

static_assert(ReadAheadBlock::kLargestFetch <= kMaxTransfer);

// Reads served from a block ask the agent nothing; at most this often they glance at the socket instead,
// which shows an agent that is gone. A glance costs a system call, a read from the block far less.
constexpr std::chrono::milliseconds kGlanceInterval{1};

uintptr_t Id(const void* handle) {
    return reinterpret_cast<uintptr_t>(handle);
}

void CopyOut(void* out, std::span<const uint8_t> bytes) {
    if (!bytes.empty()) std::memcpy(out, bytes.data(), bytes.size());
}

}  // namespace

SocketSession::SocketSession(UniqueFd socket, LinkTimeouts timeouts,
                             std::shared_ptr<std::atomic<uint64_t>> roundTrips,
                             std::function<UniqueFd()> redial)
    : socket(std::move(socket)),
      channel(this->socket.Get()),
      timeouts(timeouts),
      roundTrips(std::move(roundTrips)),
      redial(std::move(redial)) {}

SocketSession::~SocketSession() {
    try {
        WireWriter bye(WireOp::Bye);
        Call(bye, [](WireReader&) {});
    } catch (...) {
    }
}

bool SocketSession::Broken() {
    socket = UniqueFd();
    lastError = ERROR_NOT_CONNECTED;
    return false;
}

bool SocketSession::Redial() {
    UniqueFd fresh = redial ? redial() : UniqueFd();
    if (!fresh) return Broken();
    socket = std::move(fresh);
    channel = WireChannel(socket.Get());
    blocks.clear();  // the old connection's handles, whose ids the new one gives out again
    DWORD refusal = ERROR_SUCCESS;
    return Hello(refusal) || Broken();
}

void SocketSession::LetGo(uintptr_t id) {
    if (auto it = held.find(id); it != held.end()) held.erase(it);
}

bool SocketSession::Exchange(WireWriter& request, std::chrono::milliseconds wait) {
    if (!socket) return Broken();
    if (held.empty() && request.Op() != WireOp::Bye && GoneAtAGlance() && !Redial()) return false;
    try {
        ++*roundTrips;
        lastContact = LinkClock::now();
        LinkClock::time_point deadline = LinkClock::now() + wait;
        uint32_t op = 0;
        bool replied = channel.Send(request, deadline) == FrameStatus::Ok &&
                       channel.Receive(&op, &replyBody, deadline) == FrameStatus::Ok &&
                       op == static_cast<uint32_t>(request.Op());
        return replied || Broken();
    } catch (...) {
        // Half an exchange leaves the stream out of step.
        return Broken();
    }
}

bool SocketSession::GoneAtAGlance() {
    lastContact = LinkClock::now();
    return channel.Unexpected();
}

template <typename Decode>
bool SocketSession::Call(WireWriter& request, Decode decode) {
    if (!Exchange(request, timeouts.reply)) return false;
    WireReader reply(replyBody);
    DWORD error = reply.U32();
    decode(reply);
    if (!reply.Done()) return Broken();
    lastError = error;
    return true;
}

bool SocketSession::Hello(DWORD& refusal) {
    WireWriter hello(WireOp::Hello);
    hello.U32(kLinkMagic);
    hello.U32(kLinkVersion);
    // An agent that turns us away says why at once and hangs up, perhaps before our hello reaches it:
    // its answer is read even when the hello could not be sent.
    LinkClock::time_point deadline = LinkClock::now() + timeouts.connect;
    uint32_t op = 0;
    try {
        channel.Send(hello, deadline);
        if (channel.Receive(&op, &replyBody, deadline) != FrameStatus::Ok || op != uint32_t(WireOp::Hello))
            return Broken();
    } catch (...) {
        return Broken();
    }
    WireReader reply(replyBody);
    DWORD error = reply.U32();
    uint32_t version = reply.U32();
    if (!reply.Done()) return false;
    if (error != ERROR_SUCCESS) refusal = error;
    return error == ERROR_SUCCESS && version == kLinkVersion;
}

BOOL SocketSession::CallForBool(WireWriter& request) {
    BOOL ok = FALSE;
    return Call(request, [&](WireReader& reply) { ok = reply.U32() ? TRUE : FALSE; }) ? ok : FALSE;
}

BOOL SocketSession::OnHandle(WireOp op, HANDLE handle) {
    WireWriter request(op);
    request.Handle(handle);
    return CallForBool(request);
}

BOOL SocketSession::OnPath(WireOp op, std::u16string_view path) {
    WireWriter request(op);
    request.Text(path);
    return CallForBool(request);
}

ReadAheadBlock* SocketSession::FindBlock(HANDLE file) {
    auto it = blocks.find(Id(file));
    return it == blocks.end() ? nullptr : &it->second;
}

HANDLE SocketSession::CreateFile(std::u16string_view name, DWORD access, DWORD share, DWORD disposition,
                                 DWORD flags) {
    WireWriter request(WireOp::CreateFile);
    request.Text(name);
    for (DWORD value : {access, share, disposition, flags}) request.U32(value);
    HANDLE file = INVALID_HANDLE_VALUE;
    if (!Call(request, [&](WireReader& reply) { file = reply.Handle(); })) return INVALID_HANDLE_VALUE;
    if (file != INVALID_HANDLE_VALUE) Holds(Id(file));
    if (file != INVALID_HANDLE_VALUE && (access & GENERIC_READ) && !(share & FILE_SHARE_WRITE))
        blocks.insert_or_assign(Id(file), ReadAheadBlock{});
    return file;
}

BOOL SocketSession::ReadFromPhone(HANDLE file, int64_t at, DWORD count, std::span<const uint8_t>* bytes) {
    WireWriter request(WireOp::ReadFile);
    request.Handle(file);
    request.I64(at);
    request.U32(count);
    BOOL ok = FALSE;
    bool answered = Call(request, [&](WireReader& reply) {
        ok = reply.U32() ? TRUE : FALSE;
        *bytes = reply.Blob(count);
    });
    if (!answered) *bytes = {};
    return answered ? ok : FALSE;
}

BOOL SocketSession::ReadPiece(HANDLE file, uint8_t* out, DWORD count, DWORD* got) {
    ReadAheadBlock* block = FindBlock(file);
    std::span<const uint8_t> bytes;
    if (!block) {
        BOOL ok = ReadFromPhone(file, kWireHere, count, &bytes);
        CopyOut(out, bytes);
        *got = static_cast<DWORD>(bytes.size());
        return ok;
    }
    if (!block->Holds(count)) {
        DWORD size = block->FetchSize(count);
        // A failed fetch reads nothing and leaves the block as it was.
        if (!ReadFromPhone(file, block->Position(), size, &bytes)) return FALSE;
        block->Fill(replyBody, bytes.data() - replyBody.data(), static_cast<uint32_t>(bytes.size()), size);
    }
    *got = block->Take(out, count);
    lastError = ERROR_SUCCESS;
    return TRUE;
}

BOOL SocketSession::ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read) {
    *read = 0;
    if (!socket || (LinkClock::now() - lastContact > kGlanceInterval && GoneAtAGlance())) return Broken();
    auto* out = static_cast<uint8_t*>(buffer);
    // Each pass moves up to kMaxTransfer bytes or ends the loop.
    for (;;) {
        DWORD count = std::min(toRead - *read, kMaxTransfer), got = 0;
        BOOL ok = ReadPiece(file, out ? out + *read : nullptr, count, &got);
        *read += got;
        if (!ok || got < count || *read == toRead) return ok;
    }
}

BOOL SocketSession::WritePiece(HANDLE file, const uint8_t* data, DWORD count, DWORD* written) {
    ReadAheadBlock* block = FindBlock(file);
    WireWriter request(WireOp::WriteFile);
    request.Handle(file);
    request.I64(block ? block->Position() : kWireHere);
    request.Blob(data, count);
    BOOL ok = FALSE;
    *written = 0;
    bool answered = Call(request, [&](WireReader& reply) {
        ok = reply.U32() ? TRUE : FALSE;
        *written = reply.U32();
        if (*written > count) reply.Fail();
    });
    if (block) block->Wrote(*written);
    return answered ? ok : FALSE;
}

BOOL SocketSession::WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written) {
    *written = 0;
    const auto* data = static_cast<const uint8_t*>(buffer);
    // Each pass moves up to kMaxTransfer bytes or ends the loop.
    for (;;) {
        DWORD count = std::min(toWrite - *written, kMaxTransfer), done = 0;
        BOOL ok = WritePiece(file, data ? data + *written : nullptr, count, &done);
        *written += done;
        if (!ok || done < count || *written == toWrite) return ok;
    }
}

DWORD SocketSession::SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method) {
    uint64_t high = distanceHigh ? static_cast<uint32_t>(*distanceHigh) : (distance < 0 ? UINT32_MAX : 0);
    ReadAheadBlock* block = FindBlock(file);
    WireWriter request(WireOp::SetFilePointer);
    request.Handle(file);
    request.I64(block ? block->Position() : kWireHere);
    request.U64(high << 32 | static_cast<uint32_t>(distance));
    request.U32(method);
    DWORD low = INVALID_SET_FILE_POINTER, highOut = 0;
    bool answered = Call(request, [&](WireReader& reply) {
        low = reply.U32();
        highOut = reply.U32();
    });
    if (!answered) return INVALID_SET_FILE_POINTER;
    if (lastError == ERROR_SUCCESS) {
        if (distanceHigh) *distanceHigh = static_cast<LONG>(highOut);
        if (block) block->MoveTo(static_cast<int64_t>(uint64_t{highOut} << 32 | low));
    }
    return low;
}

DWORD SocketSession::GetFileSize(HANDLE file, DWORD* high) {
    WireWriter request(WireOp::GetFileSize);
    request.Handle(file);
    DWORD low = INVALID_FILE_SIZE, highOut = 0;
    bool answered = Call(request, [&](WireReader& reply) {
        low = reply.U32();
        highOut = reply.U32();
    });
    if (!answered) return INVALID_FILE_SIZE;
    if (high && lastError == ERROR_SUCCESS) *high = highOut;
    return low;
}

BOOL SocketSession::CloseHandle(HANDLE file) {
    LetGo(Id(file));
    blocks.erase(Id(file));  // closed or not, the handle is done with here
    return OnHandle(WireOp::CloseHandle, file);
}

HANDLE SocketSession::FindFirstFile(std::u16string_view pattern, CE_FIND_DATA* data) {
    WireWriter request(WireOp::FindFirstFile);
    request.Text(pattern);
    HANDLE search = INVALID_HANDLE_VALUE;
    bool answered = Call(request, [&](WireReader& reply) {
        search = reply.Handle();
        if (search != INVALID_HANDLE_VALUE) CopyOut(data, reply.Raw(sizeof(CE_FIND_DATA)));
    });
    if (!answered) return INVALID_HANDLE_VALUE;
    if (search != INVALID_HANDLE_VALUE) Holds(Id(search));
    return search;
}

BOOL SocketSession::FindNextFile(HANDLE search, CE_FIND_DATA* data) {
    WireWriter request(WireOp::FindNextFile);
    request.Handle(search);
    BOOL found = FALSE;
    bool answered = Call(request, [&](WireReader& reply) {
        found = reply.U32() ? TRUE : FALSE;
        if (found) CopyOut(data, reply.Raw(sizeof(CE_FIND_DATA)));
    });
    return answered ? found : FALSE;
}

BOOL SocketSession::FindClose(HANDLE search) {
    LetGo(Id(search));
    return OnHandle(WireOp::FindClose, search);
}

BOOL SocketSession::CreateDirectory(std::u16string_view name) {
    return OnPath(WireOp::CreateDirectory, name);
}

BOOL SocketSession::CopyFile(std::u16string_view from, std::u16string_view to, BOOL failIfExists) {
    WireWriter request(WireOp::CopyFile);
    request.Text(from);
    request.Text(to);
    request.U32(failIfExists ? 1 : 0);
    return CallForBool(request);
}

BOOL SocketSession::MoveFile(std::u16string_view from, std::u16string_view to) {
    WireWriter request(WireOp::MoveFile);
    request.Text(from);
    request.Text(to);
    return CallForBool(request);
}

BOOL SocketSession::DeleteFile(std::u16string_view name) {
    return OnPath(WireOp::DeleteFile, name);
}

LONG SocketSession::RegOpenKeyEx(HKEY root, std::u16string_view subKey, HKEY* result) {
    WireWriter request(WireOp::RegOpenKey);
    request.Handle(root);
    request.Text(subKey);
    LONG code = 0;
    *result = nullptr;
    bool answered = Call(request, [&](WireReader& reply) {
        code = static_cast<LONG>(reply.U32());
        *result = reinterpret_cast<HKEY>(reply.Handle());
    });
    if (answered && *result) Holds(Id(*result));
    return answered ? code : static_cast<LONG>(lastError);
}

LONG SocketSession::RegQueryValueEx(HKEY key, std::u16string_view valueName, DWORD* type, uint8_t* data,
                                    DWORD* dataSize) {
    // Registry values are small; a larger buffer is offered as kMaxTransfer bytes.
    DWORD capacity = dataSize ? std::min(*dataSize, kMaxTransfer) : 0;
    WireWriter request(WireOp::RegQueryValue);
    request.Handle(key);
    request.Text(valueName);
    request.U8((type ? kWantType : 0) | (data ? kWantData : 0) | (dataSize ? kWantDataSize : 0));
    request.U32(type ? *type : 0);
    request.U32(capacity);
    LONG code = 0;
    bool answered = Call(request, [&](WireReader& reply) {
        code = static_cast<LONG>(reply.U32());
        DWORD typeOut = reply.U32(), sizeOut = reply.U32();
        std::span<const uint8_t> bytes = reply.Blob(data ? capacity : 0);
        if (type) *type = typeOut;
        if (dataSize) *dataSize = sizeOut;
        CopyOut(data, bytes);
    });
    return answered ? code : static_cast<LONG>(lastError);
}

LONG SocketSession::RegCloseKey(HKEY key) {
    LetGo(Id(key));
    WireWriter request(WireOp::RegCloseKey);
    request.Handle(key);
    LONG code = 0;
    bool answered = Call(request, [&](WireReader& reply) { code = static_cast<LONG>(reply.U32()); });
    return answered ? code : static_cast<LONG>(lastError);
}

BOOL SocketSession::GetAppState(PhoneAppStatus* status) {
    WireWriter request(WireOp::GetAppState);
    BOOL ok = FALSE;
    bool answered = Call(request, [&](WireReader& reply) {
        ok = reply.U32() ? TRUE : FALSE;
        BOOL installed = reply.U32() ? TRUE : FALSE, running = reply.U32() ? TRUE : FALSE;
        std::u16string version = reply.Text(kMaxVersionUnits);
        if (!ok) return;
        status->installed = installed;
        status->running = running;
        std::fill(std::begin(status->version), std::end(status->version), u'\0');
        std::copy(version.begin(), version.end(), status->version);
    });
    return answered ? ok : FALSE;
}

BOOL SocketSession::CloseApp() {
    WireWriter request(WireOp::CloseApp);
    return CallForBool(request);
}
