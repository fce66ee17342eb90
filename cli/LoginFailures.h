#pragma once
// Wrong wallet passwords in a row for one phone, kept across runs of the command in its state folder
// (${XDG_STATE_HOME:-$HOME/.local/state}/tessera), one small file per phone, so that guessing through
// repeated runs meets the same lockout as guessing in the login dialog.

#include <filesystem>
#include <string>

class LoginFailures {
public:
    // `phone` names the phone as the command reached it ("unix:PATH" or "folder:PATH").
    explicit LoginFailures(const std::string& phone);

    // One more wrong password; the count in a row, this one included.
    int Add();
    // A right password: the count starts again.
    void Reset();

private:
    int Read() const;

    std::filesystem::path file;
};
