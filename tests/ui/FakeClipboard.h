#pragma once
// A clipboard in memory for the clipboard guard.
#include "ui/controls/ClipboardGuard.h"

struct FakeClipboard : ClipboardAccess {
    bool Put(const wxString& text) override { return held = text, true; }
    std::optional<wxString> Text() override { return held; }
    void Clear() override { held.reset(); }
    std::optional<wxString> held;
};
