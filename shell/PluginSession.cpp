#include "shell/PluginSession.h"

#include "device/DeviceFiles.h"
#include "device/Lockout.h"
#include "device/WalletRestore.h"
#include "diag/STLogFile.h"
#include "platform/rapi/api/Rapi.h"
#include "store/TesseraEncryptedLinkList.h"
#include "ui/resources/Resource.h"

int PluginSession::PhoneReady() {
    link.Connect();
    if (!link.RapiInitialized()) return 1;
    if (!location.InstallDirKnown() && !location.Locate()) return 1;
    if (!Lockout::Read(options, location.OptionsPath().c_str())) return 1;
    if (options.LockoutRemainingMs() > 0) {
        StartCountdown();
        lockoutCheckPending = true;
    } else {
        lockoutCheckPending = false;
    }
    editingEnabled = 1;
    if (views) views->EnableEditing(true);
    return 1;
}

void PluginSession::OpenPage(ListKind page) {
    if (!views) return;
    ++pageDepth;
    RunPage(page);
    --pageDepth;
    // The phone went away while the page waited: nothing of it stays half-read.
    RunHeld();
}

void PluginSession::Leave() {
    if (holds > 0) --holds;
    RunHeld();
}

void PluginSession::RunHeld() {
    if (Held()) return;
    if (resetPending) {
        lockPending = false;
        ResetNow();
    } else if (lockPending) {
        lockPending = false;
        Lock(true, 0);
    }
}

void PluginSession::RunPage(ListKind page) {
    if (connectionState != plugin::kStateConnected || setupKind != plugin::kSetUpPhone) return;
    if (!versionAccepted) return Message(IDS_VERSION_NOT_SUPPORTED, MessageIcon::Error);
    if (appStatus != plugin::kAppNotRunning && !PhoneAppClosed()) return;
    if (!location.InstallDirKnown() && !location.Locate()) return;
    if (!FilesFound()) return;
    // A new login shows what the phone holds now: stores another program changed since are read again.
    if (WalletRead() && !loggedIn && !StoresCurrent()) walletRead = templatesRead = false;
    if (!WalletRead() && !ReadStores()) return;
    if (lockoutCheckPending && !LockoutAllowsLogin()) return;
    if (!loggedIn && !LogIn()) return;
    if (page == ListKind::Backups && !backups.ListRead()) ReadBackupList();
    if (resetPending) return;
    views->ShowList(page);
}

// The phone application must not run while the desktop has the wallet open. The waits end early when
// the phone goes away, since no answer can come then.
bool PluginSession::PhoneAppClosed() {
    auto waitWhile = [this](uint32_t status) {
        return [this, status] { return appStatus == status && !resetPending; };
    };
    if (appStatus == plugin::kAppUnknown) {
        views->AskHost(plugin::kRequestAppRunning, waitWhile(plugin::kAppUnknown));
        if (appStatus != plugin::kAppRunning) return appStatus == plugin::kAppNotRunning && !resetPending;
    }
    if (appStatus == plugin::kAppRunning) {
        Message(IDS_APP_RUNNING, MessageIcon::Information);
        if (resetPending) return false;
        views->AskHost(plugin::kRequestCloseApp, waitWhile(plugin::kAppRunning));
        if (appStatus == plugin::kAppCloseFailed) Message(IDS_CLOSE_APP_FAILED, MessageIcon::Error);
    }
    return appStatus == plugin::kAppNotRunning && !resetPending;
}

bool PluginSession::FilesFound() {
    if (!walletFound) walletFound = DeviceFileExists(location.WalletPath().c_str()) != 0;
    if (!walletFound) {
        // A restore cut between moving the wallet aside and moving the backup in: repair finishes it.
        if (RestoreUnfinished()) {
            Message(IDS_READ_FAILED_RESTORE, MessageIcon::Error);
            return false;
        }
        views->Message({IDS_WALLET_MISSING, MessageIcon::Information});
        views->PostHostExit();
        return false;
    }
    return FileFound(templatesFound, location.TemplatesPath(), {IDS_TEMPLATES_MISSING, MessageIcon::Error}) &&
           FileFound(optionsFound, location.OptionsPath(), {IDS_OPTIONS_MISSING, MessageIcon::Error});
}

