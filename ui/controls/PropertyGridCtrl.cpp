#include "ui/controls/PropertyGridCtrl.h"

#include <wx/propgrid/props.h>

#include <algorithm>

#include "model/FieldType.h"
#include "ui/controls/WxText.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"
#include "ui/rules/FieldEditCopy.h"

namespace {

constexpr int kNameLimit = ItemField::kNameUnits - 1;

// The eight type names in code order; a choice's value is its type code.
wxPGChoices TypeChoices() {
    wxPGChoices choices;
    for (uint32_t code = kFieldText; code <= kFieldTime; ++code) choices.Add(ToWx(FieldTypeName(code)), code);
    return choices;
}

}  // namespace

CPropertyGridCtrl::CPropertyGridCtrl(wxWindow* parent, wxWindowID id, FieldEditCopy& fields)
    : wxPropertyGridManager(parent, id, wxDefaultPosition, wxDefaultSize, wxPG_DEFAULT_STYLE | wxPG_TOOLTIPS),
      fields(fields) {
    SetExtraStyle(wxPG_EX_HELP_AS_TOOLTIPS);
    if (GetPageCount() == 0) AddPage();
    ShowHeader(true);
    SetColumnTitle(0, LoadResString(IDS_GRID_PROPERTY));
    SetColumnTitle(1, LoadResString(IDS_GRID_VALUE));
    SetColumnTitle(0, LoadResString(IDS_COLUMN_FIELD_NAME));
    SetColumnTitle(1, LoadResString(IDS_COLUMN_FIELD_TYPE));
    Bind(wxEVT_PG_DOUBLE_CLICK, &CPropertyGridCtrl::OnDoubleClick, this);
    Bind(wxEVT_PG_LABEL_EDIT_BEGIN, &CPropertyGridCtrl::OnLabelEditBegin, this);
    Bind(wxEVT_PG_LABEL_EDIT_ENDING, &CPropertyGridCtrl::OnLabelEditEnding, this);
    Bind(wxEVT_PG_CHANGED, &CPropertyGridCtrl::OnChanged, this);
    GetGrid()->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        FitNames();
        event.Skip();
    });
    Fill(-1);
}

// A name editor still open is dropped, not written: the working copy may already be gone.
CPropertyGridCtrl::~CPropertyGridCtrl() {
    GetGrid()->EndLabelEdit(false);
}

void CPropertyGridCtrl::Fill(int select) {
    wxPropertyGrid* grid = GetGrid();
    grid->Clear();
    wxPGChoices choices = TypeChoices();
    for (int i = 0; i < fields.Count(); ++i) {
        const ItemField& field = fields.Field(i);
        const int type = field.type <= kFieldTime ? static_cast<int>(field.type) : 0;
        wxPGProperty* row = grid->Append(
            new wxEnumProperty(ToWx(field.Name()), wxString::Format("field%d", i), choices, type));
        // A type that may not change shows as text, without the list, and says why.
        if (!fields.CanChangeType(i)) {
            row->ChangeFlag(wxPG_PROP_READONLY, true);
            row->SetHelpString(LoadResString(i == 0 ? IDS_FIELD_TYPE_NAME_FIELD : IDS_FIELD_TYPE_KEPT));
        }
    }
    FitNames();
    if (select < 0 || select >= fields.Count()) return;
    wxPGProperty* row = grid->GetRoot()->Item(select);
    grid->SelectProperty(row);
    grid->EnsureVisible(row);
}

int CPropertyGridCtrl::SelectedRow() const {
    const wxPGProperty* row = GetGrid()->GetSelection();
    return row ? static_cast<int>(row->GetIndexInParent()) : -1;
}

bool CPropertyGridCtrl::BeginNameEdit(int row) {
    if (wxTextCtrl* editor = NameEditor()) {
        editor->SetFocus();
        editor->SelectAll();
        return true;
    }
    if (!fields.CanRename(row)) return false;
    wxPropertyGrid* grid = GetGrid();
    grid->SelectProperty(grid->GetRoot()->Item(row));
    grid->BeginLabelEdit(0);
    wxTextCtrl* editor = NameEditor();
    if (!editor) return false;
    editor->SetMaxLength(kNameLimit);
    editor->SetFocus();
    editor->SelectAll();
    return true;
}

void CPropertyGridCtrl::EndNameEdit() {
    wxPropertyGrid* grid = GetGrid();
    if (!NameEditor() || !grid->GetSelection()) return;
    CommitName(grid->GetSelection());
    grid->EndLabelEdit(true);
}

void CPropertyGridCtrl::CancelNameEdit() {
    GetGrid()->EndLabelEdit(false);
}

void CPropertyGridCtrl::FitNames() {
    wxPropertyGrid* grid = GetGrid();
    SetSplitterLeft();
    int width =
        std::max(grid->GetSplitterPosition(),
                 grid->GetTextExtent(LoadResString(IDS_COLUMN_FIELD_NAME)).x + grid->GetMarginWidth());
    if (grid->GetClientSize().x > 0) width = std::min(width, grid->GetClientSize().x * 2 / 3);
    grid->SetSplitterPosition(width);
}

bool CPropertyGridCtrl::IsEditingName() const {
    return NameEditor() != nullptr;
}

wxTextCtrl* CPropertyGridCtrl::NameEditor() const {
    return GetGrid()->GetLabelEditor();
}

void CPropertyGridCtrl::OnDoubleClick(wxPropertyGridEvent& event) {
    if (event.GetProperty()) BeginNameEdit(static_cast<int>(event.GetProperty()->GetIndexInParent()));
}

void CPropertyGridCtrl::OnLabelEditBegin(wxPropertyGridEvent& event) {
    if (!event.GetProperty() || !fields.CanRename(static_cast<int>(event.GetProperty()->GetIndexInParent())))
        event.Veto();
}

void CPropertyGridCtrl::OnLabelEditEnding(wxPropertyGridEvent& event) {
    CommitName(event.GetProperty());
}

// The grid writes the editor's text into the row after this: it is made the name the field keeps.
void CPropertyGridCtrl::CommitName(wxPGProperty* row) {
    wxTextCtrl* editor = NameEditor();
    if (!editor || !row) return;
    const int index = static_cast<int>(row->GetIndexInParent());
    fields.Rename(index, FromWx(editor->GetValue()));
    editor->ChangeValue(index < fields.Count() ? ToWx(fields.Field(index).Name()) : row->GetLabel());
    CallAfter(&CPropertyGridCtrl::FitNames);  // once the grid has taken the new name
}

void CPropertyGridCtrl::OnChanged(wxPropertyGridEvent& event) {
    wxPGProperty* row = event.GetProperty();
    if (!row) return;
    const int index = static_cast<int>(row->GetIndexInParent());
    fields.SetType(index, static_cast<uint32_t>(row->GetValue().GetLong()));
}
