#include "shell/HostRequest.h"

#include "ui/controls/DispatchLoop.h"

HostRequestRecord MakeHostRequest(uint32_t code) {
    HostRequestRecord record{};
    record[plugin::kMessageCode] = code;
    record[plugin::kMessageTag] = plugin::kInterfaceTag;
    return record;
}

void AskHost(HostRequestProc request, uint32_t code, const std::function<bool()>& keepWaiting) {
    if (!request) return;
    HostRequestRecord record = MakeHostRequest(code);
    request(record.data(), 0, 0);
    DispatchWhile(keepWaiting);
}
