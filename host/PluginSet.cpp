#include "host/PluginSet.h"

#include <wx/accel.h>
#include <wx/bookctrl.h>

#include <algorithm>
#include <set>

#include "platform/Utf16.h"

bool PluginSet::Load(const std::filesystem::path& file, const HostOptionsRecord& options,
                     std::string& error) {
    std::string reason;
    LoadedPlugin plugin;
    plugin.library = PluginLibrary::Open(file, reason);
    if (!plugin.library) {
        error = file.string() + ": " + reason;
        return false;
    }
    uint32_t info[plugin::kInfoWords] = {};
    if (plugin.Call().getPluginInfo(info) == 0) {
        error = file.string() + ": GetPluginInfo failed";
        return false;
    }
    plugin.name = wxString::FromUTF8(Utf16ToUtf8Lossy(PluginInfoName(info)));
    std::vector<wxWindow*> before = BookPages();
    if (plugin.Call().initPlugin(windows.frame, windows.menuBar, windows.toolBar, windows.statusBar,
                                 windows.book, windows.webView, windows.strip, request) == 0) {
        // It releases whatever it made before failing.
        plugin.Call().unInitPlugin();
        error = file.string() + ": InitPlugin failed";
        return false;
    }
    for (wxWindow* page : BookPages()) {
        if (std::find(before.begin(), before.end(), page) == before.end()) plugin.pages.push_back(page);
    }
    plugin.Call().onOptionsChanged(options.data());
    plugins.push_back(std::move(plugin));
    return true;
}

std::vector<std::string> PluginSet::LoadFolders(const std::vector<std::filesystem::path>& folders,
                                                const HostOptionsRecord& options) {
    std::vector<std::string> errors;
    std::set<std::filesystem::path> names;
    for (const auto& folder : folders) {
        for (const auto& file : ListPluginFiles(folder)) {
            if (!names.insert(file.filename()).second) continue;
            std::string error;
            if (!Load(file, options, error)) errors.push_back(error);
        }
    }
    return errors;
}

void PluginSet::ForEach(const std::function<void(const PluginEntryPoints&)>& call) const {
    if (unloaded) return;
    for (const LoadedPlugin& plugin : plugins) call(plugin.Call());
}

wxWindow* PluginSet::FirstPage() const {
    for (const LoadedPlugin& plugin : plugins) {
        if (!plugin.pages.empty()) return plugin.pages.front();
    }
    return nullptr;
}

const LoadedPlugin* PluginSet::Owner(const wxWindow* page) const {
    for (const LoadedPlugin& plugin : plugins) {
        if (std::find(plugin.pages.begin(), plugin.pages.end(), page) != plugin.pages.end()) return &plugin;
    }
    return nullptr;
}

wxAcceleratorTable* PluginSet::Show(const LoadedPlugin& plugin) {
    shown = &plugin;
    void* accelerators = nullptr;
    plugin.Call().showPlugin(nullptr, nullptr, &accelerators);
    return static_cast<wxAcceleratorTable*>(accelerators);
}

bool PluginSet::Hide() {
    if (!shown) return false;
    const LoadedPlugin* leaving = shown;
    shown = nullptr;
    leaving->Call().hidePlugin();
    return true;
}

int PluginSet::Route(int id, int code, void* event) const {
    return shown ? shown->Call().pluginProc(id, code, event, nullptr) : 0;
}

void PluginSet::UnloadAll() {
    if (unloaded) return;
    Hide();
    for (LoadedPlugin& plugin : plugins) plugin.Call().unInitPlugin();
    unloaded = true;
}

std::vector<std::unique_ptr<PluginLibrary>> PluginSet::ReleaseLibraries() {
    UnloadAll();
    std::vector<std::unique_ptr<PluginLibrary>> libraries;
    for (LoadedPlugin& plugin : plugins) libraries.push_back(std::move(plugin.library));
    plugins.clear();
    return libraries;
}

std::vector<wxWindow*> PluginSet::BookPages() const {
    std::vector<wxWindow*> pages;
    for (size_t i = 0; i < windows.book->GetPageCount(); ++i) pages.push_back(windows.book->GetPage(i));
    return pages;
}
