#pragma once
// The plug-in's local settings: the four fonts its forms draw with, the host's options record, of which
// the plug-in reads and changes only the idle lock minutes (word 7), and the password generator's choice,
// kept in a file of the plug-in's own beside the record.
#include <wx/font.h>

#include <filesystem>

#include "platform/HostOptionsFile.h"
#include "plugin-api/PluginApi.h"
#include "ui/rules/PasswordGenerator.h"

class CSettings {
public:
    CSettings();
    CSettings(const CSettings&) = delete;
    CSettings& operator=(const CSettings&) = delete;

    // Fonts 1 to 4: 9 pt medium, 10 pt bold, 9 pt bold, 10 pt bold underlined.
    const wxFont& Font(int number) const;

    int IdleMinutes() const { return static_cast<int32_t>(record[plugin::kIdleMinutesWord]); }
    void SetIdleMinutes(int minutes) { record[plugin::kIdleMinutesWord] = static_cast<uint32_t>(minutes); }

    // At start-up: the file's record replaces the defaults when it reads, and so does a valid generator
    // file beside it.
    void Load(const std::filesystem::path& file);
    // At unload: the minutes are written back only when the file reads and holds other minutes; the
    // generator's choice only when it differs from what its file gives.
    void Save(const std::filesystem::path& file) const;

    // The platform's font height for a point size: -(points * dpi / 72), rounded half away from 0.
    static int FontHeight(int points, int dpi);
    // The generator's file beside the options record.
    static std::filesystem::path GeneratorFile(const std::filesystem::path& optionsFile);

    GeneratorChoice generator;

private:
    HostOptionsRecord record{0, 0, 0, 0, 0, 0, 0, plugin::kDefaultIdleMinutes};
    wxFont fonts[4];
};
