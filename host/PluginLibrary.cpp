#include "host/PluginLibrary.h"

#include <dlfcn.h>

#include <algorithm>

namespace {

constexpr int kInfoNameWord = 6;

// Looks up one entry point; false with the name in `error` when the library lacks it.
template <typename Proc>
bool Find(void* handle, const char* name, Proc& proc, std::string& error) {
    proc = reinterpret_cast<Proc>(::dlsym(handle, name));
    if (!proc) error = std::string("the entry point ") + name + " is missing";
    return proc != nullptr;
}

}  // namespace

std::unique_ptr<PluginLibrary> PluginLibrary::Open(const std::filesystem::path& file, std::string& error) {
    void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = ::dlerror();
        error = std::string("cannot be loaded: ") + (reason ? reason : "unknown error");
        return nullptr;
    }
    std::unique_ptr<PluginLibrary> library(new PluginLibrary(handle, file));
    if (!library->Resolve(error)) return nullptr;
    return library;
}

PluginLibrary::~PluginLibrary() {
    ::dlclose(handle);
}

bool PluginLibrary::Resolve(std::string& error) {
    return Find(handle, "GetPluginInfo", entry.getPluginInfo, error) &&
           Find(handle, "InitPlugin", entry.initPlugin, error) &&
           Find(handle, "UnInitPlugin", entry.unInitPlugin, error) &&
           Find(handle, "ShowPlugin", entry.showPlugin, error) &&
           Find(handle, "HidePlugin", entry.hidePlugin, error) &&
           Find(handle, "PluginProc", entry.pluginProc, error) && Find(handle, "CPU", entry.cpu, error) &&
           Find(handle, "OnStateChange", entry.onStateChange, error) &&
           Find(handle, "OnSetUpChange", entry.onSetUpChange, error) &&
           Find(handle, "OnOptionsChanged", entry.onOptionsChanged, error) &&
           Find(handle, "SetSleepTickCount", entry.setSleepTickCount, error) &&
           Find(handle, "CreateOptionsDialog", entry.createOptionsDialog, error);
}

std::vector<std::filesystem::path> ListPluginFiles(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    std::filesystem::directory_iterator entry(folder, error), end;
    for (; !error && entry != end; entry.increment(error)) {
        std::error_code typeError;
        if (entry->path().extension() == ".so" && entry->is_regular_file(typeError)) {
            files.push_back(entry->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::u16string PluginInfoName(const uint32_t (&info)[plugin::kInfoWords]) {
    std::u16string name;
    for (int i = 0; i < plugin::kInfoNameUnits; ++i) {
        uint32_t word = info[kInfoNameWord + i / 2];
        auto unit = static_cast<char16_t>(i % 2 == 0 ? word & 0xFFFF : word >> 16);
        if (unit == 0) break;
        name.push_back(unit);
    }
    return name;
}
