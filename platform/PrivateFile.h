#pragma once
// Writing a file that holds secrets: whole or not at all, readable by its owner only, and never through a
// file or link that someone else put in its place. The contents go to a new file made beside the target
// (created exclusively, owner-only, no link followed), which is then renamed over it; on any failure the
// new file is removed and the target stays as it was, also when a signal ends the process (Ctrl-C,
// SIGTERM) while it is written. New files that an earlier write killed outright (SIGKILL) left beside the
// target are removed by the next write to it.

#include <filesystem>
#include <functional>
#include <string>

// `write` fills the new file through its descriptor and says whether it all went in (errno set when not).
// An existing target that is not a regular file of this user is refused. False with `error` set to why.
bool WritePrivateFile(const std::filesystem::path& file, const std::function<bool(int fd)>& write,
                      std::string& error);
