#pragma once
// The plug-in's page in the host's Options dialog: the idle minutes after which the wallet locks.
#include <wx/panel.h>

#include <functional>

class wxTextCtrl;

class CTessera_OptionsDlg : public wxPanel {
public:
    // confirm receives the entered minutes when the page is confirmed with a different number.
    CTessera_OptionsDlg(wxWindow* parent, int minutes, std::function<void(int)> confirm);

    // Confirms the page: a whole number is taken; anything else is refused with the standard message.
    bool TransferDataFromWindow() override;
    int Minutes() const { return minutes; }

private:
    wxTextCtrl* edit = nullptr;
    int minutes;
    std::function<void(int)> confirm;
};
