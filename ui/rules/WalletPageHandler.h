#pragma once
// What the navigation page asks of the wallet session: the wallet pages run through it, and the
// lockout countdown's timer (which the page owns) reports each minute to it.
#include "model/ListKind.h"

class WalletPageHandler {
public:
    virtual ~WalletPageHandler() = default;

    // kind 0 to 3: cards, templates, categories, backups.
    virtual void OpenWalletPage(ListKind kind) = 0;
    virtual void LockoutTick() = 0;
    // The navigation page is about to be destroyed.
    virtual void PageClosing() = 0;
};
