#include "ui/dialogs/TemplateDlg.h"

#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>

#include <vector>

#include "ui/controls/MyIconList.h"
#include "ui/controls/ViewList.h"
#include "ui/controls/WxText.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"
#include "ui/rules/TemplateRows.h"

CTemplateDlg::CTemplateDlg(wxWindow* parent, const CData* data, CMyIconList* icons)
    : wxDialog(parent, wxID_ANY, LoadResString(IDS_TEMPLATE_DIALOG_TITLE)) {
    list = new CViewList(this, IDC_TEMPLATE_LIST,
                         wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_NO_HEADER | wxLC_HRULES | wxLC_VRULES,
                         wxDefaultPosition, wxSize(420, 260));
    auto* buttons = new wxBoxSizer(wxVERTICAL);
    const std::pair<int, unsigned> kButtons[] = {
        {wxID_OK, IDS_BUTTON_OK}, {wxID_CANCEL, IDS_BUTTON_CANCEL}, {IDC_EMPTY_CARD, IDS_BUTTON_EMPTY_CARD}};
    for (const auto& [id, text] : kButtons)
        buttons->Add(new wxButton(this, id, LoadResString(text)), 0, wxBOTTOM | wxEXPAND, 6);
    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    sizer->Add(list, 1, wxALL | wxEXPAND, 10);
    sizer->Add(buttons, 0, wxTOP | wxRIGHT, 10);
    SetSizerAndFit(sizer);
    if (data && data->HasStores() && icons) Fill(*data, *icons);
    list->Bind(wxEVT_SIZE, &CTemplateDlg::FitColumns, this);
    list->Bind(wxEVT_LIST_ITEM_SELECTED, &CTemplateDlg::OnSelected, this);
    list->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent&) { Choose(templateId); });
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Choose(templateId); }, wxID_OK);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Choose(-1); }, IDC_EMPTY_CARD);
    CentreOnParent();
}

void CTemplateDlg::Fill(const CData& data, CMyIconList& icons) {
    list->AppendColumn(LoadResString(IDS_COLUMN_TEMPLATE));
    list->AppendColumn(LoadResString(IDS_COLUMN_FIELD));
    list->SetImageList(icons.Small(), wxIMAGE_LIST_SMALL);
    std::vector<TemplateRow> rows;
    if (!ReadTemplateRows(data, rows)) {
        wxMessageBox(LoadResString(IDS_OUT_OF_MEMORY), LoadResString(IDS_APP_CAPTION), wxOK | wxICON_ERROR,
                     this);
    }
    for (const TemplateRow& row : rows) {
        const int icon =
            row.icon < static_cast<uint32_t>(icons.IconCount()) ? static_cast<int>(row.icon) : -1;
        const long at = list->InsertItem(list->GetItemCount(), ToWx(row.name), icon);
        list->SetItem(at, 1, ToWx(row.fields));
        list->SetItemData(at, row.id);
    }
    if (!rows.empty()) {
        list->SetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                           wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
        templateId = static_cast<int32_t>(rows.front().id);
    }
    list->SetFocus();
}

// "Template" takes a third of the list, "Field" the rest of what the scroll bar leaves.
void CTemplateDlg::FitColumns(wxSizeEvent& event) {
    event.Skip();
    if (list->GetColumnCount() < 2) return;
    const int width = list->GetClientSize().x;
    list->SetColumnWidth(0, width / 3);
    list->SetColumnWidth(1, width - width / 3);
}

void CTemplateDlg::OnSelected(wxListEvent& event) {
    templateId = static_cast<int32_t>(list->GetItemData(event.GetIndex()));
}

void CTemplateDlg::Choose(int32_t id) {
    templateId = id;
    SetReturnCode(wxID_OK);
    EndDialog(wxID_OK);
}

void CTemplateDlg::EndAsNoChoice() {
    SetReturnCode(IDLOCKED);
    EndDialog(IDLOCKED);
}
