#include "host/MainFrame.h"

#include <wx/accel.h>
#include <wx/app.h>
#include <wx/eventfilter.h>
#include <wx/html/htmlwin.h>
#include <wx/imaglist.h>
#include <wx/listbook.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include <array>
#include <cstdio>

#include "host/AppVersion.h"
#include "host/HostUi.h"
#include "host/OptionsDialog.h"
#include "plugin-api/PluginApi.h"

namespace {

constexpr int kIdleReportMs = 1000;
constexpr int kNavigationWidth = 240;
const char kTitle[] = "Quillmark Pocketdeck";
const char kNoPhone[] = "No phone connected";

// Notes every key and mouse input of the application as the user's activity.
class InputFilter : public wxEventFilter {
public:
    explicit InputFilter(MainFrame& frame) : frame(frame) {}
    int FilterEvent(wxEvent& event) override {
        wxEventType type = event.GetEventType();
        if (type == wxEVT_KEY_DOWN || type == wxEVT_MOTION || type == wxEVT_MOUSEWHEEL ||
            type == wxEVT_LEFT_DOWN || type == wxEVT_RIGHT_DOWN || type == wxEVT_MIDDLE_DOWN) {
            frame.NoteInput();
        }
        return Event_Skip;
    }

private:
    MainFrame& frame;
};

// Holds the plug-in libraries until it is deleted, after the frame whose windows may use their code.
class LibraryCloser : public wxObject {
public:
    explicit LibraryCloser(std::vector<std::unique_ptr<PluginLibrary>> libraries)
        : libraries(std::move(libraries)) {}

private:
    std::vector<std::unique_ptr<PluginLibrary>> libraries;
};

std::array<uint32_t, plugin::kMessageWords> StatusMessage(uint32_t status) {
    std::array<uint32_t, plugin::kMessageWords> message{};
    message[plugin::kMessageStatus] = status;
    message[plugin::kMessageTag] = plugin::kInterfaceTag;
    return message;
}

}  // namespace

MainFrame::MainFrame(const std::vector<std::filesystem::path>& pluginFolders,
                     std::filesystem::path optionsFile)
    : wxFrame(nullptr, wxID_ANY, kTitle, wxDefaultPosition, wxSize(1000, 700)),
      optionsFile(std::move(optionsFile)),
      options(HostOptions::Read(this->optionsFile)),
      plugins(windows, &HostRequests::Callback),
      inputFilter(std::make_unique<InputFilter>(*this)),
      idleTimer(this),
      requests([this](uint32_t status) { CallAfter([this, status] { DeliverAppStatus(status); }); }),
      watcher([this](const PhoneReport& report) { CallAfter([this, report] { OnPhoneReport(report); }); }) {
    windows.frame = this;
    docking.SetManagedWindow(this);
    CreateBars();
    CreatePanes();
    Bind(wxEVT_MENU, &MainFrame::OnMenu, this);
    Bind(wxEVT_UPDATE_UI, &MainFrame::OnUpdateUi, this);
    // A plug-in's edit box on the toolbar: each change of its text, and Enter as the box's command.
    Bind(wxEVT_TEXT, [this](wxCommandEvent& event) { OnToolbarText(event, plugin::kCodeEditChange); });
    Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent& event) { OnToolbarText(event, plugin::kCodeCommand); });
    Bind(wxEVT_TIMER, &MainFrame::OnIdleTimer, this, idleTimer.GetId());
    Bind(wxEVT_CLOSE_WINDOW, &MainFrame::OnClose, this);
    windows.book->Bind(wxEVT_LISTBOOK_PAGE_CHANGED, &MainFrame::OnPageChanged, this);
    requests.MakeCurrent();
    wxEvtHandler::AddFilter(inputFilter.get());
    LoadPlugins(pluginFolders);
    idleTimer.Start(kIdleReportMs);
    watcher.Start();
}

MainFrame::~MainFrame() {
    Shutdown();
    docking.UnInit();
    CloseLibrariesLater();
}

