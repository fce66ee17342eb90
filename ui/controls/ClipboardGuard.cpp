#include "ui/controls/ClipboardGuard.h"

#include <wx/clipbrd.h>

#include "store/Sha256.h"

bool SystemClipboard::Put(const wxString& text) {
    wxClipboardLocker locker;
    return !!locker && wxTheClipboard->SetData(new wxTextDataObject(text));
}

std::optional<wxString> SystemClipboard::Text() {
    wxClipboardLocker locker;
    if (!locker || !wxTheClipboard->IsSupported(wxDF_UNICODETEXT)) return std::nullopt;
    wxTextDataObject data;
    if (!wxTheClipboard->GetData(data)) return std::nullopt;
    return data.GetText();
}

void SystemClipboard::Clear() {
    wxClipboardLocker locker;
    if (!!locker) wxTheClipboard->Clear();
}

ClipboardGuard::Digest ClipboardGuard::DigestOf(const wxString& text) {
    // Over the string's own wide characters: no copy of the password is made.
    const wchar_t* wide = text.wc_str();
    Digest digest{};
    Sha256(wide, text.length() * sizeof(wchar_t), digest.data());
    return digest;
}

bool ClipboardGuard::Copy(const wxString& text) {
    if (!clipboard.Put(text)) return false;
    copied = DigestOf(text);
    deadline = clock() + kDelay;
    pending = true;
    return true;
}

bool ClipboardGuard::Tick() {
    if (pending && clock() >= deadline) ClearNow();
    return pending;
}

void ClipboardGuard::ClearNow() {
    cleared = false;
    if (!pending) return;
    pending = false;
    std::optional<wxString> now = clipboard.Text();
    if (now && DigestOf(*now) == copied) {
        clipboard.Clear();
        cleared = true;
    }
}
