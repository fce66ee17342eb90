#pragma once
// `tessera-phone serve`: the phone agent in the foreground until SIGINT or SIGTERM.

#include <string>

struct ServeOptions {
    std::string phoneDir;
    std::string socket;  // empty: the default socket (PhoneSocketPath.h)
};

// Serves the phone folder on the socket until stopped; the exit status.
int ServePhone(const ServeOptions& options);
