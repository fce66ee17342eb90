#pragma once
// The main view's backup pane: what is known of one backup (its name, when it was made and how many
// cards it holds) and the "Restore" button that puts it in place of the wallet. Times are shown in
// local time with the zone's name, whether they come from a backup's header or from a backup just made.
#include <wx/panel.h>

#include <cstdint>
#include <string>

#include "platform/SystemTime.h"

class BackupActions;
class wxButton;

class CBackupPane : public wxPanel {
public:
    // actions: where the backup list is kept and restores go; none: no backup is shown.
    CBackupPane(wxWindow* parent, BackupActions* actions);

    // The backup of exactly that name in the list, with the Restore button; nothing, and no button, for a
    // name the list does not hold.
    void ShowBackup(const std::u16string& name);

    bool BackupShown() const { return backupShown; }

private:
    void OnRestore(wxCommandEvent& event);
    void OnPaint(wxPaintEvent& event);
    // Draws a label and its value from `x` on the line `y`.
    void DrawLine(wxDC& dc, int x, int y, unsigned label, const wxString& value);
    // The backup's time in local time with its zone.
    wxString TimeText() const;

    BackupActions* actions;
    wxButton* restore = nullptr;
    std::u16string backupName;
    SYSTEMTIME backupTime{};
    uint32_t backupCardCount = 0;
    bool backupShown = false;
    bool restoreEnabled = false;
};
