#include "ui/CardCtrlGroup.h"

#include <wx/datectrl.h>
#include <wx/stattext.h>
#include <wx/timectrl.h>

#include <algorithm>
#include <bit>
#include <ctime>

#include "model/FieldType.h"
#include "plugin-api/FixedIds.h"
#include "ui/EditLink.h"
#include "ui/FieldChanges.h"
#include "ui/MyButton.h"
#include "ui/MyEdit.h"
#include "ui/Resource.h"
#include "ui/StringTable.h"

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

}  // namespace

wxDateTime LocalFromUtc(const SYSTEMTIME& utc) {
    if (!IsCalendarTime(utc)) return wxInvalidDateTime;
    std::tm tm{};
    tm.tm_year = utc.wYear - 1900;
    tm.tm_mon = utc.wMonth - 1;
    tm.tm_mday = utc.wDay;
    tm.tm_hour = utc.wHour;
    tm.tm_min = utc.wMinute;
    tm.tm_sec = utc.wSecond;
    wxDateTime local(static_cast<time_t>(timegm(&tm)));
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

CCardCtrlGroup::CCardCtrlGroup(wxWindow* parent, ItemField& field, int position, int& nextId,
                               const FormFonts& fonts)
    : fieldType(field.type) {
    if (IsTimeField(field.type)) {
        CreateTimeRow(parent, field, nextId, fonts);
    } else if (field.type <= kFieldTime) {
        CreateTextRow(parent, field, position, nextId, fonts);
    }
    label = new wxStaticText(parent, wxID_ANY, FromU16(field.Name()), wxDefaultPosition, wxDefaultSize,
                             wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
    label->SetFont(fonts.caption);
    label->Hide();
}

CCardCtrlGroup::~CCardCtrlGroup() {
    if (edit && fieldType == kFieldPassword) edit->ChangeValue(wxString());
    for (wxWindow* control : {static_cast<wxWindow*>(button), static_cast<wxWindow*>(picker),
                              static_cast<wxWindow*>(edit), static_cast<wxWindow*>(label)}) {
        if (control) control->Destroy();
    }
}

void CCardCtrlGroup::CreateTextRow(wxWindow* parent, const ItemField& field, int position, int& nextId,
                                   const FormFonts& fonts) {
    const long style = (field.type == kFieldPassword ? wxTE_PASSWORD : 0) | wxBORDER_NONE;
    edit = new CMyEdit(parent, wxID_ANY, static_cast<int>(field.type), wxString(), wxDefaultPosition,
                       wxDefaultSize, style);
    GiveFixedId(edit, nextId++);
    edit->SetMaxLength(kMaxChars);
    edit->ChangeValue(FieldValueText(field));
    edit->SetFont(field.type == kFieldUrl ? fonts.link : fonts.value);
    edit->SetForegroundColour(EditLink::IsLinkField(field.type, false) ? kLinkText : *wxBLACK);
    edit->SetBackgroundColour(*wxWHITE);
    edit->Hide();
    if (field.type == kFieldNumber || field.type == kFieldPhoneNumber) {
        edit->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnNumberText(); });
    }
    if (field.type == kFieldPassword) {
        button = new CMyButton(parent, wxID_ANY, LoadResString(IDS_BUTTON_COPY), edit);
        GiveFixedId(button, IDC_PASSWORD_BUTTON_FIRST + position);
        button->SetFont(fonts.caption);
        button->Hide();
    }
}

void CCardCtrlGroup::CreateTimeRow(wxWindow* parent, ItemField& field, int& nextId, const FormFonts& fonts) {
    if (field.type == kFieldDate) {
        picker = new wxDatePickerCtrl(parent, wxID_ANY, wxDefaultDateTime, wxDefaultPosition, wxDefaultSize,
                                      wxDP_DROPDOWN | wxDP_SHOWCENTURY);
    } else {
        picker = new wxTimePickerCtrl(parent, wxID_ANY);
    }
    GiveFixedId(picker, nextId++);
    picker->Hide();
    edit = new CMyEdit(parent, wxID_ANY, static_cast<int>(field.type), wxString(), wxDefaultPosition,
                       wxDefaultSize, wxBORDER_NONE);
    GiveFixedId(edit, nextId++);
    edit->SetFont(fonts.value);
    edit->Hide();
    base = wxDateTime::Now();
    if (field.value.empty()) return;
    // A longer value holds one time record and something after it that no one reads.
    if (field.value.size() > 16) field.value.resize(16);
    const wxDateTime local = LocalFromUtc(FieldTime(field));
    if (!local.IsValid()) return;
    base = local;
    picker->SetValue(local);
    edit->ChangeValue(fieldType == kFieldDate ? local.FormatDate() : local.FormatTime());
}

void CCardCtrlGroup::OnNumberText() {
    const wxString text = edit->GetValue();
    wxString digits;
    for (wxUniChar c : text) {
        if (c >= '0' && c <= '9') digits += c;
    }
    if (digits.length() == text.length()) return;
    const long at = edit->GetInsertionPoint() - static_cast<long>(text.length() - digits.length());
    edit->ChangeValue(digits);
    edit->SetInsertionPoint(std::max(0L, at));
}

void CCardCtrlGroup::ApplyMode(int newMode) {
    mode = newMode;
    const bool shown = mode != 1;
    const bool editing = mode == 2;
    label->Show(shown);
    if (picker) picker->Show(editing);
    if (edit) {
        if (!picker) edit->SetEditable(editing);
        edit->Show(shown && !(editing && picker));
    }
    if (button) {
        button->SetLabel(LoadResString(editing ? IDS_BUTTON_GENERATE : IDS_BUTTON_COPY));
        button->Show(shown);
    }
}

void CCardCtrlGroup::Place(const wxRect& row) {
    rect = row;
    const int left = row.x, top = row.y, width = row.width, right = row.x + row.width;
    label->SetSize(left, top, kCaptionWidth, kHeight);
    const int valueWidth = width - kCaptionWidth;
    if (edit) {
        edit->SetSize(left + kCaptionWidth, top, button ? valueWidth - kButtonWidth - kButtonGap : valueWidth,
                      kHeight);
    }
    if (picker) picker->SetSize(left + kCaptionWidth, top, valueWidth, kHeight);
    if (button) {
        const int x = std::max(right - kButtonWidth, kCaptionWidth);
        button->SetSize(x, top, right - x, kHeight);
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
    // The system's locale after a change, as the platform's picker notification gives it.
    edit->ChangeValue(fieldType == kFieldDate ? value.FormatDate() : value.FormatTime());
}
