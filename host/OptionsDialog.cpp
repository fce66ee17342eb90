#include "host/OptionsDialog.h"

#include <wx/checkbox.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/sizer.h>

#include "host/PluginSet.h"

OptionsDialog::OptionsDialog(wxWindow* parent, const HostOptions& options, const PluginSet& plugins,
                             Apply apply)
    : wxDialog(parent, wxID_ANY, "Options", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      options(options),
      apply(std::move(apply)) {
    book = new wxNotebook(this, wxID_ANY);
    auto* general = new wxPanel(book);
    statusBar = new wxCheckBox(general, wxID_ANY, "Show the &status bar");
    statusBar->SetValue(options.StatusBarShown());
    auto* generalSizer = new wxBoxSizer(wxVERTICAL);
    generalSizer->Add(statusBar, 0, wxALL, 10);
    general->SetSizer(generalSizer);
    book->AddPage(general, "General");
    AddPluginPages(plugins);

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(book, 1, wxEXPAND | wxALL, 8);
    sizer->Add(CreateSeparatedButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(sizer);
    Bind(wxEVT_BUTTON, &OptionsDialog::OnOk, this, wxID_OK);
}

void OptionsDialog::AddPluginPages(const PluginSet& plugins) {
    for (const LoadedPlugin& plugin : plugins.Plugins()) {
        auto* page = static_cast<wxWindow*>(plugin.Call().createOptionsDialog(book));
        if (!page) continue;
        book->AddPage(page, plugin.name);
        pluginPages.push_back(page);
    }
}

bool OptionsDialog::Confirm() {
    for (wxWindow* page : pluginPages) {
        if (!page->Validate()) return false;
    }
    options.SetStatusBarShown(statusBar->GetValue());
    apply(options);
    for (wxWindow* page : pluginPages) page->TransferDataFromWindow();
    return true;
}

void OptionsDialog::OnOk(wxCommandEvent&) {
    if (Confirm()) EndModal(wxID_OK);
}
