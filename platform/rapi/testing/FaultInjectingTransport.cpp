#include "platform/rapi/testing/FaultInjectingTransport.h"

#include <algorithm>
#include <functional>
#include <mutex>
#include <numeric>
#include <vector>

class FaultPlan {
public:
    struct Fault {
        enum class Kind { None, Fail, Short, Before };
        Kind kind = Kind::None;
        DWORD value = 0;                    // the error of a failure, the byte limit of a short read or write
        std::function<void()> action = {};  // what runs before the call goes on
    };

    void Arm(RapiOp op, uint64_t nth, Fault fault) {
        std::lock_guard lock(mutex);
        armed.push_back({op, std::max<uint64_t>(nth, 1), fault});
    }

    void CutAt(uint64_t nth) {
        std::lock_guard lock(mutex);
        untilCut = std::max<uint64_t>(nth, 1);
    }

    void Disarm() {
        std::lock_guard lock(mutex);
        armed.clear();
        untilCut = 0;
    }

    // Counts a call of op and gives the fault that falls due on it.
    Fault Next(RapiOp op) {
        std::lock_guard lock(mutex);
        ++calls[static_cast<size_t>(op)];
        if (untilCut == 1) return {Fault::Kind::Fail, ERROR_NOT_CONNECTED};
        if (untilCut > 1) --untilCut;
        Fault due;
        for (auto it = armed.begin(); it != armed.end();) {
            if (it->op != op || --it->remaining > 0) {
                ++it;
                continue;
            }
            if (due.kind == Fault::Kind::None) due = it->fault;
            it = armed.erase(it);
        }
        return due;
    }

    uint64_t Calls(RapiOp op) const {
        std::lock_guard lock(mutex);
        return calls[static_cast<size_t>(op)];
    }

    uint64_t TotalCalls() const {
        std::lock_guard lock(mutex);
        return std::accumulate(calls.begin(), calls.end(), uint64_t{0});
    }

    void ResetCounters() {
        std::lock_guard lock(mutex);
        calls.fill(0);
    }

private:
    struct Armed {
        RapiOp op;
        uint64_t remaining;
        Fault fault;
    };

    mutable std::mutex mutex;
    std::array<uint64_t, kRapiOpCount> calls{};
    std::vector<Armed> armed;
    uint64_t untilCut = 0;  // 0: no cut; 1: cut
};

namespace {

using Fault = FaultPlan::Fault;

DWORD Limited(DWORD size, const Fault& fault) {
    return fault.kind == Fault::Kind::Short ? std::min(size, fault.value) : size;
}

class FaultInjectingSession : public RapiSession {
public:
    FaultInjectingSession(std::unique_ptr<RapiSession> inner, std::shared_ptr<FaultPlan> plan)
        : inner(std::move(inner)), plan(std::move(plan)) {}

