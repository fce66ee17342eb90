#pragma once
// The host's options record: eight little-endian 32-bit words kept in one 32-byte file that the host
// and its plug-ins share. Words 0 to 6 are the host's, word 7 the plug-ins' idle lock minutes.
#include <filesystem>

#include "plugin-api/PluginApi.h"

class HostOptions {
public:
    static constexpr int kStatusBarHidden = 0;
    static constexpr int kIdleLockMinutes = plugin::kIdleMinutesWord;

    // The record in the file, or the defaults when it cannot be read or is shorter than 32 bytes.
    static HostOptions Read(const std::filesystem::path& file);
    // Writes all 32 bytes, creating the folder and the file; false when that fails.
    bool Write(const std::filesystem::path& file) const;

    const HostOptionsRecord& Record() const { return record; }
    uint32_t Word(int index) const { return record[index]; }
    void SetWord(int index, uint32_t value) { record[index] = value; }

    bool StatusBarShown() const { return record[kStatusBarHidden] == 0; }
    void SetStatusBarShown(bool shown) { record[kStatusBarHidden] = shown ? 0 : 1; }

private:
    HostOptionsRecord record{0, 0, 0, 0, 0, 0, 0, plugin::kDefaultIdleMinutes};
};
