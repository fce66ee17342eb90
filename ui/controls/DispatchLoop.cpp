#include "ui/controls/DispatchLoop.h"

#include <wx/app.h>
#include <wx/evtloop.h>

namespace {

constexpr unsigned long kDispatchSliceMs = 20;

}  // namespace

void DispatchWhile(const std::function<bool()>& keepWaiting) {
    wxGUIEventLoop loop;
    wxEventLoopActivator active(&loop);
    while (keepWaiting()) {
        loop.DispatchTimeout(kDispatchSliceMs);
        if (wxTheApp) wxTheApp->ProcessPendingEvents();
    }
}
