#include "platform/rapi/TurnTaking.h"

#include <algorithm>
#include <thread>

namespace {

constexpr std::chrono::milliseconds kFirstPause{5};
constexpr std::chrono::milliseconds kLongestPause{100};

}  // namespace

HANDLE OpenWithoutSharing(const char16_t* path, DWORD access, DWORD disposition,
                          std::chrono::milliseconds wait) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + wait;
    std::chrono::milliseconds pause = kFirstPause;
    for (;;) {
        HANDLE file = CeCreateFile(path, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || CeGetLastError() != ERROR_SHARING_VIOLATION) return file;
        Clock::duration left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) return file;
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, left));
        pause = std::min(pause * 2, kLongestPause);
    }
}
