#include "ui/panes/BackupPane.h"

#include <wx/button.h>
#include <wx/control.h>
#include <wx/dcbuffer.h>
#include <wx/msgdlg.h>

#include <algorithm>

#include "device/TesseraBackup.h"
#include "platform/LocalTime.h"
#include "ui/controls/WxText.h"
#include "ui/panes/BackupCommands.h"
#include "ui/resources/ArtLibrary.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"

namespace {

constexpr int kMargin = 5;
constexpr int kPanelTop = 40;  // below the Restore button
constexpr int kLineHeight = 20;
const wxColour kEmptyColour(0xEA, 0xEA, 0xEA);
const wxColour kValueColour(255, 0, 0);

}  // namespace

CBackupPane::CBackupPane(wxWindow* parent, BackupActions* actions) : wxPanel(parent), actions(actions) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    restore = new wxButton(this, IDC_RESTORE_BUTTON, LoadResString(IDS_BUTTON_RESTORE),
                           wxPoint(kMargin, kMargin), wxSize(100, 25));
    restore->Hide();
    restore->Bind(wxEVT_BUTTON, &CBackupPane::OnRestore, this);
    Bind(wxEVT_PAINT, &CBackupPane::OnPaint, this);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        Refresh();
        event.Skip();
    });
}

void CBackupPane::ShowBackup(const std::u16string& name) {
    const backup_entry_struct* found = nullptr;
    if (actions) {
        const auto& entries = actions->Backups().entries;
        auto entry = std::find_if(entries.begin(), entries.end(),
                                  [&](const backup_entry_struct& e) { return e.name == name; });
        if (entry != entries.end()) found = &*entry;
    }
    backupName = found ? found->name : std::u16string();
    backupTime = found ? found->time : SYSTEMTIME{};
    backupCardCount = found ? found->count : 0;
    backupShown = restoreEnabled = found != nullptr;
    restore->Show(restoreEnabled);
    Refresh();
}

void CBackupPane::OnRestore(wxCommandEvent&) {
    if (!restoreEnabled || !actions) return;
    const wxString question = wxString::Format(LoadResString(IDS_RESTORE_CONFIRM), ToWx(backupName),
                                               TimeText(), static_cast<int>(backupCardCount));
    if (wxMessageBox(question, LoadResString(IDS_APP_CAPTION), wxYES_NO | wxNO_DEFAULT | wxICON_WARNING,
                     wxGetTopLevelParent(this)) != wxYES)
        return;
    // The restore may end the plug-in's run; the name is kept apart from the pane.
    std::u16string name = backupName;
    actions->RestoreBackup(name);
}

wxString CBackupPane::TimeText() const {
    return wxString::FromUTF8(FormatLocal(backupTime, (ShortDatePicture() + " %X %Z").c_str()));
}

void CBackupPane::DrawLine(wxDC& dc, int x, int y, unsigned label, const wxString& value) {
    wxString text = LoadResString(label);
    dc.SetTextForeground(*wxBLACK);
    dc.DrawText(text, x, y);
    dc.SetTextForeground(kValueColour);
    dc.DrawText(value, x + dc.GetTextExtent(text).x, y);
}

void CBackupPane::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    wxSize size = GetClientSize();
    dc.SetBackground(wxBrush(backupShown ? *wxWHITE : kEmptyColour));
    dc.Clear();
    if (!backupShown) return;
    dc.SetFont(GetFont());
    wxBitmap icon = LoadBitmapRes(IDB_BACKUP_FILE);
    int x = kMargin;
    if (icon.IsOk()) {
        dc.DrawBitmap(icon, x, kPanelTop, true);
        x += icon.GetWidth() + kMargin;
    }
    int width = std::max(size.x - x - kMargin, 0);
    dc.SetTextForeground(*wxBLACK);
    dc.DrawText(wxControl::Ellipsize(ToWx(backupName), dc, wxELLIPSIZE_END, width), x, kPanelTop);
    DrawLine(dc, x, kPanelTop + kLineHeight, IDS_BACKUP_LAST_MODIFY, TimeText());
    DrawLine(dc, x, kPanelTop + 2 * kLineHeight, IDS_BACKUP_CARD_COUNT,
             wxString::Format("%u", backupCardCount));
}
