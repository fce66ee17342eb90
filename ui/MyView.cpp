#include "ui/MyView.h"

#include "ui/Resource.h"

CMyView::CMyView(wxWindow* parent)
    : wxPanel(parent, IDW_MAIN_VIEW, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxBORDER_NONE) {
    Hide();
}

void CMyView::InitialUpdate() {
    SetBackgroundColour(*wxWHITE);
}

bool CMyView::OnCommand(int, int, void*) {
    return false;
}