std::unique_ptr<WorkerConnection> PluginSession::ConnectWorker() {
    struct RapiWorker : WorkerConnection {
        RapiConnection connection;
    };
    auto worker = std::make_unique<RapiWorker>();
    if (!worker->connection.Ok()) return nullptr;
    return worker;
}

bool PluginSession::FileFound(bool& found, const std::u16string& path, const SessionMessage& missing) {
    if (!found) found = DeviceFileExists(path.c_str()) != 0;
    if (!found) views->Message(missing);
    return found;
}

bool PluginSession::ReadStores() {
    data.Reset();
    data.SetStores(std::make_unique<CTesseraEncryptedLinkList>(location.WalletPath(), kWalletFileType),
                   std::make_unique<CTesseraEncryptedLinkList>(location.TemplatesPath(), kTemplatesFileType));
    readCode = CTesseraEncryptedLinkList::kCannotOpen;
    readOpenError = 0;
    CTesseraEncryptedLinkList* wallet = data.WalletStore();
    CTesseraEncryptedLinkList* templates = data.TemplateStore();
    views->ReadWithProgress(IDS_READ_TESSERA, IDS_READING_CARDS, [this, wallet, templates] {
        RapiConnection connection;
        if (!connection.Ok()) return;
        CTesseraEncryptedLinkList* store = wallet;
        readCode = store->Open();
        if (readCode == CTesseraEncryptedLinkList::kOpened) readCode = (store = templates)->Open();
        readOpenError = store->OpenError();
    });
    if (resetPending) return false;
    walletRead = templatesRead = readCode == CTesseraEncryptedLinkList::kOpened;
    if (!walletRead) Message(ReadFailureText(), MessageIcon::Error);
    return walletRead;
}

bool PluginSession::StoresCurrent() const {
    return data.WalletStore() && data.TemplateStore() && data.WalletStore()->HeaderUnchanged() &&
           data.TemplateStore()->HeaderUnchanged();
}

// The read's failure: a file another program holds (named in the log), what an unfinished restore or a cut
// save left (which `tessera repair` settles or mends), or any other.
unsigned PluginSession::ReadFailureText() const {
    if (readCode == CTesseraEncryptedLinkList::kCannotOpen && readOpenError == ERROR_SHARING_VIOLATION) {
        ST_LOG("Read Tessera data: sharing violation, the wallet is in use by another program");
        return IDS_WALLET_IN_USE;
    }
    if (RestoreUnfinished()) return IDS_READ_FAILED_RESTORE;
    return readCode == CTesseraEncryptedLinkList::kChecksumMismatch ? IDS_READ_FAILED_REPAIR
                                                                    : IDS_READ_FAILED;
}

bool PluginSession::RestoreUnfinished() const {
    return FindRestoreLeftovers(location.WalletPath()).Unfinished();
}

bool PluginSession::LockoutAllowsLogin() {
    if (!Lockout::Read(options, location.OptionsPath().c_str())) return false;
    if (options.LockoutRemainingMs() > 0) {
        Message(IDS_LOCKOUT_RUNNING, MessageIcon::Stop, Lockout::MinutesToShow(options.LockoutRemainingMs()));
        return false;
    }
    lockoutCheckPending = false;
    return true;
}

