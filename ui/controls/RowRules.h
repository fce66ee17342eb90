#pragma once
// The dotted rule along the top and bottom edge of every row of a report list, drawn over the rows once
// the list has painted them.
#include <wx/event.h>

class wxListCtrl;
class wxWindow;

class RowRules : public wxEvtHandler {
public:
    // rows: the list's child that paints the rows; the rules are pushed onto it until they go.
    RowRules(wxListCtrl& list, wxWindow& rows);
    ~RowRules() override;
    RowRules(const RowRules&) = delete;
    RowRules& operator=(const RowRules&) = delete;

private:
    void OnPaint(wxPaintEvent& event);

    wxListCtrl& list;
    wxWindow& rows;
};
