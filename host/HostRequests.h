#pragma once
// Answers the requests plug-ins send through the host callback. The phone work runs on a thread of
// its own with its own phone session; the answer (a phone application status) goes to a reply
// function called on that thread, never from inside the callback.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class HostRequests {
public:
    using Reply = std::function<void(uint32_t status)>;

    explicit HostRequests(Reply reply);
    ~HostRequests();
    HostRequests(const HostRequests&) = delete;
    HostRequests& operator=(const HostRequests&) = delete;

    // The callback handed to plug-ins; it reaches the instance made current last.
    static int Callback(const uint32_t* record, intptr_t, intptr_t);
    void MakeCurrent();

    // Queues a request; false for a code that is not a request.
    bool Submit(uint32_t code);
    // Ends the thread after the request in progress; queued ones are dropped.
    void Stop();

    // The status that answers a request, asked of the phone through a session of the calling thread.
    static uint32_t Answer(uint32_t code);

private:
    void Run();

    Reply reply;
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<uint32_t> queue;
    bool stopping = false;
    std::thread thread;
};
