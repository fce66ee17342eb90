#pragma once
// The two ends of a link in one process, for the link fuzzers. The fuzzer's bytes are queued for the
// tested end at once and that direction is closed; what the tested end sends back waits unread in socket
// buffers made large enough for any run, so that no thread is needed and no side waits.

#include <cstdint>
#include <vector>

#include "platform/rapi/wire/UniqueFd.h"
#include "platform/rapi/wire/WireFrame.h"

class FuzzLink {
public:
    explicit FuzzLink(const std::vector<uint8_t>& feed);

    // The tested end; owned by the link.
    int Tested() const { return tested.Get(); }
    // Hands the tested end over (a client session owns its socket).
    UniqueFd TakeTested() { return std::move(tested); }

private:
    UniqueFd tested, peer;
};

// A whole frame as it travels.
std::vector<uint8_t> FrameBytes(WireWriter& frame);
