#pragma once
// The wallet session as the windows meet it: nothing frees the model while a question or a worker of
// theirs uses it (a lock or a reset that arrives meanwhile is held, and runs once the last hold ends), and
// a worker of theirs reaches the phone through a connection the session makes.
#include <memory>

// A worker thread's own phone connection, open for as long as it lives.
class WorkerConnection {
public:
    virtual ~WorkerConnection() = default;
};

class SessionGate {
public:
    virtual ~SessionGate() = default;
    virtual void Enter() = 0;
    virtual void Leave() = 0;
    // Called on the worker thread itself; null when the phone cannot be reached.
    virtual std::unique_ptr<WorkerConnection> ConnectWorker() = 0;
};

// Holds the gate for as long as it lives; no gate, no hold.
class SessionHold {
public:
    explicit SessionHold(SessionGate* gate) : gate(gate) {
        if (gate) gate->Enter();
    }
    ~SessionHold() {
        if (gate) gate->Leave();
    }
    SessionHold(const SessionHold&) = delete;
    SessionHold& operator=(const SessionHold&) = delete;

private:
    SessionGate* gate;
};
