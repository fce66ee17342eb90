#pragma once
// The wallet session's windows: message boxes, the host's answers waited for, the progress and login
// dialogs, the lockout timer of the navigation page, and the list pane. It is also the navigation
// page's way into the session.
#include "shell/PluginSession.h"
#include "ui/rules/WalletPageHandler.h"

class CTesseraApp;

class SessionWindows : public SessionViews, public WalletPageHandler {
public:
    // app: the plug-in's windows, made and destroyed by the entry points while this object lives.
    SessionWindows(PluginSession& session, const CTesseraApp& app) : session(session), app(app) {}

    void Message(const SessionMessage& message) override;
    void PostHostExit() override;
    void AskHost(uint32_t request, const std::function<bool()>& keepWaiting) override;
    void ReadWithProgress(unsigned title, unsigned text, const std::function<void()>& work) override;
    LoginResult Login(CTesseraEncryptedLinkList& store, CTesseraEncryptedLinkList& templates,
                      const CountedCheck& counted) override;
    bool StartLockoutTimer() override;
    bool StopLockoutTimer() override;
    void ShowList(ListKind kind) override;
    void ShowStartPage() override;
    void SelectRootItem() override;
    void CloseOpenItems() override;
    void EnableEditing(bool enable) override;
    bool ListBusy() override;

    void OpenWalletPage(ListKind kind) override;
    void LockoutTick() override;
    void PageClosing() override;

private:
    PluginSession& session;
    const CTesseraApp& app;
};
