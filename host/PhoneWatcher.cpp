#include "host/PhoneWatcher.h"

#include "platform/rapi/api/Rapi.h"

void PhoneWatcher::Start(std::chrono::milliseconds period) {
    if (thread.joinable()) return;
    stopping = false;
    thread = std::thread([this, period] { Run(period); });
}

void PhoneWatcher::Stop() {
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    if (thread.joinable()) thread.join();
}

void PhoneWatcher::Run(std::chrono::milliseconds period) {
    std::unique_lock lock(mutex);
    while (!stopping) {
        lock.unlock();
        Poll();
        lock.lock();
        wake.wait_for(lock, period, [this] { return stopping; });
    }
    lock.unlock();
    Disconnect();
}

void PhoneWatcher::Poll() {
    PhoneAppStatus status{};
    if (state == State::Connected) {
        if (CePhoneGetAppState(&status)) return;
        Disconnect();
        Report({PhoneReport::Kind::Lost, false, false, {}});
        return;
    }
    if (CeRapiInit() == S_OK) {
        if (CePhoneGetAppState(&status)) {
            state = State::Connected;
            std::u16string_view text(status.version, std::size(status.version));
            std::u16string version(text.substr(0, text.find(u'\0')));
            Report(
                {PhoneReport::Kind::Connected, status.installed != FALSE, status.running != FALSE, version});
            return;
        }
        CeRapiUninit();
    }
    if (state == State::Unknown) Report({PhoneReport::Kind::Absent, false, false, {}});
    state = State::Absent;
}

void PhoneWatcher::Disconnect() {
    if (state != State::Connected) return;
    CeRapiUninit();
    state = State::Absent;
}

void PhoneWatcher::Report(const PhoneReport& report) {
    try {
        listener(report);
    } catch (...) {
        // A listener that fails loses one report; the watch goes on.
    }
}
