#pragma once
// The connection and wallet session: the phone-ready step, the wallet page flow, the login and its
// lockout, the lock and the reset. A plain class over the model and the device link; the windows,
// dialogs and timers it needs are behind SessionViews, and they drive it.
#include <cstdint>

#include "device/BackupRules.h"
#include "device/DeviceLink.h"
#include "device/PhoneOptionRecord.h"
#include "device/WalletLocation.h"
#include "model/Data.h"
#include "plugin-api/PluginApi.h"
#include "shell/SessionViews.h"
#include "ui/rules/SessionGate.h"
#include "ui/rules/WalletPageHandler.h"

// The wallet pages of the navigation tree, as the list pane numbers its lists.

// The session's rule: nothing frees the model while a page, a question or a worker uses it. A reset that
// arrives then is held and runs when the last of them ends; so is a lock that arrives during a question
// or a worker, while one during a page (the login, the read) is let go, as the user is not idle there.
class PluginSession : public SessionGate, public WalletPageHandler {
public:
    // views: what the session asks of the windows, for as long as it lives.
    PluginSession(CData& data, DeviceLink& link, SessionViews& views)
        : data(data), link(link), views(&views) {}
    PluginSession(const PluginSession&) = delete;
    PluginSession& operator=(const PluginSession&) = delete;

    // The host's view of the phone (the module values the entry points keep).
    int connectionState = 0;
    int setupKind = 0;
    int versionAccepted = 0;
    uint32_t appStatus = plugin::kAppUnknown;
    bool loginDialogOpen = false;
    int editingEnabled = 1;

    // The session's flags: the files read, the login, and the lockout (checked again before the next
    // login until the phone's option record shows none running).
    bool walletRead = false, templatesRead = false;
    bool loggedIn = false;
    bool lockoutCheckPending = true;
    bool lockoutTimerActive = false;

    // Run by CPU with status 11: connect, locate the files, read the option record, resume a lockout.
    int PhoneReady();
    // The navigation page's wallet pages.
    void OpenPage(ListKind page);
    void OpenWalletPage(ListKind page) override { OpenPage(page); }
    // Not forced: the idle time passed idleMinutes.
    void Lock(bool forced, int idleMinutes);
    // The phone went away. Inside a page, a question or a worker, the stores stay until they have
    // returned: they are released on the way out.
    void Reset();
    // A question or a worker of the windows begins and ends.
    void Enter() override { ++holds; }
    void Leave() override;
    // A worker's own phone connection (a RAPI session of its thread).
    std::unique_ptr<WorkerConnection> ConnectWorker() override;
    // One minute of a running lockout.
    void LockoutTick() override;
    // The navigation page closes.
    void PageClosing() override;

    // The wallet has been read but nobody is logged in.
    bool ReadWhileLoggedOut() const { return walletRead && templatesRead && !loggedIn; }
    bool WalletRead() const { return walletRead && templatesRead; }
    bool InPage() const { return pageDepth > 0; }
    bool Held() const { return pageDepth > 0 || holds > 0; }
    const PhoneOptionRecord& Options() const { return options; }
    const WalletLocation& Location() const { return location; }
    const CTesseraBackup& Backups() const { return backups.List(); }
    // The backups made, deleted and restored in this session.
    BackupRules& Backup() { return backups; }

private:
    void RunPage(ListKind page);
    bool PhoneAppClosed();
    bool FilesFound();
    bool FileFound(bool& found, const std::u16string& path, const SessionMessage& missing);
    bool ReadStores();
    bool StoresCurrent() const;
    bool LockoutAllowsLogin();
    bool LogIn();
    void ReadBackupList();
    void TellBackup(BackupNotice notice, const std::u16string& name);
    void LockedOut(bool started);
    void StartCountdown();
    void StopCountdown();
    void Message(unsigned text, MessageIcon icon, int number = 0);
    unsigned ReadFailureText() const;
    // Whether an unfinished restore's files lie beside the wallet.
    bool RestoreUnfinished() const;
    void ResetNow();
    void RunHeld();

    CData& data;
    DeviceLink& link;
    SessionViews* views;
    WalletLocation location;
    PhoneOptionRecord options;
    BackupRules backups{
        {location, options, [this] { return WalletRead() && loggedIn && data.HasStores(); },
         [this] { return static_cast<uint32_t>(data.cardCount()); }},
        [this](BackupNotice notice, const std::u16string& name) { TellBackup(notice, name); }};
    bool walletFound = false, templatesFound = false, optionsFound = false;
    // What the worker's read left: the failing store's open result (kOpened when both opened) and, for an
    // open that was refused, the platform's error.
    int readCode = CTesseraEncryptedLinkList::kCannotOpen;
    DWORD readOpenError = 0;
    int pageDepth = 0;
    int holds = 0;
    bool resetPending = false;
    bool lockPending = false;
};
