#include "platform/rapi/api/RapiTransport.h"

#include <cstdlib>
#include <mutex>
#include <string_view>

#include "platform/rapi/phone/FolderTransport.h"
#include "platform/rapi/wire/PhoneSocketPath.h"
#include "platform/rapi/client/SocketTransport.h"

namespace {

std::mutex transportMutex;
std::shared_ptr<RapiTransport> transport;

}  // namespace

void RapiSetTransport(std::shared_ptr<RapiTransport> next) {
    std::lock_guard lock(transportMutex);
    transport = std::move(next);
}

std::shared_ptr<RapiTransport> RapiGetTransport() {
    std::lock_guard lock(transportMutex);
    return transport;
}

std::shared_ptr<RapiTransport> RapiDefaultTransport() {
    std::lock_guard lock(transportMutex);
    if (!transport) transport = RapiTransportFromSetting(std::getenv("POCKETDECK_PHONE"));
    return transport;
}

std::shared_ptr<RapiTransport> RapiTransportFromSetting(const char* setting) {
    constexpr std::string_view kFolder = "folder:";
    constexpr std::string_view kUnix = "unix:";
    std::string_view text = setting ? setting : "";
    if (text.starts_with(kFolder) && text.size() > kFolder.size())
        return std::make_shared<FolderTransport>(text.substr(kFolder.size()));
    if (text.starts_with(kUnix) && text.size() > kUnix.size())
        return std::make_shared<SocketTransport>(text.substr(kUnix.size()));
    if (text.empty()) return std::make_shared<SocketTransport>(DefaultPhoneSocketPath());
    return nullptr;
}
