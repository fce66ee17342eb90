#pragma once
// The binary interface between the host and a plug-in: the twelve entry points a plug-in exports
// (C linkage, looked up by name), the records that cross them, and the host's request callback.
// Window handles are pointers to the host's wx objects; see docs/architecture.md for each role.
#include <array>
#include <cstdint>

namespace plugin {

// Closes every request record (word 106) and opens the information record (word 0).
constexpr uint32_t kInterfaceTag = 0x00020001;
constexpr int kInfoWords = 22;
constexpr int kInfoNameUnits = 32;
constexpr int kMessageWords = 107;
constexpr int kOptionsWords = 8;
// The options record's word 7: the plug-ins' idle lock minutes (signed; 0 or less never locks).
constexpr int kIdleMinutesWord = 7;
constexpr uint32_t kDefaultIdleMinutes = 5;

// Host message record words.
constexpr int kMessageCode = 0;
constexpr int kMessageStatus = 1;
constexpr int kMessageTag = 106;

// Requests a plug-in sends through the callback, answered later through CPU.
constexpr uint32_t kRequestAppRunning = 100;
constexpr uint32_t kRequestCloseApp = 101;

// Phone application status carried in word 1 of a host message.
constexpr uint32_t kAppNotRunning = 11;
constexpr uint32_t kAppCloseFailed = 12;
constexpr uint32_t kAppRunning = 13;
constexpr uint32_t kAppUnknown = 14;

// Connection states given to OnStateChange.
constexpr int kStateDisconnected = 0;
constexpr int kStateConnected = 4;
// The setup kind given to OnSetUpChange for the phone.
constexpr int kSetUpPhone = 2;

// PluginProc notification codes: a command, a request to update a command's user interface (extra is
// then the wxUpdateUIEvent to fill in), or a change of the text in an edit control of the toolbar.
constexpr int kCodeCommand = 0;
constexpr int kCodeUpdateUi = -1;
constexpr int kCodeEditChange = 0x0300;

}  // namespace plugin

// Commands and windows both sides know by number: the host's own menu commands, which a plug-in's
// menu may carry too, and the id of whichever window fills the frame's centre.
constexpr int ID_VIEW_STATUS_BAR = 32011;
constexpr int ID_HOST_OPTIONS = 32788;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int AFX_IDW_PANE_FIRST = 0xE900;

// The host's options record, shared with every plug-in: eight 32-bit words, little-endian on disk.
using HostOptionsRecord = std::array<uint32_t, plugin::kOptionsWords>;

extern "C" {
using HostRequestProc = int (*)(const uint32_t* record, intptr_t, intptr_t);

// The handles of InitPlugin, in order: a1 the host's main frame (wxFrame), a2 its menu bar
// (wxMenuBar), a3 its toolbar (wxToolBar), a4 its status bar (wxStatusBar), a5 the navigation bar
// (wxBookCtrlBase), a6 the web view (wxHtmlWindow), a7 the window for the navigation page's strip.
using GetPluginInfoProc = int (*)(uint32_t* info);
using InitPluginProc = int (*)(void* a1, void* a2, void* a3, void* a4, void* a5, void* a6, void* a7,
                               HostRequestProc request);
using UnInitPluginProc = void (*)();
// The third argument receives the plug-in's wxAcceleratorTable* (owned by the plug-in).
using ShowPluginProc = void (*)(void*, void*, void** accelerators);
using HidePluginProc = void (*)();
using PluginProcProc = int (*)(int id, int code, void* extra, void* handlerInfo);
using CpuProc = int (*)(const uint32_t* message);
using OnStateChangeProc = void (*)(int state);
using OnSetUpChangeProc = void (*)(int kind, const uint32_t* version);
using OnOptionsChangedProc = void (*)(const uint32_t* options);
using SetSleepTickCountProc = void (*)(uint32_t idleMs);
// Returns the options page (a wxWindow child of parent). The host confirms it with
// TransferDataFromWindow() when its Options dialog closes with OK.
using CreateOptionsDialogProc = void* (*)(void* parent);
}
