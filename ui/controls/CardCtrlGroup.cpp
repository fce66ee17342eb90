#include "ui/controls/CardCtrlGroup.h"

#include <wx/datectrl.h>
#include <wx/generic/stattextg.h>
#include <wx/timectrl.h>

#include <algorithm>
#include <bit>
#include <ctime>

#include "model/FieldType.h"
#include "platform/LocalTime.h"
#include "wxkit/FixedIds.h"
#include "ui/controls/EditLink.h"
#include "ui/controls/FieldChanges.h"
#include "ui/controls/LinkLauncher.h"
#include "ui/controls/MaskedEdit.h"
#include "ui/controls/MyButton.h"
#include "ui/controls/MyEdit.h"
#include "ui/controls/TypedInput.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"

namespace {

constexpr int kMaxChars = 255;
const wxColour kLinkText(0, 0, 255);

// The value's text, read from the field's own bytes (a password leaves no other copy).
wxString FieldValueText(const ItemField& field) {
    static_assert(std::endian::native == std::endian::little, "values are UTF-16LE");
    SecureBytes units;
    AppendFieldText(field, units);
    return FromU16({reinterpret_cast<const char16_t*>(units.data()), units.size() / 2});
}

// The first count lines of value (a CR LF ending a line counts as one), " …" after them when more
// follow.
wxString FirstLines(const wxString& value, int count, bool& cut) {
    wxString text;
    size_t start = 0;
    for (int line = 0; line < count; ++line) {
        const size_t end = value.find('\n', start);
        wxString part = value.substr(start, end == wxString::npos ? wxString::npos : end - start);
        if (part.EndsWith("\r")) part.RemoveLast();
        text += (line ? "\n" : "") + part;
        if (end == wxString::npos) return text;
        start = end + 1;
    }
    cut = true;
    return text + wxString::FromUTF8(" \u2026");
}

// True when every line of text fits width in window's font.
bool LinesFit(const wxWindow& window, const wxString& text, int width) {
    for (const wxString& line : wxSplit(text, '\n', '\0')) {
        if (window.GetTextExtent(line).x > width) return false;
    }
    return true;
}

// A DATE row's date in the windows' one date format, a TIME row's time in the locale's.
wxString TimeText(const wxDateTime& local, uint32_t type) {
    return type == kFieldDate ? local.Format(ShortDatePicture()) : local.FormatTime();
}

}  // namespace

wxDateTime LocalFromUtc(const SYSTEMTIME& utc) {
    const std::optional<std::time_t> seconds = IsCalendarTime(utc) ? SecondsFromUtc(utc) : std::nullopt;
    if (!seconds) return wxInvalidDateTime;
    wxDateTime local(*seconds);
    if (local.IsValid()) local.SetMillisecond(std::min<uint16_t>(utc.wMilliseconds, 999));
    return local;
}

SYSTEMTIME UtcFromLocal(const wxDateTime& local) {
    const wxDateTime::Tm tm = local.GetTm(wxDateTime::TimeZone(wxDateTime::UTC));
    auto w = [](int v) { return static_cast<uint16_t>(v); };
    return {w(tm.year), w(tm.mon + 1), w(local.GetWeekDay(wxDateTime::TimeZone(wxDateTime::UTC))),
            w(tm.mday), w(tm.hour),    w(tm.min),
            w(tm.sec),  w(tm.msec)};
}

CCardCtrlGroup::CCardCtrlGroup(wxWindow* parent, uint32_t type, const FormFonts& fonts)
    : fieldType(type),
      fonts(fonts),
      limit(kMaxChars, type == kFieldNumber        ? InputLimit::Chars::Digits
                       : type == kFieldPhoneNumber ? InputLimit::Chars::Dialable
                                                   : InputLimit::Chars::Any) {
    // The row's controls live in a window of their own: the toolkit restyles every sibling of a control
    // that is added or changed, so a form of many rows would cost the square of their number. Every
    // control is made at its size, with its own font and colours (a best size, or defaults inherited,
    // make the toolkit look things up that cost more than the rest).
    panel = new wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(kCaptionWidth, kHeight), wxBORDER_NONE);
    panel->SetOwnBackgroundColour(*wxWHITE);
    panel->Hide();
    if (type <= kFieldTime) MakeEdit();
    if (type == kFieldPassword) {
        button = new CMyButton(panel, wxID_ANY, LoadResString(IDS_BUTTON_COPY), wxSize(kButtonWidth, kHeight),
                               edit);
        GiveFixedId(button, IDC_PASSWORD_BUTTON_FIRST);
        button->SetFont(fonts.caption);
    }
    // A caption drawn by wx; it ellipsizes only once its font and colours are its own.
    label = new wxGenericStaticText(panel, wxID_ANY, wxString(), wxDefaultPosition,
                                    wxSize(kCaptionWidth, kHeight), wxST_NO_AUTORESIZE);
    label->SetFont(fonts.caption);
    label->SetForegroundColour(*wxBLACK);
    label->SetBackgroundColour(*wxWHITE);
    label->SetWindowStyleFlag(wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
}

