#include "platform/EndingSignals.h"

#include <algorithm>
#include <atomic>

namespace {

constexpr int kEndingSignals[] = {SIGHUP,    SIGINT,  SIGQUIT, SIGABRT,   SIGUSR1, SIGUSR2,
                                  SIGPIPE,   SIGALRM, SIGTERM, SIGSTKFLT, SIGXCPU, SIGXFSZ,
                                  SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,    SIGSYS};

// The living guards' cleanups, and the dispositions the outermost replaced, for the handler.
constexpr int kMaxDepth = 4;
std::atomic<void (*)()> cleanups[kMaxDepth];
std::atomic<int> depth{0};
struct sigaction replaced[NSIG];

void CleanUpAndPassOn(int signal) {
    for (int i = std::min(depth.load(), kMaxDepth) - 1; i >= 0; --i)
        if (void (*cleanup)() = cleanups[i].load()) cleanup();
    sigaction(signal, &replaced[signal], nullptr);
    raise(signal);  // blocked until the handler returns: then handled as before the guards
}

std::vector<int> EndingSignals() {
    std::vector<int> signals(std::begin(kEndingSignals), std::end(kEndingSignals));
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) signals.push_back(signal);
    return signals;
}

}  // namespace

EndingSignalCleanup::EndingSignalCleanup(void (*cleanup)()) : level(depth.load()) {
    if (level < kMaxDepth) cleanups[level] = cleanup;
    depth = level + 1;
    struct sigaction action {};
    action.sa_handler = CleanUpAndPassOn;
    action.sa_flags = SA_RESTART;
    sigfillset(&action.sa_mask);
    for (int signal : EndingSignals()) {
        struct sigaction old {};
        if (sigaction(signal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;  // nohup and kin
        if (old.sa_handler != CleanUpAndPassOn) replaced[signal] = old;
        sigaction(signal, &action, nullptr);
        previous.emplace_back(signal, old);
    }
}

EndingSignalCleanup::~EndingSignalCleanup() {
    for (const auto& [signal, old] : previous) sigaction(signal, &old, nullptr);
    depth = level;
    if (level < kMaxDepth) cleanups[level] = nullptr;
}
