#include "ui/ExportCommand.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>

#include <string>

#include "model/CardExport.h"
#include "model/Data.h"
#include "ui/BackupCommands.h"
#include "ui/Resource.h"
#include "ui/StringTable.h"

namespace {

constexpr size_t kReasonLimit = 1023;

}  // namespace

bool RunExportCommand(wxWindow* parent, CData& data) {
    // A locked wallet keeps its stores: its cards must not reach a file without the password.
    BackupActions* actions = GetBackupActions();
    if (!data.walletStore || !actions || !actions->WalletOpen()) return true;
    wxFileDialog dialog(parent, wxFileSelectorPromptStr, wxEmptyString, wxEmptyString,
                        LoadResString(IDS_EXPORT_FILTER), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK) return true;
    wxFileName path(dialog.GetPath());
    if (!path.HasExt()) path.SetExt("txt");
    std::string reason;
    if (!ExportCards(*data.walletStore, path.GetFullPath().utf8_string(), reason))
        wxMessageBox(wxString::FromUTF8(reason.substr(0, kReasonLimit)), LoadResString(IDS_APP_CAPTION), wxOK,
                     parent);
    return true;
}