void CCardCtrlGroup::MakeEdit() {
    const long style = (fieldType == kFieldPassword ? wxTE_PASSWORD : 0) | wxBORDER_NONE;
    edit = new CMyEdit(panel, wxID_ANY, static_cast<int>(fieldType), wxString(), wxDefaultPosition,
                       wxSize(kCaptionWidth, kHeight), style);
    GiveFixedId(edit, IDC_FIELD_VALUE_FIRST);
    // What the user types is limited; a stored value is shown and kept whole, whatever its length.
    if (!IsTimeField(fieldType)) LimitTypedInput(*edit, limit);
    if (fieldType == kFieldPassword) MaskWithAsterisks(*edit);
    edit->SetFont(fieldType == kFieldUrl ? fonts.link : fonts.value);
    edit->SetForegroundColour(EditLink::IsLinkField(fieldType, false) ? kLinkText : *wxBLACK);
    edit->SetBackgroundColour(*wxWHITE);
}

// Made when the row is first viewed: a row made to edit never needs it.
void CCardCtrlGroup::MakeShown() {
    shown = new wxGenericStaticText(panel, wxID_ANY, wxString(), edit->GetPosition(), edit->GetSize(),
                                    wxST_NO_AUTORESIZE);
    shown->SetFont(edit->GetFont());
    shown->SetForegroundColour(edit->GetForegroundColour());
    shown->SetBackgroundColour(*wxWHITE);
    shown->SetWindowStyleFlag(wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
    if (EditLink::IsLinkField(fieldType, false)) shown->SetCursor(wxCursor(wxCURSOR_HAND));
    shown->Bind(wxEVT_LEFT_DOWN, &CCardCtrlGroup::OnShownClick, this);
    edit->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
        event.Skip();
        if (mode == 0) ApplyMode(0);
    });
}

// The label's text, and the whole value as its tooltip when the label cannot show it all. Each only when
// it changes: every change makes the toolkit restyle the label.
void CCardCtrlGroup::ShowValue() {
    const wxString value = fieldType == kFieldPassword ? wxString(kMask) : edit->GetValue();
    bool cut = false;
    const wxString text = FirstLines(value, lines, cut);
    // Measured again only when the text or the width changed.
    if (shown->GetLabelText() == text && measuredWidth == shown->GetSize().x) return;
    measuredWidth = shown->GetSize().x;
    shown->SetLabelText(text);
    const bool whole = fieldType == kFieldPassword || (!cut && LinesFit(*shown, value, shown->GetSize().x));
    if (whole && shown->GetToolTip()) shown->UnsetToolTip();
    if (!whole && shown->GetToolTipText() != value) shown->SetToolTip(value);
}

// A link opens; any other value but a password gives way to its read-only edit, all selected to copy,
// until the edit loses the focus.
void CCardCtrlGroup::OnShownClick(wxMouseEvent& event) {
    event.Skip();
    if (const auto link = EditLink::For(static_cast<int>(fieldType), false, edit->GetValue())) {
        LaunchLink(link->target, link->verb);
    } else if (fieldType != kFieldPassword) {
        shown->Hide();
        edit->Show();
        edit->SetFocus();
        edit->SelectAll();
    }
}

CCardCtrlGroup::~CCardCtrlGroup() {
    Park();
    panel->Destroy();
}

void CCardCtrlGroup::Park() {
    ApplyMode(1);
    if (edit && fieldType == kFieldPassword) edit->ChangeValue(wxString());
}

int CCardCtrlGroup::IdsTaken(uint32_t type) {
    return IsTimeField(type) ? 2 : type <= kFieldTime ? 1 : 0;
}

int CCardCtrlGroup::LinesOf(const ItemField& field) {
    if (field.type == kFieldPassword || IsTimeField(field.type)) return 1;
    int count = 1;
    for (size_t i = 0; i + 1 < field.value.size() && count < kMaxLines; i += 2) {
        if (field.value[i] == '\n' && field.value[i + 1] == 0) ++count;
    }
    return count;
}

void CCardCtrlGroup::Load(const ItemField& field, int position, int firstId) {
    mode = 0;
    label->SetLabel(FromU16(field.Name()));
    lines = LinesOf(field);
    // The picker's id first, then the edit's.
    pickerId = firstId;
    if (picker) picker->SetId(pickerId);
    if (edit) edit->SetId(firstId + IdsTaken(fieldType) - 1);
    if (button) button->SetId(IDC_PASSWORD_BUTTON_FIRST + position);
    if (IsTimeField(fieldType)) {
        LoadTime(field);
    } else if (edit) {
        edit->ChangeValue(FieldValueText(field));
    }
}

