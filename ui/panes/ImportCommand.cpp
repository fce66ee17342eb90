#include "ui/panes/ImportCommand.h"

#include <wx/filedlg.h>
#include <wx/msgdlg.h>

#include "model/CardImport.h"
#include "model/CsvCards.h"
#include "model/Data.h"
#include "ui/controls/UiThread.h"
#include "ui/dialogs/ProgressDlg.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"
#include "ui/rules/SessionGate.h"

namespace {

void Tell(wxWindow* parent, const wxString& text) {
    wxMessageBox(text, LoadResString(IDS_APP_CAPTION), wxOK, parent);
}

// The progress window's line: "n of m cards".
void ShowCount(size_t done, size_t total) {
    RunOnUiThread([done, total] {
        if (wxWindow* line = wxWindow::FindWindowById(IDC_PROGRESS_TEXT))
            line->SetLabel(wxString::Format(LoadResString(IDS_IMPORT_COUNT), int(done), int(total)));
    });
}

ImportResult AddWithProgress(wxWindow* parent, CData& data, SessionGate* gate, ImportPlan& plan) {
    ImportResult result;
    wxWindow* top = wxGetTopLevelParent(parent);
    top->Disable();
    data.SetNotifyGate([](const std::function<void()>& tell) { RunOnUiThread(tell); });
    RunWithProgress(top, LoadResString(IDS_IMPORT_TITLE), LoadResString(IDS_IMPORTING), [&] {
        std::unique_ptr<WorkerConnection> connection = gate ? gate->ConnectWorker() : nullptr;
        if (connection)
            result = ApplyImport(data, plan, [&](size_t done) { ShowCount(done, plan.cards.size()); });
    });
    data.SetNotifyGate(nullptr);
    top->Enable();
    return result;
}

}  // namespace

bool RunImportCommand(wxWindow* parent, CData& data, SessionGate* gate, bool walletOpen) {
    if (!data.HasStores() || !walletOpen) return true;
    wxFileDialog dialog(parent, wxFileSelectorPromptStr, wxEmptyString, wxEmptyString,
                        LoadResString(IDS_IMPORT_FILTER), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK) return true;
    // A reset or a lock that arrives meanwhile waits: the plan holds the model's templates and categories.
    SessionHold hold(gate);
    ImportPlan plan;
    std::string error;
    if (!PlanImportFile(data, dialog.GetPath().utf8_string(), dialog.GetPath().Lower().EndsWith(".json"),
                        DefaultImportTemplate(data), plan, error)) {
        Tell(parent, wxString::Format(LoadResString(IDS_IMPORT_UNREADABLE), wxString::FromUTF8(error)));
        return true;
    }
    wxString summary = wxString::Format(LoadResString(IDS_IMPORT_SUMMARY), int(plan.cards.size()),
                                        int(MissingCategories(data, plan).size()), int(plan.skipped.size()));
    long buttons = plan.cards.empty() ? wxOK : wxOK | wxCANCEL;
    if (wxMessageBox(summary, LoadResString(IDS_IMPORT_TITLE), buttons, parent) != wxOK || plan.cards.empty())
        return true;
    if (!AddWithProgress(parent, data, gate, plan).complete)
        Tell(parent,
             wxString::Format(LoadResString(IDS_IMPORT_STOPPED), int(plan.done), int(plan.cards.size())));
    return true;
}