    HANDLE CreateFile(std::u16string_view name, DWORD access, DWORD share, DWORD disposition,
                      DWORD flags) override {
        if (Fails(RapiOp::CreateFile)) return INVALID_HANDLE_VALUE;
        return Passed(inner->CreateFile(name, access, share, disposition, flags));
    }
    BOOL ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read) override {
        Fault fault = Begin(RapiOp::ReadFile);
        if (fault.kind == Fault::Kind::Fail) {
            *read = 0;
            return FALSE;
        }
        return Passed(inner->ReadFile(file, buffer, Limited(toRead, fault), read));
    }
    BOOL WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written) override {
        Fault fault = Begin(RapiOp::WriteFile);
        if (fault.kind == Fault::Kind::Fail) {
            *written = 0;
            return FALSE;
        }
        return Passed(inner->WriteFile(file, buffer, Limited(toWrite, fault), written));
    }
    DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method) override {
        if (Fails(RapiOp::SetFilePointer)) return INVALID_SET_FILE_POINTER;
        return Passed(inner->SetFilePointer(file, distance, distanceHigh, method));
    }
    DWORD GetFileSize(HANDLE file, DWORD* high) override {
        if (Fails(RapiOp::GetFileSize)) return INVALID_FILE_SIZE;
        return Passed(inner->GetFileSize(file, high));
    }
    BOOL CloseHandle(HANDLE file) override {
        if (Fails(RapiOp::CloseHandle)) return FALSE;
        return Passed(inner->CloseHandle(file));
    }
    HANDLE FindFirstFile(std::u16string_view pattern, CE_FIND_DATA* data) override {
        if (Fails(RapiOp::FindFirstFile)) return INVALID_HANDLE_VALUE;
        return Passed(inner->FindFirstFile(pattern, data));
    }
    BOOL FindNextFile(HANDLE search, CE_FIND_DATA* data) override {
        if (Fails(RapiOp::FindNextFile)) return FALSE;
        return Passed(inner->FindNextFile(search, data));
    }
    BOOL FindClose(HANDLE search) override {
        if (Fails(RapiOp::FindClose)) return FALSE;
        return Passed(inner->FindClose(search));
    }
    BOOL CreateDirectory(std::u16string_view name) override {
        if (Fails(RapiOp::CreateDirectory)) return FALSE;
        return Passed(inner->CreateDirectory(name));
    }
    BOOL CopyFile(std::u16string_view from, std::u16string_view to, BOOL failIfExists) override {
        if (Fails(RapiOp::CopyFile)) return FALSE;
        return Passed(inner->CopyFile(from, to, failIfExists));
    }
    BOOL MoveFile(std::u16string_view from, std::u16string_view to) override {
        if (Fails(RapiOp::MoveFile)) return FALSE;
        return Passed(inner->MoveFile(from, to));
    }
    BOOL DeleteFile(std::u16string_view name) override {
        if (Fails(RapiOp::DeleteFile)) return FALSE;
        return Passed(inner->DeleteFile(name));
    }
    LONG RegOpenKeyEx(HKEY root, std::u16string_view subKey, HKEY* result) override {
        if (Fails(RapiOp::RegOpenKey)) {
            *result = nullptr;
            return static_cast<LONG>(lastError);
        }
        return Passed(inner->RegOpenKeyEx(root, subKey, result));
    }
    LONG RegQueryValueEx(HKEY key, std::u16string_view valueName, DWORD* type, uint8_t* data,
                         DWORD* dataSize) override {
        if (Fails(RapiOp::RegQueryValue)) return static_cast<LONG>(lastError);
        return Passed(inner->RegQueryValueEx(key, valueName, type, data, dataSize));
    }
    LONG RegCloseKey(HKEY key) override {
        if (Fails(RapiOp::RegCloseKey)) return static_cast<LONG>(lastError);
        return Passed(inner->RegCloseKey(key));
    }
    BOOL GetAppState(PhoneAppStatus* status) override {
        if (Fails(RapiOp::GetAppState)) return FALSE;
        return Passed(inner->GetAppState(status));
    }
    BOOL CloseApp() override {
        if (Fails(RapiOp::CloseApp)) return FALSE;
        return Passed(inner->CloseApp());
    }

    DWORD LastError() const override { return lastError; }

private:
    Fault Begin(RapiOp op) {
        Fault fault = plan->Next(op);
        if (fault.kind == Fault::Kind::Fail) lastError = fault.value;
        if (fault.kind == Fault::Kind::Before) fault.action();
        return fault;
    }
    bool Fails(RapiOp op) { return Begin(op).kind == Fault::Kind::Fail; }
    template <typename T>
    T Passed(T result) {
        lastError = inner->LastError();
        return result;
    }

    std::unique_ptr<RapiSession> inner;
    std::shared_ptr<FaultPlan> plan;
    DWORD lastError = ERROR_SUCCESS;
};

}  // namespace

FaultInjectingTransport::FaultInjectingTransport(std::shared_ptr<RapiTransport> inner)
    : inner(std::move(inner)), plan(std::make_shared<FaultPlan>()) {}

std::unique_ptr<RapiSession> FaultInjectingTransport::Connect(DWORD& error) {
    std::unique_ptr<RapiSession> session = inner->Connect(error);
    if (!session) return nullptr;
    return std::make_unique<FaultInjectingSession>(std::move(session), plan);
}

void FaultInjectingTransport::FailCall(RapiOp op, uint64_t nth, DWORD error) {
    plan->Arm(op, nth, {FaultPlan::Fault::Kind::Fail, error});
}

void FaultInjectingTransport::ShortWrite(uint64_t nth, DWORD bytes) {
    plan->Arm(RapiOp::WriteFile, nth, {FaultPlan::Fault::Kind::Short, bytes});
}

void FaultInjectingTransport::ShortRead(uint64_t nth, DWORD bytes) {
    plan->Arm(RapiOp::ReadFile, nth, {FaultPlan::Fault::Kind::Short, bytes});
}

void FaultInjectingTransport::RunBefore(RapiOp op, uint64_t nth, std::function<void()> action) {
    plan->Arm(op, nth, {FaultPlan::Fault::Kind::Before, 0, std::move(action)});
}

void FaultInjectingTransport::CutAt(uint64_t nth) {
    plan->CutAt(nth);
}

void FaultInjectingTransport::Disarm() {
    plan->Disarm();
}

uint64_t FaultInjectingTransport::Calls(RapiOp op) const {
    return plan->Calls(op);
}

uint64_t FaultInjectingTransport::TotalCalls() const {
    return plan->TotalCalls();
}

void FaultInjectingTransport::ResetCounters() {
    plan->ResetCounters();
}