void MainFrame::CreateBars() {
    windows.menuBar = new wxMenuBar;
    FillHostMenus(windows.menuBar);
    SetMenuBar(windows.menuBar);
    windows.toolBar = CreateToolBar(wxTB_HORIZONTAL | wxTB_TEXT);
    FillHostTools(windows.toolBar);
    windows.statusBar = CreateStatusBar();
    SetStatusText("Connecting...");
    ShowStatusBar(options.StatusBarShown());
}

void MainFrame::CreatePanes() {
    auto* book = new wxListbook(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLB_TOP);
    auto* images = new wxImageList(32, 32);
    images->Add(PhonePicture(32));
    book->AssignImageList(images);
    phonePage = new PhonePanel(book, "Connecting...");
    book->AddPage(phonePage, "Phone", true, 0);
    windows.book = book;
    docking.AddPane(book, wxAuiPaneInfo()
                              .Name("navigation")
                              .Caption("Navigation")
                              .Left()
                              .CloseButton(false)
                              .BestSize(kNavigationWidth, -1)
                              .MinSize(kNavigationWidth / 2, -1));

    auto* webView = new wxHtmlWindow(this);
    webView->SetId(AFX_IDW_PANE_FIRST);  // above wx's range for new windows (wxkit/FixedIds.h)
    webView->SetPage("<html><body><h2>Quillmark Pocketdeck</h2></body></html>");
    windows.webView = webView;
    strip = new PhonePanel(this, "Connecting...");
    strip->Hide();
    windows.strip = strip;
    Layout();
}

void MainFrame::LoadPlugins(const std::vector<std::filesystem::path>& folders) {
    loadErrors = plugins.LoadFolders(folders, options.Record());
    for (const std::string& error : loadErrors) std::fprintf(stderr, "pocketdeck: %s\n", error.c_str());
    if (wxWindow* first = plugins.FirstPage()) {
        int index = windows.book->FindPage(first);
        if (index != wxNOT_FOUND) windows.book->SetSelection(index);
    }
}

void MainFrame::ReportLoadErrors() {
    if (loadErrors.empty()) return;
    wxString text = "These plug-ins could not be loaded:\n";
    for (const std::string& error : loadErrors) text += "\n" + wxString::FromUTF8(error);
    wxMessageBox(text, kTitle, wxOK | wxICON_WARNING, this);
}

bool MainFrame::Layout() {
    // The docking manager lays out through the frame's own Layout while it updates.
    if (!docking.GetManagedWindow() || inLayout) return wxFrame::Layout();
    inLayout = true;
    wxWindow* view = nullptr;
    for (wxWindow* child : GetChildren()) {
        if (child->GetId() == AFX_IDW_PANE_FIRST) view = child;
    }
    if (view && view != centre) {
        if (centre) {
            docking.DetachPane(centre);
            centre->Hide();
        }
        docking.AddPane(view, wxAuiPaneInfo().Name("view").CentrePane());
        centre = view;
    }
    if (centre) centre->Show();
    docking.Update();
    inLayout = false;
    return true;
}

void MainFrame::RestoreHostUi() {
    FillHostMenus(windows.menuBar);
    FillHostTools(windows.toolBar);
    SetAcceleratorTable(wxNullAcceleratorTable);
    Layout();
}

void MainFrame::SwitchTo(wxWindow* page) {
    const LoadedPlugin* next = plugins.Owner(page);
    if (next == plugins.Shown()) return;
    if (plugins.Hide()) RestoreHostUi();
    if (!next) return;
    if (wxAcceleratorTable* table = plugins.Show(*next)) SetAcceleratorTable(*table);
}

void MainFrame::ShowOptions() {
    OptionsDialog dialog(this, options, plugins,
                         [this](const HostOptions& changed) { ApplyOptions(changed); });
    dialog.ShowModal();
}

void MainFrame::ApplyOptions(const HostOptions& changed) {
    options = changed;
    if (!options.Write(optionsFile))
        wxLogError("The options could not be saved in %s.", optionsFile.string());
    plugins.ForEach(
        [this](const PluginEntryPoints& call) { call.onOptionsChanged(options.Record().data()); });
    ShowStatusBar(options.StatusBarShown());
}

void MainFrame::ShowStatusBar(bool show) {
    windows.statusBar->Show(show);
    SendSizeEvent();
}

