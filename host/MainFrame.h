#pragma once
// The host's main frame: the windows it lends to plug-ins (menu bar, toolbar, status bar, navigation
// bar, web view, strip window), the switching between plug-ins, the routing of commands to the shown
// one, and the phone's, the requests' and the idle time's news for every plug-in.
#include <wx/aui/framemanager.h>
#include <wx/frame.h>
#include <wx/timer.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/HostOptions.h"
#include "host/HostRequests.h"
#include "host/IdleTracker.h"
#include "host/PhoneWatcher.h"
#include "host/PluginSet.h"

class PhonePanel;
class wxBookCtrlEvent;
class wxEventFilter;

class MainFrame : public wxFrame {
public:
    MainFrame(const std::vector<std::filesystem::path>& pluginFolders, std::filesystem::path optionsFile);
    ~MainFrame() override;

    // Makes the child that carries the main-view identifier the centre pane.
    bool Layout() override;

    const HostWindows& Windows() const { return windows; }
    const PluginSet& Plugins() const { return plugins; }
    const std::vector<std::string>& LoadErrors() const { return loadErrors; }
    wxWindow* CentreView() const { return centre; }
    wxAuiManager& Docking() { return docking; }

    // Tells the user once about the plug-ins that did not load.
    void ReportLoadErrors();
    void ShowOptions();
    void NoteInput() { idle.NoteInput(); }

private:
    void CreateBars();
    void CreatePanes();
    void LoadPlugins(const std::vector<std::filesystem::path>& folders);
    void RestoreHostUi();
    void SwitchTo(wxWindow* page);
    void ApplyOptions(const HostOptions& changed);
    void ShowStatusBar(bool show);
    void SetPhoneState(const wxString& state);
    void OnPhoneReport(const PhoneReport& report);
    void DeliverAppStatus(uint32_t status);
    void Shutdown();
    void CloseLibrariesLater();

    void OnMenu(wxCommandEvent& event);
    void OnUpdateUi(wxUpdateUIEvent& event);
    void OnToolbarText(wxCommandEvent& event, int code);
    void OnPageChanged(wxBookCtrlEvent& event);
    void OnIdleTimer(wxTimerEvent& event);
    void OnClose(wxCloseEvent& event);
    void Route(wxCommandEvent& event, int code);

    std::filesystem::path optionsFile;
    HostOptions options;
    wxAuiManager docking;
    HostWindows windows;
    PhonePanel* phonePage = nullptr;
    PhonePanel* strip = nullptr;
    wxWindow* centre = nullptr;
    PluginSet plugins;  // after `windows`, which it reads
    std::vector<std::string> loadErrors;
    IdleTracker idle;
    std::unique_ptr<wxEventFilter> inputFilter;
    wxTimer idleTimer;
    HostRequests requests;
    PhoneWatcher watcher;
    const wxEvent* routing = nullptr;  // the event being offered to the plug-in
    bool closing = false;
    bool inLayout = false;
};
