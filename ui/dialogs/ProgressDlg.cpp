#include "ui/dialogs/ProgressDlg.h"

#include <wx/dcbuffer.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/weakref.h>

#include <atomic>
#include <thread>

#include "diag/STLogFile.h"
#include "ui/controls/DispatchLoop.h"
#include "ui/resources/ArtLibrary.h"
#include "ui/resources/Resource.h"

CProgressDlg::CProgressDlg(wxWindow* parent, const wxString& title, const wxString& text)
    : wxDialog(parent, IDD_PROGRESS, title, wxDefaultPosition, wxDefaultSize, wxCAPTION),
      timer(this, IDT_PROGRESS) {
    wxBitmap track = LoadBitmapRes(IDB_PROGRESS_TRACK);
    picture = new wxWindow(this, IDC_PROGRESS_PICTURE, wxDefaultPosition, track.GetSize());
    picture->SetBackgroundStyle(wxBG_STYLE_PAINT);
    picture->Bind(wxEVT_PAINT, &CProgressDlg::OnPaintPicture, this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(picture, 0, wxALL | wxALIGN_CENTER_HORIZONTAL, 10);
    sizer->Add(new wxStaticText(this, IDC_PROGRESS_TEXT, text), 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND,
               10);
    SetSizerAndFit(sizer);
    Bind(wxEVT_CLOSE_WINDOW, [](wxCloseEvent& event) { event.Veto(); });
    Bind(
        wxEVT_TIMER, [this](wxTimerEvent&) { Advance(); }, IDT_PROGRESS);
    timer.Start(kTickMs);
}

CProgressDlg::~CProgressDlg() {
    timer.Stop();
}

void CProgressDlg::Advance() {
    ++counter;
    picture->Refresh();
}

void CProgressDlg::OnPaintPicture(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(picture);
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    dc.DrawBitmap(LoadBitmapRes(IDB_PROGRESS_TRACK), 0, 0, true);
    int cellWidth = picture->GetClientSize().x / kCells;
    dc.DrawBitmap(LoadBitmapRes(IDB_PROGRESS_MARKER), MarkerCell() * cellWidth, 0, true);
}

void RunWithProgress(wxWindow* parent, const wxString& title, const wxString& text,
                     const std::function<void()>& work) {
    wxWeakRef<CProgressDlg> dialog = new CProgressDlg(parent, title, text);
    dialog->CentreOnParent();
    dialog->Show();
    dialog->Update();
    std::atomic<bool> done = false;
    std::thread worker([&work, &done] {
        try {
            work();
        } catch (...) {
            ST_LOG("Critical Error: worker failed");
        }
        done = true;
    });
    // The loop waits for the worker, not for the window: unloading the plug-in meanwhile takes the
    // window with its parent.
    DispatchWhile([&done] { return !done; });
    worker.join();
    if (dialog) dialog->Destroy();
}