void CCardCtrlGroup::LoadTime(const ItemField& field) {
    base = wxDateTime::Now();
    const wxDateTime local = field.value.empty() ? wxInvalidDateTime : LocalFromUtc(FieldTime(field));
    if (local.IsValid()) base = local;
    if (picker) picker->SetValue(base);
    edit->ChangeValue(local.IsValid() ? TimeText(local, fieldType) : wxString());
}

void CCardCtrlGroup::ApplyMode(int newMode) {
    mode = newMode;
    const bool editing = mode == 2;
    if (editing && IsTimeField(fieldType) && !picker) MakePicker();
    panel->Show(mode != 1);
    if (picker) picker->Show(editing);
    if (mode == 0 && edit && !shown) MakeShown();
    if (edit) {
        if (!picker) edit->SetEditable(editing);
        edit->Show(!(editing && picker) && !(mode == 0 && shown));
    }
    if (shown) {
        if (mode == 0) ShowValue();
        shown->Show(mode == 0);
    }
    if (button) {
        // A new label makes the toolkit restyle the button: only when it changes.
        const wxString text = LoadResString(editing ? IDS_BUTTON_GENERATE : IDS_BUTTON_COPY);
        if (button->GetLabel() != text) button->SetLabel(text);
    }
}

// DATE and TIME rows make their picker when first edited: pickers are the dearest controls of a row.
void CCardCtrlGroup::MakePicker() {
    const wxSize size(kCaptionWidth, kHeight);
    if (fieldType == kFieldDate) {
        picker = new wxDatePickerCtrl(panel, wxID_ANY, base, wxDefaultPosition, size,
                                      wxDP_DROPDOWN | wxDP_SHOWCENTURY);
    } else {
        picker = new wxTimePickerCtrl(panel, wxID_ANY, base, wxDefaultPosition, size);
    }
    GiveFixedId(picker, pickerId);
    picker->SetFont(fonts.value);
    picker->Hide();
    PlaceControls(panel->GetClientSize().x);
}

void CCardCtrlGroup::Place(const wxRect& row) {
    const bool resized = row.GetSize() != rect.GetSize();
    rect = row;
    panel->SetSize(row);
    if (resized) PlaceControls(row.width);
}

// A row narrower than its caption and button (a form not yet laid out) gives its value no width.
void CCardCtrlGroup::PlaceControls(int width) {
    label->SetSize(0, 0, kCaptionWidth, kHeight);
    const int valueWidth = std::max(0, width - kCaptionWidth);
    if (edit) {
        edit->SetSize(kCaptionWidth, 0,
                      std::max(0, button ? valueWidth - kButtonWidth - kButtonGap : valueWidth), kHeight);
    }
    if (picker) picker->SetSize(kCaptionWidth, 0, valueWidth, kHeight);
    if (shown) {
        shown->SetSize(kCaptionWidth, 0, edit->GetSize().x, std::max(kHeight, rect.height));
        if (mode == 0) ShowValue();
    }
    if (button) {
        const int x = std::max(width - kButtonWidth, kCaptionWidth);
        button->SetSize(x, 0, std::max(0, width - x), kHeight);
    }
}

bool CCardCtrlGroup::Holds(const wxWindow* window) const {
    for (; window; window = window->GetParent()) {
        if (window == edit || window == picker) return true;
    }
    return false;
}

wxDateTime CCardCtrlGroup::PickerValue() const {
    const wxDateTime picked = picker->GetValue();
    if (!picked.IsValid()) return wxInvalidDateTime;
    wxDateTime value = base;
    if (fieldType == kFieldDate) {
        value.SetDay(1);
        value.SetYear(picked.GetYear());
        value.SetMonth(picked.GetMonth());
        value.SetDay(picked.GetDay());
    } else {
        value.SetHour(picked.GetHour());
        value.SetMinute(picked.GetMinute());
        value.SetSecond(picked.GetSecond());
    }
    return value;
}

std::optional<SYSTEMTIME> CCardCtrlGroup::PickedUtc() const {
    if (!picker) return std::nullopt;
    const wxDateTime value = PickerValue();
    if (!value.IsValid()) return SYSTEMTIME{};
    return UtcFromLocal(value);
}

void CCardCtrlGroup::ShowPicked() {
    const wxDateTime value = PickerValue();
    if (!value.IsValid()) return;
    edit->ChangeValue(TimeText(value, fieldType));
}
