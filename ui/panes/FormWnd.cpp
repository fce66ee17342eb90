#include "ui/panes/FormWnd.h"

#include <wx/dateevt.h>
#include <wx/datetimectrl.h>

#include <algorithm>

#include "model/FieldType.h"
#include "ui/controls/FieldChanges.h"
#include "ui/controls/MyButton.h"
#include "ui/controls/MyEdit.h"
#include "ui/resources/Resource.h"
#include "ui/rules/PasswordGenerator.h"

CFormWnd::CFormWnd(wxWindow* parent, const FormFonts& fonts, CopyFn copy, ChooseFn choose)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxVSCROLL | wxBORDER_NONE),
      fonts(fonts),
      copy(std::move(copy)),
      choose(std::move(choose)) {
    // Only the form's own: each row sets its controls' (inheriting makes the toolkit look up defaults).
    SetOwnBackgroundColour(*wxWHITE);
    SetOwnFont(fonts.caption);
    Bind(wxEVT_SIZE, &CFormWnd::OnSize, this);
    for (const wxEventTypeTag<wxScrollWinEvent>& type :
         {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP, wxEVT_SCROLLWIN_LINEDOWN,
          wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN, wxEVT_SCROLLWIN_THUMBTRACK,
          wxEVT_SCROLLWIN_THUMBRELEASE}) {
        Bind(type, &CFormWnd::OnScroll, this);
    }
    Bind(wxEVT_MOUSEWHEEL, &CFormWnd::OnWheel, this);
    Bind(wxEVT_CHAR_HOOK, &CFormWnd::OnCharHook, this);
    Bind(wxEVT_BUTTON, &CFormWnd::OnPasswordButton, this, IDC_PASSWORD_BUTTON_FIRST,
         IDC_PASSWORD_BUTTON_LAST);
    Bind(wxEVT_DATE_CHANGED, &CFormWnd::OnPicked, this, IDC_FIELD_VALUE_FIRST, IDC_FIELD_VALUE_LAST);
    Bind(wxEVT_TIME_CHANGED, &CFormWnd::OnPicked, this, IDC_FIELD_VALUE_FIRST, IDC_FIELD_VALUE_LAST);
}

CFormWnd::~CFormWnd() {
    ClearRows();
}

void CFormWnd::ClearRows() {
    rows.clear();
    spare.clear();
}

void CFormWnd::LoadCard(const CTesseraItem* card) {
    // The rows of the last card serve fields of the same type again: making controls is what costs.
    for (auto& row : rows) {
        if (!row) continue;
        row->Park();
        spare.push_back(std::move(row));
    }
    rows.clear();
    fields.clear();
    contentHeight = scrollPos = 0;
    if (!card || !card->fields.head) return;
    int nextId = IDC_FIELD_VALUE_FIRST;
    for (auto* node = card->fields.head->next; node; node = node->next) {
        fields.push_back({&node->element, nextId});
        nextId += CCardCtrlGroup::IdsTaken(node->element.type);
    }
    rows.resize(fields.size());
    PlanRows();
    MakeVisibleRows();
    // The scroll sizes and the layout follow once the new rows exist.
    SendSizeEvent(wxSEND_EVENT_POST);
}

// Each row's top: a row as tall as the lines it shows.
void CFormWnd::PlanRows() {
    if (lineStep == 0) GetTextExtent("Xg", nullptr, &lineStep, nullptr, nullptr, &fonts.value);
    tops.assign(1, 0);
    for (const FieldSlot& slot : fields) {
        tops.push_back(tops.back() + kRowPitch + (CCardCtrlGroup::LinesOf(*slot.field) - 1) * lineStep);
    }
    contentHeight = std::max(0, tops.back() - (kRowPitch - CCardCtrlGroup::kHeight));
}

// The row at height y of the content, or the last.
size_t CFormWnd::RowAt(int y) const {
    const auto above = std::upper_bound(tops.begin(), tops.end() - 1, y);
    return static_cast<size_t>(std::max<std::ptrdiff_t>(0, above - tops.begin() - 1));
}

