#pragma once
// "Select Template": the templates with their icons and field names, for a new card. After ShowModal()
// returns wxID_OK, TemplateId() is the chosen template's record id, or -1 for "Empty Card ". Cancel gives
// wxID_CANCEL and the wallet lock (EndAsNoChoice) IDLOCKED: neither is a choice.
#include <wx/dialog.h>

#include <cstdint>

class CMyIconList;
class CData;
class CViewList;
class wxListEvent;

class CTemplateDlg : public wxDialog {
public:
    // data may be null or without stores: the dialog is then empty.
    CTemplateDlg(wxWindow* parent, const CData* data, CMyIconList* icons);

    int32_t TemplateId() const { return templateId; }
    void EndAsNoChoice();
    CViewList* List() const { return list; }

private:
    void Fill(const CData& data, CMyIconList& icons);
    void FitColumns(wxSizeEvent& event);
    void OnSelected(wxListEvent& event);
    void Choose(int32_t id);

    CViewList* list;
    int32_t templateId = -1;
};
