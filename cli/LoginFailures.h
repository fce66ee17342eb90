#pragma once
// Wrong wallet passwords in a row for one phone, kept across runs of the command in its state folder
// (${XDG_STATE_HOME:-$HOME/.local/state}/tessera), one small file per phone, so that guessing through
// repeated runs meets the same lockout as guessing in the login dialog. A lockout the command starts is
// noted there too: only the plug-in counts a lockout down on the phone, so the command works out from the
// note's time how much of it is left.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

class LoginFailures {
public:
    // `phone` names the phone as the command reached it ("unix:PATH" or "folder:PATH").
    explicit LoginFailures(const std::string& phone);

    // One more wrong password; the count in a row, this one included. Any lockout noted is over by now.
    int Add();
    // A right password: the count starts again.
    void Reset();
    // A lockout of lengthMs starts now; the count starts again.
    void LockoutStarted(int32_t lengthMs);
    // What is left of the lockout this command started, in whole minutes of countdown as the plug-in
    // counts; nothing when it started none.
    std::optional<int32_t> LockoutLeftMs() const;

private:
    struct Note {
        int count = 0;
        int32_t lockoutMs = 0;
    };
    Note Read() const;
    void Write(const Note& note);

    std::filesystem::path file;
};