void MainFrame::SetPhoneState(const wxString& state) {
    SetStatusText(state);
    phonePage->SetState(state);
    strip->SetState(state);
}

void MainFrame::OnPhoneReport(const PhoneReport& report) {
    if (closing) return;
    if (report.kind != PhoneReport::Kind::Connected) {
        SetPhoneState(kNoPhone);
        if (report.kind == PhoneReport::Kind::Lost) {
            plugins.ForEach(
                [](const PluginEntryPoints& call) { call.onStateChange(plugin::kStateDisconnected); });
        }
        return;
    }
    SetPhoneState("Phone connected");
    VersionWords version = ParseVersionWords(report.version);
    auto message = StatusMessage(report.running ? plugin::kAppRunning : plugin::kAppNotRunning);
    plugins.ForEach([&](const PluginEntryPoints& call) {
        call.onStateChange(plugin::kStateConnected);
        call.onSetUpChange(plugin::kSetUpPhone, version.data());
        call.cpu(message.data());
    });
}

void MainFrame::DeliverAppStatus(uint32_t status) {
    if (closing) return;
    auto message = StatusMessage(status);
    plugins.ForEach([&](const PluginEntryPoints& call) { call.cpu(message.data()); });
}

void MainFrame::OnMenu(wxCommandEvent& event) {
    switch (event.GetId()) {
        case ID_APP_EXIT:
            Close();
            break;
        case ID_VIEW_STATUS_BAR:
            options.SetStatusBarShown(!windows.statusBar->IsShown());
            ShowStatusBar(options.StatusBarShown());
            options.Write(optionsFile);
            break;
        case ID_APP_ABOUT:
            wxMessageBox("Quillmark Pocketdeck\n\nBrings the phone's applications to the desktop.",
                         "About Quillmark Pocketdeck", wxOK | wxICON_INFORMATION, this);
            break;
        case ID_HOST_OPTIONS:
            ShowOptions();
            break;
        default:
            Route(event, plugin::kCodeCommand);
    }
}

void MainFrame::OnUpdateUi(wxUpdateUIEvent& event) {
    switch (event.GetId()) {
        case ID_VIEW_STATUS_BAR:
            event.Check(windows.statusBar->IsShown());
            break;
        case ID_APP_EXIT:
        case ID_APP_ABOUT:
        case ID_HOST_OPTIONS:
            event.Enable(true);
            break;
        default:
            Route(event, plugin::kCodeUpdateUi);
    }
}

void MainFrame::OnToolbarText(wxCommandEvent& event, int code) {
    auto* source = wxDynamicCast(event.GetEventObject(), wxWindow);
    if (source && source->GetParent() == windows.toolBar) {
        Route(event, code);
    } else {
        event.Skip();
    }
}

void MainFrame::Route(wxCommandEvent& event, int code) {
    // A plug-in that hands the event to its windows may send it up to the frame again.
    if (routing == &event) {
        event.Skip();
        return;
    }
    const wxEvent* outer = routing;
    routing = &event;
    int handled = plugins.Route(event.GetId(), code, &event);
    routing = outer;
    if (handled == 0) event.Skip();
}

void MainFrame::OnPageChanged(wxBookCtrlEvent& event) {
    event.Skip();
    if (!closing && event.GetEventObject() == windows.book) SwitchTo(windows.book->GetCurrentPage());
}

void MainFrame::OnIdleTimer(wxTimerEvent&) {
    uint32_t idleMs = idle.IdleMs();
    plugins.ForEach([idleMs](const PluginEntryPoints& call) { call.setSleepTickCount(idleMs); });
}

void MainFrame::OnClose(wxCloseEvent&) {
    Shutdown();
    Destroy();
}

void MainFrame::Shutdown() {
    if (closing) return;
    closing = true;
    idleTimer.Stop();
    watcher.Stop();
    requests.Stop();
    wxEvtHandler::RemoveFilter(inputFilter.get());
    if (plugins.Hide()) RestoreHostUi();
    plugins.UnloadAll();
}

void MainFrame::CloseLibrariesLater() {
    auto* closer = new LibraryCloser(plugins.ReleaseLibraries());
    if (wxTheApp) {
        wxTheApp->ScheduleForDestruction(closer);
    } else {
        delete closer;
    }
}
