#include "shell/HostRequest.h"

#include "shell/TesseraApp.h"
#include "ui/controls/DispatchLoop.h"

HostRequestRecord MakeHostRequest(uint32_t code) {
    HostRequestRecord record{};
    record[plugin::kMessageCode] = code;
    record[plugin::kMessageTag] = plugin::kInterfaceTag;
    return record;
}

void AskHost(uint32_t code, const std::function<bool()>& keepWaiting) {
    HostRequestProc request = TheApp().hostRequest;
    if (!request) return;
    HostRequestRecord record = MakeHostRequest(code);
    request(record.data(), 0, 0);
    DispatchWhile(keepWaiting);
}
