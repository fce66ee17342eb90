#pragma once
// Cleaning up before a signal ends the process: a file of secrets half written, a terminal without echo.

#include <signal.h>

#include <utility>
#include <vector>

// While it lives, every catchable signal whose default is to end the process (Ctrl-C, SIGTERM, SIGHUP,
// SIGUSR1, SIGALRM, the real-time signals, ...) first runs `cleanup`, then is handled as it was before
// (ended by, when nothing else handled it). `cleanup` runs in the signal handler: it may call only
// async-signal-safe functions. Guards nest; one thread makes and ends them.
class EndingSignalCleanup {
public:
    explicit EndingSignalCleanup(void (*cleanup)());
    ~EndingSignalCleanup();
    EndingSignalCleanup(const EndingSignalCleanup&) = delete;
    EndingSignalCleanup& operator=(const EndingSignalCleanup&) = delete;

private:
    int level;
    std::vector<std::pair<int, struct sigaction>> previous;
};
