#include "platform/rapi/client/TurnTaking.h"

#include <algorithm>
#include <thread>

namespace {

constexpr std::chrono::milliseconds kFirstPause{5};
constexpr std::chrono::milliseconds kLongestPause{100};

}  // namespace

bool TakeTurns(const std::function<bool()>& attempt, std::chrono::milliseconds wait) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + wait;
    std::chrono::milliseconds pause = kFirstPause;
    for (;;) {
        if (attempt()) return true;
        if (CeGetLastError() != ERROR_SHARING_VIOLATION) return false;
        Clock::duration left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, left));
        pause = std::min(pause * 2, kLongestPause);
    }
}

HANDLE OpenWithoutSharing(const char16_t* path, DWORD access, DWORD disposition,
                          std::chrono::milliseconds wait) {
    HANDLE file = INVALID_HANDLE_VALUE;
    TakeTurns(
        [&] {
            file = CeCreateFile(path, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
            return file != INVALID_HANDLE_VALUE;
        },
        wait);
    return file;
}

BOOL CopyInTurn(const char16_t* from, const char16_t* to, BOOL failIfExists) {
    return TakeTurns([&] { return CeCopyFile(from, to, failIfExists) != FALSE; }) ? TRUE : FALSE;
}

BOOL MoveInTurn(const char16_t* from, const char16_t* to) {
    return TakeTurns([&] { return CeMoveFile(from, to) != FALSE; }) ? TRUE : FALSE;
}

BOOL DeleteInTurn(const char16_t* path) {
    return TakeTurns([&] { return CeDeleteFile(path) != FALSE; }) ? TRUE : FALSE;
}
