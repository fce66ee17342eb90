// A plug-in for the host's tests: it logs every call with its arguments and behaves as a plug-in must.
// Built as is, without one entry point (FAKE_MISSING_EXPORT) and with an InitPlugin that fails
// (FAKE_INIT_FAILS); the tests reach it through the Fake* functions.
#include <wx/accel.h>
#include <wx/bookctrl.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/html/htmlwin.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/toolbar.h>

#include <memory>
#include <string>
#include <vector>

#include "FakePluginIds.h"
#include "plugin-api/PluginApi.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::vector<std::string> calls;
wxFrame* frame = nullptr;
wxMenuBar* menuBar = nullptr;
wxToolBar* toolBar = nullptr;
wxBookCtrlBase* book = nullptr;
wxWindow* webView = nullptr;
HostRequestProc request = nullptr;
wxWindow* page = nullptr;
wxWindow* mainView = nullptr;
std::unique_ptr<wxAcceleratorTable> accelerators;
std::unique_ptr<wxGUIEventLoop> waiting;
uint32_t reply = 0;
bool pageValid = true;

void Log(const std::string& call) {
    calls.push_back(call);
}

template <typename Window>
bool Is(void* handle) {
    return handle && static_cast<wxObject*>(handle)->IsKindOf(wxCLASSINFO(Window));
}

void ExchangeViews() {
    wxWindowID viewId = mainView->GetId();
    mainView->SetId(webView->GetId());
    webView->SetId(viewId);
}

class OptionsPage : public wxPanel {
public:
    explicit OptionsPage(wxWindow* parent) : wxPanel(parent) {}
    bool Validate() override {
        Log("Validate");
        return pageValid;
    }
    bool TransferDataFromWindow() override {
        Log("TransferDataFromWindow");
        return true;
    }
};

}  // namespace

FAKE_EXPORT int GetPluginInfo(uint32_t* info) {
    Log("GetPluginInfo");
    info[0] = plugin::kInterfaceTag;
    info[6] = 'F' | 'a' << 16;
    info[7] = 'k' | 'e' << 16;
    return 1;
}

FAKE_EXPORT int InitPlugin(void* a1, void* a2, void* a3, void* a4, void* a5, void* a6, void* a7,
                           HostRequestProc callback) {
    bool typed = Is<wxFrame>(a1) && Is<wxMenuBar>(a2) && Is<wxToolBar>(a3) && Is<wxStatusBar>(a4) &&
                 Is<wxBookCtrlBase>(a5) && Is<wxHtmlWindow>(a6) && Is<wxWindow>(a7) && callback;
    Log(typed ? "InitPlugin typed" : "InitPlugin untyped");
    frame = static_cast<wxFrame*>(a1);
    menuBar = static_cast<wxMenuBar*>(a2);
    toolBar = static_cast<wxToolBar*>(a3);
    book = static_cast<wxBookCtrlBase*>(a5);
    webView = static_cast<wxWindow*>(a6);
    request = callback;
#ifdef FAKE_INIT_FAILS
    return 0;
#else
    page = new wxPanel(book);
    book->AddPage(page, "Fake", false, 0);
    mainView = new wxPanel(frame, kFakeMainViewId);
    mainView->Hide();
    return 1;
#endif
}

FAKE_EXPORT void UnInitPlugin() {
    Log("UnInitPlugin");
    if (book && page) book->DeletePage(book->FindPage(page));
    if (mainView) mainView->Destroy();
    page = mainView = nullptr;
    accelerators.reset();
}

FAKE_EXPORT void ShowPlugin(void*, void*, void** accel) {
    Log("ShowPlugin");
    wxAcceleratorEntry entry(wxACCEL_CTRL, 'K', kFakeHandled);
    accelerators = std::make_unique<wxAcceleratorTable>(1, &entry);
    *accel = accelerators.get();
    while (menuBar->GetMenuCount() > 0) delete menuBar->Remove(0);
    auto* menu = new wxMenu;
    menu->Append(kFakeHandled, "Handled");
    menu->Append(kFakeUnhandled, "Unhandled");
    menuBar->Append(menu, "F&ake");
    toolBar->ClearTools();
    toolBar->AddTool(kFakeHandled, "Handled", wxBitmap(16, 16));
    auto* findBox = new wxTextCtrl(toolBar, wxID_ANY);
    findBox->SetId(kFakeFindBox);
    toolBar->AddControl(findBox);
    toolBar->Realize();
    frame->Layout();
}

FAKE_EXPORT void HidePlugin() {
    Log("HidePlugin");
    if (mainView->GetId() == AFX_IDW_PANE_FIRST) ExchangeViews();
    mainView->Hide();
}

FAKE_EXPORT int PluginProc(int id, int code, void*, void*) {
    if (id == kFakeHandled || id == kFakeUnhandled || id == kFakeFindBox) {
        Log("PluginProc " + std::to_string(id) + " " + std::to_string(code));
    }
    return id == kFakeHandled ? 1 : 0;
}

FAKE_EXPORT int CPU(const uint32_t* message) {
    Log("CPU " + std::to_string(message[plugin::kMessageStatus]) + " tag " +
        std::to_string(message[plugin::kMessageTag] == plugin::kInterfaceTag));
    reply = message[plugin::kMessageStatus];
    if (waiting && waiting->IsRunning()) waiting->Exit();
    return 1;
}

FAKE_EXPORT void OnStateChange(int state) {
    Log("OnStateChange " + std::to_string(state));
}

FAKE_EXPORT void OnSetUpChange(int kind, const uint32_t* version) {
    Log("OnSetUpChange " + std::to_string(kind) + " " + std::to_string(version[0]) + "." +
        std::to_string(version[1]) + "." + std::to_string(version[2]) + "." + std::to_string(version[3]));
}

FAKE_EXPORT void OnOptionsChanged(const uint32_t* options) {
    Log("OnOptionsChanged " + std::to_string(options[0]) + " " + std::to_string(options[7]));
}

#ifndef FAKE_MISSING_EXPORT
FAKE_EXPORT void SetSleepTickCount(uint32_t idleMs) {
    Log("SetSleepTickCount " + std::to_string(idleMs));
}
#endif

FAKE_EXPORT void* CreateOptionsDialog(void* parent) {
    Log("CreateOptionsDialog");
    return parent ? new OptionsPage(static_cast<wxWindow*>(parent)) : nullptr;
}

FAKE_EXPORT const std::vector<std::string>* FakeCalls() {
    return &calls;
}

FAKE_EXPORT void FakeSetPageValid(bool valid) {
    pageValid = valid;
}

// Exchanges the main views as the plug-in does when it takes the centre, and has the frame lay out.
FAKE_EXPORT void FakeExchangeViews() {
    ExchangeViews();
    frame->Layout();
}

// Sends a request and waits for the reply in a nested event loop, as the plug-in does; 0 when none
// came within a few seconds.
FAKE_EXPORT uint32_t FakeAsk(uint32_t code) {
    uint32_t record[plugin::kMessageWords] = {};
    record[plugin::kMessageCode] = code;
    record[plugin::kMessageTag] = plugin::kInterfaceTag;
    reply = 0;
    waiting = std::make_unique<wxGUIEventLoop>();
    Log("request " + std::to_string(code));
    request(record, 0, 0);
    Log("request sent");
    wxTimer guard;
    guard.Bind(wxEVT_TIMER, [](wxTimerEvent&) { waiting->Exit(); });
    guard.StartOnce(5000);
    waiting->Run();
    waiting.reset();
    return reply;
}
