#pragma once
// The loaded plug-ins: loads them in the documented order with the host's windows, knows which
// navigation pages each one added, shows and hides them, and calls them all in turn.
#include <wx/string.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/HostOptions.h"
#include "host/PluginLibrary.h"

class wxAcceleratorTable;
class wxBookCtrlBase;
class wxFrame;
class wxHtmlWindow;
class wxMenuBar;
class wxStatusBar;
class wxToolBar;
class wxWindow;

// The seven handles InitPlugin takes, in order.
struct HostWindows {
    wxFrame* frame = nullptr;
    wxMenuBar* menuBar = nullptr;
    wxToolBar* toolBar = nullptr;
    wxStatusBar* statusBar = nullptr;
    wxBookCtrlBase* book = nullptr;
    wxHtmlWindow* webView = nullptr;
    wxWindow* strip = nullptr;
};

struct LoadedPlugin {
    std::unique_ptr<PluginLibrary> library;
    wxString name;
    std::vector<wxWindow*> pages;  // the navigation pages added while it initialised

    const PluginEntryPoints& Call() const { return library->Call(); }
};

class PluginSet {
public:
    // The windows are read when a plug-in loads, so the host may create them after this.
    PluginSet(const HostWindows& windows, HostRequestProc request) : windows(windows), request(request) {}
    PluginSet(const PluginSet&) = delete;
    PluginSet& operator=(const PluginSet&) = delete;

    // Loads a plug-in and gives it the options; false with a line naming the file and the reason.
    bool Load(const std::filesystem::path& file, const HostOptionsRecord& options, std::string& error);
    // Loads every plug-in of the folders, a file name found in an earlier folder hiding the same name in a
    // later one; the errors of those that did not load.
    std::vector<std::string> LoadFolders(const std::vector<std::filesystem::path>& folders,
                                         const HostOptionsRecord& options);

    const std::deque<LoadedPlugin>& Plugins() const { return plugins; }
    void ForEach(const std::function<void(const PluginEntryPoints&)>& call) const;
    wxWindow* FirstPage() const;
    const LoadedPlugin* Owner(const wxWindow* page) const;

    const LoadedPlugin* Shown() const { return shown; }
    // Shows a plug-in; the accelerator table it gives (owned by it), or nullptr.
    wxAcceleratorTable* Show(const LoadedPlugin& plugin);
    // Hides the shown plug-in; false when none was shown.
    bool Hide();
    // Offers an event to the shown plug-in; its result, or 0 when none is shown.
    int Route(int id, int code, void* event) const;

    // Hides the shown plug-in and ends every plug-in; the libraries stay open until released.
    void UnloadAll();
    std::vector<std::unique_ptr<PluginLibrary>> ReleaseLibraries();

private:
    std::vector<wxWindow*> BookPages() const;

    const HostWindows& windows;
    HostRequestProc request;
    std::deque<LoadedPlugin> plugins;  // a deque keeps `shown` valid as plug-ins are added
    const LoadedPlugin* shown = nullptr;
    bool unloaded = false;
};
