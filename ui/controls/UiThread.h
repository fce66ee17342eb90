#pragma once
// A worker's way to the windows: only the user-interface thread touches them.
#include <functional>

// Runs work on the user-interface thread and returns when it has run; on that thread, at once. The
// user-interface thread must be dispatching events meanwhile (as it does while a progress dialog waits
// for the worker).
void RunOnUiThread(const std::function<void()>& work);
