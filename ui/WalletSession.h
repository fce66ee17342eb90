#pragma once
// The wallet session's flags, kept by the navigation page. Reading the wallet, the login and the
// lockout set them; a reset clears them.
struct WalletSession {
    bool walletRead = false;
    bool templatesRead = false;
    bool loggedIn = false;
    // Set until the phone's option record shows no lockout running.
    bool lockoutCheckPending = true;
    bool lockoutTimerActive = false;

    // The wallet has been read but nobody is logged in: showing the plug-in again starts from the
    // root page instead of re-running the wallet page.
    bool ReadWhileLoggedOut() const { return walletRead && templatesRead && !loggedIn; }
};
