#include "host/HostRequests.h"

#include <atomic>

#include "platform/rapi/api/Rapi.h"
#include "plugin-api/PluginApi.h"

namespace {

std::atomic<HostRequests*> current{nullptr};

}  // namespace

HostRequests::HostRequests(Reply reply) : reply(std::move(reply)), thread([this] { Run(); }) {}

HostRequests::~HostRequests() {
    Stop();
    HostRequests* self = this;
    current.compare_exchange_strong(self, nullptr);
}

int HostRequests::Callback(const uint32_t* record, intptr_t, intptr_t) {
    HostRequests* requests = current.load();
    if (!record || !requests) return 0;
    return requests->Submit(record[plugin::kMessageCode]) ? 1 : 0;
}

void HostRequests::MakeCurrent() {
    current = this;
}

bool HostRequests::Submit(uint32_t code) {
    if (code != plugin::kRequestAppRunning && code != plugin::kRequestCloseApp) return false;
    {
        std::lock_guard lock(mutex);
        if (stopping) return false;
        queue.push_back(code);
    }
    wake.notify_one();
    return true;
}

void HostRequests::Stop() {
    {
        std::lock_guard lock(mutex);
        stopping = true;
        queue.clear();
    }
    wake.notify_all();
    if (thread.joinable()) thread.join();
}

uint32_t HostRequests::Answer(uint32_t code) {
    bool asksRunning = code == plugin::kRequestAppRunning;
    RapiConnection connection;
    if (!connection.Ok()) return asksRunning ? plugin::kAppNotRunning : plugin::kAppCloseFailed;
    if (!asksRunning) return CePhoneCloseApp() ? plugin::kAppNotRunning : plugin::kAppCloseFailed;
    PhoneAppStatus status{};
    return CePhoneGetAppState(&status) && status.running ? plugin::kAppRunning : plugin::kAppNotRunning;
}

void HostRequests::Run() {
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stopping || !queue.empty(); });
        if (stopping) return;
        uint32_t code = queue.front();
        queue.pop_front();
        lock.unlock();
        uint32_t status = Answer(code);
        try {
            reply(status);
        } catch (...) {
            // The plug-in keeps waiting for this answer; nothing better can be done here.
        }
        lock.lock();
    }
}
