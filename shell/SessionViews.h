#pragma once
// What the wallet session asks of the windows. The plug-in's windows implement it (SessionWindows);
// tests answer it directly. Nothing here needs a display.
#include <cstdint>
#include <functional>
#include <string>

#include "device/LoginCount.h"
#include "model/ListKind.h"

class CTesseraEncryptedLinkList;

enum class MessageIcon { None, Information, Error, Stop };

// A message box: a string of the table, its icon, and the number a "%d" or the name a "%s" in it
// stands for.
struct SessionMessage {
    unsigned text = 0;
    MessageIcon icon = MessageIcon::None;
    int number = 0;
    std::u16string name{};
    bool operator==(const SessionMessage&) const = default;
};

// How a login dialog ended: ok is the wallet check's result, verdict the last one on the phone's count.
struct LoginResult {
    int ok = 0;
    LoginVerdict verdict{};
    bool templatesLocked = false;  // the templates file did not open with its built-in password
};

class SessionViews {
public:
    virtual ~SessionViews() = default;

    virtual void Message(const SessionMessage& message) = 0;
    // Tells the host to exit (its command 57665), after the current event.
    virtual void PostHostExit() = 0;
    // Sends the request to the host, then keeps dispatching while keepWaiting() holds.
    virtual void AskHost(uint32_t request, const std::function<bool()>& keepWaiting) = 0;
    // Runs work on a worker thread of its own behind a progress dialog; returns when the work is done.
    virtual void ReadWithProgress(unsigned title, unsigned text, const std::function<void()>& work) = 0;
    // The modal login dialog on the store (the templates store unlocks on the same OK); each password is
    // checked through `counted`, on the phone's count of wrong ones.
    virtual LoginResult Login(CTesseraEncryptedLinkList& store, CTesseraEncryptedLinkList& templates,
                              const CountedCheck& counted) = 0;
    virtual bool StartLockoutTimer() = 0;
    virtual bool StopLockoutTimer() = 0;

    // The list of a page in the list pane, the list pane and the main view shown.
    virtual void ShowList(ListKind kind) = 0;
    // The start page instead of the lists, when the plug-in is shown.
    virtual void ShowStartPage() = 0;
    // Selects the navigation tree's root item unless it is already selected.
    virtual void SelectRootItem() = 0;
    // The main view closes what it has open; a dialog of the list pane ends.
    virtual void CloseOpenItems() = 0;
    virtual void EnableEditing(bool enable) = 0;
    // The list pane runs a long operation of its own.
    virtual bool ListBusy() = 0;
};
