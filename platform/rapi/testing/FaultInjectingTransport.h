#pragma once
// Wraps another transport to count the calls made through its sessions and to make chosen calls fail
// or come up short, for tests of how callers cope. Counting the calls also counts round trips.
//
// A fault is armed for the nth matching call from the moment it is armed (1, or 0, is the next one)
// and fires once. A failing call does nothing and returns its failure result with the given last error;
// a short write writes at most the given number of bytes and reports them with success, a short read
// reads at most that many; an action runs and the call goes on. When two faults come due on the same call,
// the first armed one fires. Thread-safe.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/rapi/api/RapiOp.h"
#include "platform/rapi/api/RapiTransport.h"

class FaultPlan;

class FaultInjectingTransport : public RapiTransport {
public:
    explicit FaultInjectingTransport(std::shared_ptr<RapiTransport> inner);

    using RapiTransport::Connect;
    std::unique_ptr<RapiSession> Connect(DWORD& error) override;

    void FailCall(RapiOp op, uint64_t nth, DWORD error);
    void ShortWrite(uint64_t nth, DWORD bytes);
    void ShortRead(uint64_t nth, DWORD bytes);
    // Runs action before the nth matching call, which then goes on as it would (a test that kills
    // the agent at that moment, for example).
    void RunBefore(RapiOp op, uint64_t nth, std::function<void()> action);
    // Cuts the link at the nth call from now, of any kind: it and every later call fail with
    // ERROR_NOT_CONNECTED, as when the program or the phone goes away, until Disarm.
    void CutAt(uint64_t nth);
    // Forgets every fault not yet fired.
    void Disarm();

    // Calls made since the start or the last reset, failed ones included.
    uint64_t Calls(RapiOp op) const;
    uint64_t TotalCalls() const;
    void ResetCounters();

private:
    std::shared_ptr<RapiTransport> inner;
    std::shared_ptr<FaultPlan> plan;  // shared with the sessions, which may outlive the transport
};
