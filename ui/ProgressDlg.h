#pragma once
// The progress window of a long phone operation: a marker running along a strip of nine cells and a
// line of text. It cannot be closed by the user; the worker's end closes it.
#include <wx/dialog.h>
#include <wx/timer.h>

#include <functional>

class CProgressDlg : public wxDialog {
public:
    static constexpr int kCells = 9;
    static constexpr int kTickMs = 100;

    CProgressDlg(wxWindow* parent, const wxString& title, const wxString& text);
    ~CProgressDlg() override;

    // True until the worker's end has arrived (the platform's progress dialog handle).
    bool IsOpen() const { return open; }
    // The cell the marker stands in.
    int MarkerCell() const { return counter % kCells; }
    // The marker's next step (what the timer does).
    void Advance();
    // Posted by the worker when it ends; safe from any thread.
    static void PostDone(wxEvtHandler* dialog);

private:
    void OnPaintPicture(wxPaintEvent& event);
    void OnDone(wxThreadEvent& event);

    wxWindow* picture;
    wxTimer timer;
    int counter = 0;
    bool open = true;
};

// Shows the progress window, runs work on a new thread, and dispatches events until the work ended.
// The work must not touch a window.
void RunWithProgress(wxWindow* parent, const wxString& title, const wxString& text,
                     const std::function<void()>& work);