// Rows are made when they come into view, or all at once to edit or to tab through them.
void CFormWnd::MakeRow(size_t i) {
    if (rows[i]) return;
    auto same = std::find_if(spare.begin(), spare.end(),
                             [&](const auto& row) { return row->fieldType == fields[i].field->type; });
    if (same != spare.end()) {
        rows[i] = std::move(*same);
        spare.erase(same);
    } else {
        rows[i] = std::make_unique<CCardCtrlGroup>(this, fields[i].field->type, fonts);
    }
    rows[i]->Load(*fields[i].field, static_cast<int>(i) + 1, fields[i].firstId);
    rows[i]->ApplyMode(mode);
    if (GetClientSize().x > 0) rows[i]->Place(RowRect(i));
}

void CFormWnd::MakeVisibleRows() {
    const int height = GetClientSize().y;
    if (height <= 0 || rows.empty()) return;
    const size_t last = RowAt(scrollPos + height);
    for (size_t i = RowAt(scrollPos); i <= last; ++i) MakeRow(i);
}

void CFormWnd::MakeAllRows() {
    for (size_t i = 0; i < rows.size(); ++i) MakeRow(i);
}

wxRect CFormWnd::RowRect(size_t i) const {
    int right = GetClientSize().x;
    if (contentHeight >= right) right = std::max(0, right - 5);
    return {0, -scrollPos + tops[i], right, tops[i + 1] - tops[i] - (kRowPitch - CCardCtrlGroup::kHeight)};
}

void CFormWnd::ApplyMode() {
    if (mode == kEdit) MakeAllRows();
    for (auto& row : rows) {
        if (row) row->ApplyMode(mode);
    }
}

bool CFormWnd::CollectChanges(CTesseraItem& card) {
    bool changed = false;
    size_t k = 0;
    for (auto* node = card.fields.head ? card.fields.head->next : nullptr; node && k < rows.size();
         node = node->next, ++k) {
        if (!rows[k]) continue;  // never shown, so never changed
        const CCardCtrlGroup& row = *rows[k];
        if (IsTimeField(row.fieldType)) {
            // A row never edited has no picker, and nothing to collect.
            if (std::optional<SYSTEMTIME> picked = row.PickedUtc())
                changed |= CollectTime(node->element, *picked);
        } else if (row.edit) {
            wxString value = row.edit->GetValue();
            std::u16string text = ToU16(value);
            changed |= CollectText(node->element, text);
            Wipe(text);
            Wipe(value);
        }
    }
    return changed;
}

void CFormWnd::OnSize(wxSizeEvent& event) {
    UpdateScrollSizes();
    LayoutRows();
    event.Skip();
}

void CFormWnd::UpdateScrollSizes() {
    // Every resize returns the form to its top.
    scrollPos = 0;
    SetScrollbar(wxVERTICAL, 0, GetClientSize().y, contentHeight);
    Refresh();
}

int CFormWnd::ScrollLimit() const {
    return std::max(0, contentHeight - GetClientSize().y);
}

void CFormWnd::ScrollTo(int position) {
    position = std::clamp(position, 0, ScrollLimit());
    if (position == scrollPos) return;
    scrollPos = position;
    SetScrollPos(wxVERTICAL, scrollPos);
    LayoutRows();
}

void CFormWnd::LayoutRows() {
    const wxSize client = GetClientSize();
    if (client.x <= 0 || client.y <= 0) return;
    MakeVisibleRows();
    Freeze();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i]) rows[i]->Place(RowRect(i));
    }
    Thaw();
}

void CFormWnd::OnScroll(wxScrollWinEvent& event) {
    const wxEventType type = event.GetEventType();
    const int page = GetClientSize().y;
    if (type == wxEVT_SCROLLWIN_TOP) {
        ScrollTo(0);
    } else if (type == wxEVT_SCROLLWIN_BOTTOM) {
        ScrollTo(ScrollLimit());
    } else if (type == wxEVT_SCROLLWIN_LINEUP || type == wxEVT_SCROLLWIN_LINEDOWN) {
        ScrollTo(scrollPos + (type == wxEVT_SCROLLWIN_LINEUP ? -kRowPitch : kRowPitch));
    } else if (type == wxEVT_SCROLLWIN_PAGEUP || type == wxEVT_SCROLLWIN_PAGEDOWN) {
        ScrollTo(scrollPos + (type == wxEVT_SCROLLWIN_PAGEUP ? -page : page));
    } else {
        ScrollTo(event.GetPosition());
    }
}

