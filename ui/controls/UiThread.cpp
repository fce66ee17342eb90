#include "ui/controls/UiThread.h"

#include <wx/app.h>
#include <wx/thread.h>

#include <future>

#include "diag/STLogFile.h"

namespace {

void RunGuarded(const std::function<void()>& work) {
    try {
        work();
    } catch (...) {
        ST_LOG("Critical Error: a change of the windows failed");
    }
}

}  // namespace

void RunOnUiThread(const std::function<void()>& work) {
    if (wxIsMainThread() || !wxTheApp) {
        RunGuarded(work);
        return;
    }
    std::promise<void> done;
    wxTheApp->CallAfter([&work, &done] {
        RunGuarded(work);
        done.set_value();
    });
    done.get_future().wait();
}
