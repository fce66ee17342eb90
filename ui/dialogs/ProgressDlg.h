#pragma once
// The progress window of a long phone operation: a marker running along a strip of nine cells and a
// line of text. It cannot be closed by the user; the end of the work closes it.
#include <wx/dialog.h>
#include <wx/timer.h>

#include <functional>

class CProgressDlg : public wxDialog {
public:
    static constexpr int kCells = 9;
    static constexpr int kTickMs = 100;

    CProgressDlg(wxWindow* parent, const wxString& title, const wxString& text);
    ~CProgressDlg() override;

    // The cell the marker stands in.
    int MarkerCell() const { return counter % kCells; }
    // The marker's next step (what the timer does).
    void Advance();

private:
    void OnPaintPicture(wxPaintEvent& event);

    wxWindow* picture;
    wxTimer timer;
    int counter = 0;
};

// Shows the progress window, runs work on a new thread, and dispatches events until the work ended.
// The work must not touch a window.
void RunWithProgress(wxWindow* parent, const wxString& title, const wxString& text,
                     const std::function<void()>& work);
