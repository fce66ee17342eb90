#pragma once
// Helpers for GUI tests: running the event loop until a condition holds, and sending input.
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include <functional>

// Dispatches pending events until done() holds or timeoutMs pass; returns done().
inline bool PumpUntil(const std::function<bool()>& done, long timeoutMs = 5000) {
    wxStopWatch clock;
    while (!done() && clock.Time() < timeoutMs) {
        wxTheApp->ProcessPendingEvents();
        wxEventLoopBase* loop = wxEventLoopBase::GetActive();
        if (loop) {
            while (loop->Pending()) loop->Dispatch();
        }
        wxYield();
        wxMilliSleep(2);
    }
    return done();
}

// Lets queued events (CallAfter, posted events, size events) run.
inline void PumpEvents() {
    for (int i = 0; i < 5; ++i) {
        wxTheApp->ProcessPendingEvents();
        wxYield();
    }
}