bool PluginSession::LogIn() {
    loginDialogOpen = true;
    CountedCheck counted = [this](const PasswordCheck& check) {
        return CheckPasswordInTurn(location, options, check);
    };
    LoginResult login = views->Login(*data.WalletStore(), *data.TemplateStore(), counted);
    loginDialogOpen = false;
    if (resetPending) return false;
    if (login.templatesLocked) {
        // The templates file is not one this wallet can use: the open is abandoned, the wallet untouched.
        walletRead = templatesRead = false;
        Message(IDS_READ_FAILED, MessageIcon::Error);
        return false;
    }
    if (login.verdict.kind == LoginVerdict::Kind::kLockedOut) LockedOut(login.verdict.lockoutStarted);
    if (login.verdict.kind == LoginVerdict::Kind::kFailed) Message(IDS_READ_FAILED, MessageIcon::Error);
    if (!login.ok) return false;
    loggedIn = true;
    data.LoadCards();
    data.LoadTemplatesAndCategories();
    return true;
}

void PluginSession::ReadBackupList() {
    WalletLocation where = location;
    PhoneOptionRecord record = options;
    int found = 0;
    CTesseraBackup& list = backups.List();
    views->ReadWithProgress(IDS_READ_BACKUP, IDS_READING_BACKUP,
                            [&] { found = list.ReadList(where, record); });
    backups.SetListRead(found != 0);
}

void PluginSession::TellBackup(BackupNotice notice, const std::u16string& name) {
    // In BackupNotice's order.
    static const SessionMessage kTold[] = {
        {IDS_BACKUP_DONE},    {IDS_BACKUP_FAILED},
        {IDS_RESTORE_DONE},   {IDS_READ_BACKUP_FAILED, MessageIcon::Error},
        {IDS_RESTORE_FAILED}, {IDS_RESTORE_UNFINISHED}};
    if (!views) return;
    SessionMessage message = kTold[static_cast<int>(notice)];
    if (notice == BackupNotice::Made) message.name = name;
    views->Message(message);
    // The restored wallet has another password and other cards: the host starts again.
    if (notice == BackupNotice::Restored) views->PostHostExit();
}

// A lockout this login started is told plainly; one that another program started, as when it is found.
void PluginSession::LockedOut(bool started) {
    StartCountdown();
    Message(IDS_LOCKOUT_RUNNING, started ? MessageIcon::None : MessageIcon::Stop,
            Lockout::MinutesToShow(options.LockoutRemainingMs()));
}

void PluginSession::StartCountdown() {
    if (views && views->StartLockoutTimer()) {
        lockoutTimerActive = true;
        lockoutCheckPending = true;
    }
}

void PluginSession::StopCountdown() {
    if (lockoutTimerActive && views && views->StopLockoutTimer()) {
        lockoutTimerActive = false;
        lockoutCheckPending = false;
    }
}

void PluginSession::LockoutTick() {
    if (Lockout::Tick(options, location)) return;
    options.SetLockoutRemainingMs(0);
    lockoutCheckPending = false;
    StopCountdown();
}

void PluginSession::Lock(bool forced, int idleMinutes) {
    if (!views || (!forced && idleMinutes <= 0)) return;
    // A page that waits (for the host, a worker or a dialog) is not interrupted either.
    if (loginDialogOpen || lockoutCheckPending || pageDepth > 0) return;
    if (holds > 0) {
        lockPending = true;
        return;
    }
    if (views->ListBusy()) return;
    views->CloseOpenItems();
    views->SelectRootItem();
    loggedIn = false;
}

void PluginSession::Reset() {
    if (Held()) {
        resetPending = true;
        return;
    }
    ResetNow();
}

void PluginSession::ResetNow() {
    resetPending = false;
    backups.Clear();
    data.Reset();
    loggedIn = false;
    location = WalletLocation{};
    walletFound = templatesFound = optionsFound = false;
    walletRead = templatesRead = false;
    appStatus = plugin::kAppUnknown;
    StopCountdown();
    // Checked again at the next page even when the countdown stopped: a connection that cannot read
    // the option record must not let a running lockout be skipped.
    lockoutCheckPending = true;
    editingEnabled = 0;
    if (views) {
        views->EnableEditing(false);
        views->ShowStartPage();
    }
    link.Disconnect();
}

void PluginSession::PageClosing() {
    StopCountdown();
}

void PluginSession::Message(unsigned text, MessageIcon icon, int number) {
    if (views) views->Message({text, icon, number});
}
