#pragma once
// The host's Options dialog: its own "General" page and one page from each plug-in that gives one.
#include <wx/dialog.h>

#include <functional>
#include <vector>

#include "host/HostOptions.h"

class PluginSet;
class wxCheckBox;
class wxNotebook;

class OptionsDialog : public wxDialog {
public:
    // Called on OK with the options as entered, after every page's check and before the pages take
    // their values.
    using Apply = std::function<void(const HostOptions&)>;

    OptionsDialog(wxWindow* parent, const HostOptions& options, const PluginSet& plugins, Apply apply);

    // What OK does: every plug-in page checks its input first; when one refuses, nothing is applied and
    // the dialog stays open (false). Otherwise the options apply, then each page takes its values.
    bool Confirm();

    wxNotebook* Book() const { return book; }
    const std::vector<wxWindow*>& PluginPages() const { return pluginPages; }

private:
    void AddPluginPages(const PluginSet& plugins);
    void OnOk(wxCommandEvent& event);

    HostOptions options;
    Apply apply;
    wxNotebook* book;
    wxCheckBox* statusBar;
    std::vector<wxWindow*> pluginPages;
};
