#pragma once
// One plug-in library, opened and with its twelve entry points resolved; closed when destroyed.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "plugin-api/PluginApi.h"

struct PluginEntryPoints {
    GetPluginInfoProc getPluginInfo = nullptr;
    InitPluginProc initPlugin = nullptr;
    UnInitPluginProc unInitPlugin = nullptr;
    ShowPluginProc showPlugin = nullptr;
    HidePluginProc hidePlugin = nullptr;
    PluginProcProc pluginProc = nullptr;
    CpuProc cpu = nullptr;
    OnStateChangeProc onStateChange = nullptr;
    OnSetUpChangeProc onSetUpChange = nullptr;
    OnOptionsChangedProc onOptionsChanged = nullptr;
    SetSleepTickCountProc setSleepTickCount = nullptr;
    CreateOptionsDialogProc createOptionsDialog = nullptr;
};

class PluginLibrary {
public:
    // nullptr when the library cannot be opened or lacks an entry point; `error` then says why.
    static std::unique_ptr<PluginLibrary> Open(const std::filesystem::path& file, std::string& error);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    const PluginEntryPoints& Call() const { return entry; }
    const std::filesystem::path& File() const { return file; }

private:
    PluginLibrary(void* handle, std::filesystem::path file) : handle(handle), file(std::move(file)) {}
    bool Resolve(std::string& error);

    void* handle;
    std::filesystem::path file;
    PluginEntryPoints entry;
};

// The plug-in libraries (*.so) of a folder, sorted by name; none when the folder cannot be read.
std::vector<std::filesystem::path> ListPluginFiles(const std::filesystem::path& folder);

// The display name in words 6 to 21 of an information record: up to 32 UTF-16 units, two a word.
std::u16string PluginInfoName(const uint32_t (&info)[plugin::kInfoWords]);
