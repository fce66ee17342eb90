#pragma once
// The plug-in's page in the host's Options dialog: the idle minutes after which the wallet locks.
#include <wx/panel.h>

#include <functional>

class wxTextCtrl;

class CTessera_OptionsDlg : public wxPanel {
public:
    // The page shows current() at creation; confirm receives the entered minutes when the page is
    // confirmed with a number other than the minutes current() gives at that moment (the host may have
    // changed them since).
    CTessera_OptionsDlg(wxWindow* parent, std::function<int()> current, std::function<void(int)> confirm);

    // Refuses anything but a whole number with the standard message.
    bool Validate() override;
    bool TransferDataFromWindow() override;

private:
    bool Entered(int* minutes) const;

    wxTextCtrl* edit = nullptr;
    std::function<int()> current;
    std::function<void(int)> confirm;
};
