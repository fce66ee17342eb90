#include "ui/controls/TypedInput.h"

#include <wx/clipbrd.h>
#include <wx/textctrl.h>

#include "ui/controls/FieldChanges.h"
#include "ui/rules/InputLimit.h"

namespace {

size_t SelectedLength(const wxTextCtrl& box) {
    long from = 0, to = 0;
    box.GetSelection(&from, &to);
    return static_cast<size_t>(std::max(0L, to - from));
}

size_t TextLength(const wxTextCtrl& box) {
    return static_cast<size_t>(std::max(0L, box.GetLastPosition()));
}

// A printable character typed goes into the box only when the limit takes it.
void OnChar(wxTextCtrl& box, const InputLimit& limit, wxKeyEvent& event) {
    const wxChar key = event.GetUnicodeKey();
    if (key == WXK_NONE || key < 0x20 || key == 0x7F || event.ControlDown() || event.AltDown()) {
        event.Skip();
        return;
    }
    if (!limit.Admit(std::wstring(1, key), TextLength(box), SelectedLength(box)).empty()) event.Skip();
}

// The clipboard's text replaces the selection, cut to what the limit takes.
void OnPaste(wxTextCtrl& box, const InputLimit& limit) {
    wxTextDataObject data;
    if (!wxTheClipboard->Open()) return;
    const bool got = wxTheClipboard->IsSupported(wxDF_UNICODETEXT) && wxTheClipboard->GetData(data);
    wxTheClipboard->Close();
    if (!got) return;
    wxString text = data.GetText();
    std::wstring admitted = limit.Admit({text.wc_str(), text.length()}, TextLength(box), SelectedLength(box));
    Wipe(text);
    data.SetText(wxString());
    if (!admitted.empty()) box.WriteText(admitted);
    std::fill(admitted.begin(), admitted.end(), L'\0');
}

}  // namespace

void LimitTypedInput(wxTextCtrl& box, const InputLimit& limit) {
    box.Bind(wxEVT_CHAR, [&box, &limit](wxKeyEvent& event) { OnChar(box, limit, event); });
    box.Bind(wxEVT_TEXT_PASTE, [&box, &limit](wxClipboardTextEvent&) { OnPaste(box, limit); });
}
