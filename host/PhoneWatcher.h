#pragma once
// Watches for the phone on a thread of its own: connects when it appears, checks once a period that it
// is still there, and reports each change to a listener (called on the watching thread).
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

struct PhoneReport {
    // Absent: the first look found no phone. Lost: a connected phone went away.
    enum class Kind { Absent, Connected, Lost };
    Kind kind = Kind::Absent;
    bool installed = false;
    bool running = false;
    std::u16string version;
};

class PhoneWatcher {
public:
    using Listener = std::function<void(const PhoneReport&)>;

    explicit PhoneWatcher(Listener listener) : listener(std::move(listener)) {}
    ~PhoneWatcher() { Stop(); }
    PhoneWatcher(const PhoneWatcher&) = delete;
    PhoneWatcher& operator=(const PhoneWatcher&) = delete;

    void Start(std::chrono::milliseconds period = std::chrono::seconds(1));
    // Ends the thread and its phone session; returns once the thread has ended.
    void Stop();

    // One look at the phone through the calling thread's session.
    void Poll();
    // Ends the calling thread's session if the watch holds one.
    void Disconnect();

private:
    enum class State { Unknown, Absent, Connected };

    void Run(std::chrono::milliseconds period);
    void Report(const PhoneReport& report);

    Listener listener;
    State state = State::Unknown;
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    std::thread thread;
};
