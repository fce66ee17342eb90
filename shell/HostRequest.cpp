#include "shell/HostRequest.h"

#include <wx/app.h>
#include <wx/evtloop.h>

#include "shell/TesseraApp.h"

namespace {

constexpr unsigned long kDispatchSliceMs = 50;

void DispatchWhile(uint32_t waitWhile) {
    wxGUIEventLoop loop;
    wxEventLoopActivator active(&loop);
    while (Module().appStatus == waitWhile) {
        loop.DispatchTimeout(kDispatchSliceMs);
        if (wxTheApp) wxTheApp->ProcessPendingEvents();
    }
}

}  // namespace

HostRequestRecord MakeHostRequest(uint32_t code) {
    HostRequestRecord record{};
    record[plugin::kMessageCode] = code;
    record[plugin::kMessageTag] = plugin::kInterfaceTag;
    return record;
}

uint32_t AskHost(uint32_t code, uint32_t waitWhile) {
    HostRequestProc request = TheApp().hostRequest;
    if (!request) return Module().appStatus;
    HostRequestRecord record = MakeHostRequest(code);
    request(record.data(), 0, 0);
    DispatchWhile(waitWhile);
    return Module().appStatus;
}