void CFormWnd::OnWheel(wxMouseEvent& event) {
    if (event.GetWheelDelta() == 0) return;
    const int lines = -event.GetWheelRotation() / event.GetWheelDelta() * event.GetLinesPerAction();
    ScrollTo(scrollPos + lines * kRowPitch / 3);
}

void CFormWnd::OnCharHook(wxKeyEvent& event) {
    if (event.GetKeyCode() != WXK_TAB) {
        event.Skip();
        return;
    }
    // Shift is not looked at: Tab always moves forward.
    TabForward();
}

void CFormWnd::TabForward() {
    // The tab order: the rows' controls in the order a row makes them.
    MakeAllRows();
    std::vector<wxWindow*> order;
    int current = -1;
    const wxWindow* focus = FindFocus();
    for (const auto& row : rows) {
        for (wxWindow* control : {static_cast<wxWindow*>(row->picker), static_cast<wxWindow*>(row->edit),
                                  static_cast<wxWindow*>(row->button)}) {
            if (!control || !control->IsShown() || !control->IsEnabled()) continue;
            if (focus && (focus == control || control->IsDescendant(const_cast<wxWindow*>(focus)))) {
                current = static_cast<int>(order.size());
            }
            order.push_back(control);
        }
    }
    if (order.empty()) return;
    wxWindow* next = order[(current + 1) % order.size()];
    next->SetFocus();
    if (auto* edit = dynamic_cast<CMyEdit*>(next)) {
        edit->SelectAll();
        edit->ShowPosition(edit->GetLastPosition());
    }
    auto row = std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r && r->Holds(next); });
    if (row == rows.end()) return;
    if (row == rows.begin()) {
        ScrollTo(0);
    } else if ((*row)->rect.GetBottom() > GetClientSize().y) {
        ScrollTo(scrollPos + contentHeight / static_cast<int>(rows.size()) + 1);
    }
}

CCardCtrlGroup* CFormWnd::RowWithButton(int id) const {
    auto row = std::find_if(rows.begin(), rows.end(),
                            [&](const auto& r) { return r && r->button && r->button->GetId() == id; });
    return row == rows.end() ? nullptr : row->get();
}

void CFormWnd::OnPasswordButton(wxCommandEvent& event) {
    CCardCtrlGroup* row = RowWithButton(event.GetId());
    if (!row) return;
    if (row->mode == kView) {
        // The whole value, whatever part of it was selected.
        CMyEdit* edit = row->edit;
        edit->SelectAll();
        edit->ShowPosition(edit->GetLastPosition());
        wxString value = edit->GetValue();
        if (copy) copy(value);
        Wipe(value);
    } else if (row->mode == kEdit && row->fieldType == kFieldPassword) {
        Generate(event.GetId());
    }
}

void CFormWnd::Generate(int buttonId) {
    GeneratorChoice choice;
    if (!choose || !choose(!RowWithButton(buttonId)->edit->IsEmpty(), choice)) return;
    // A lock while the user chose may have taken the row away.
    CCardCtrlGroup* row = RowWithButton(buttonId);
    if (!row || row->mode != kEdit) return;
    std::u16string password = GeneratePassword(choice);
    if (password.empty()) return;
    wxString text = FromU16(password);
    row->edit->ChangeValue(text);
    Wipe(text);
    Wipe(password);
}

void CFormWnd::OnPicked(wxEvent& event) {
    auto* picked = dynamic_cast<wxDateEvent*>(&event);
    if (!picked || !picked->GetDate().IsValid()) return;
    auto row = std::find_if(rows.begin(), rows.end(), [&](const auto& r) {
        return r && r->picker && IsTimeField(r->fieldType) && r->picker->GetId() == event.GetId();
    });
    if (row != rows.end()) (*row)->ShowPicked();
}
