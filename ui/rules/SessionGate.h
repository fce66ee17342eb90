#pragma once
// The wallet session's rule as the windows meet it: nothing frees the model while a question or a worker
// of theirs uses it. A lock or a reset that arrives meanwhile is held, and runs once the last hold ends.
class SessionGate {
public:
    virtual ~SessionGate() = default;
    virtual void Enter() = 0;
    virtual void Leave() = 0;
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
