#include "ui/panes/ExportCommand.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>

#include <algorithm>
#include <string>

#include "model/CardExport.h"
#include "model/Data.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"

namespace {

constexpr size_t kReasonLimit = 1023;
// By the dialog's type list: text, CSV, JSON.
constexpr ExportFormat kFormats[] = {ExportFormat::Text, ExportFormat::Csv, ExportFormat::Json};
constexpr const char* kExtensions[] = {"txt", "csv", "json"};

}  // namespace

bool RunExportCommand(wxWindow* parent, CData& data, bool walletOpen) {
    // A locked wallet keeps its stores: its cards must not reach a file without the password.
    if (!data.HasStores() || !walletOpen) return true;
    if (wxMessageBox(LoadResString(IDS_EXPORT_WARNING), LoadResString(IDS_APP_CAPTION),
                     wxYES_NO | wxNO_DEFAULT | wxICON_WARNING, parent) != wxYES)
        return true;
    wxString text = LoadResString(IDS_EXPORT_FILTER);
    wxFileDialog dialog(parent, wxFileSelectorPromptStr, wxEmptyString, wxEmptyString,
                        wxString::Format(LoadResString(IDS_EXPORT_FORMATS), text, text),
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK) return true;
    int type = std::clamp(dialog.GetFilterIndex(), 0, 2);
    wxFileName path(dialog.GetPath());
    if (!path.HasExt()) path.SetExt(kExtensions[type]);
    std::string reason;
    ExportCount count;
    const bool exported = ExportWallet(data, kFormats[type], path.GetFullPath().utf8_string(), count, reason);
    const wxString told = exported ? wxString::Format(LoadResString(IDS_EXPORT_DONE),
                                                      static_cast<int>(count.written), path.GetFullPath())
                                   : wxString::FromUTF8(reason.substr(0, kReasonLimit));
    wxMessageBox(told, LoadResString(IDS_APP_CAPTION), wxOK | (exported ? wxICON_INFORMATION : wxICON_ERROR),
                 parent);
    return true;
}
