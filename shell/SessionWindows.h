#pragma once
// The wallet session's windows: message boxes, the host's answers waited for, the progress and login
// dialogs, the lockout timer of the navigation page, and the list pane.
#include "shell/SessionViews.h"

class CTesseraApp;

class SessionWindows : public SessionViews {
public:
    // app: the plug-in's windows, made and destroyed by the entry points while this object lives.
    explicit SessionWindows(const CTesseraApp& app) : app(app) {}

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

private:
    const CTesseraApp& app;
};
