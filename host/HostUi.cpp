#include "host/HostUi.h"

#include <wx/artprov.h>
#include <wx/dcmemory.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/toolbar.h>

#include "wxkit/FixedIds.h"
#include "plugin-api/PluginApi.h"

void FillHostMenus(wxMenuBar* bar) {
    while (bar->GetMenuCount() > 0) delete bar->Remove(0);
    auto* file = new wxMenu;
    AppendMenuCommand(file, ID_HOST_OPTIONS, "&Options...");
    file->AppendSeparator();
    AppendMenuCommand(file, ID_APP_EXIT, "E&xit");
    auto* view = new wxMenu;
    view->AppendCheckItem(ID_VIEW_STATUS_BAR, "&Status Bar");
    auto* help = new wxMenu;
    AppendMenuCommand(help, ID_APP_ABOUT, "&About Quillmark Pocketdeck...");
    bar->Append(file, "&File");
    bar->Append(view, "&View");
    bar->Append(help, "&Help");
}

void FillHostTools(wxToolBar* bar) {
    bar->ClearTools();
    bar->AddTool(ID_HOST_OPTIONS, "Options", wxArtProvider::GetBitmap(wxART_EXECUTABLE_FILE, wxART_TOOLBAR),
                 "Options");
    bar->AddTool(ID_APP_ABOUT, "About", wxArtProvider::GetBitmap(wxART_INFORMATION, wxART_TOOLBAR), "About");
    bar->Realize();
}

PhonePanel::PhonePanel(wxWindow* parent, const wxString& state) : wxPanel(parent) {
    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    sizer->Add(new wxStaticBitmap(this, wxID_ANY, PhonePicture(32)), 0, wxALL | wxALIGN_CENTER_VERTICAL, 8);
    label = new wxStaticText(this, wxID_ANY, state);
    sizer->Add(label, 1, wxALL | wxALIGN_CENTER_VERTICAL, 8);
    SetSizer(sizer);
}

void PhonePanel::SetState(const wxString& state) {
    label->SetLabel(state);
    Layout();
}

wxBitmap PhonePicture(int size) {
    wxBitmap picture(size, size);
    wxMemoryDC dc(picture);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    int width = size / 2, left = (size - width) / 2;
    dc.SetPen(*wxBLACK_PEN);
    dc.SetBrush(*wxBLACK_BRUSH);
    dc.DrawRoundedRectangle(left, 1, width, size - 2, size / 8.0);
    dc.SetBrush(wxBrush(wxColour(120, 170, 220)));
    dc.DrawRectangle(left + 2, size / 8 + 1, width - 4, size * 5 / 8);
    dc.SelectObject(wxNullBitmap);
    picture.SetMask(new wxMask(picture, *wxWHITE));  // the white around the phone is see-through
    return picture;
}
