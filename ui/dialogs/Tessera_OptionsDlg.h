#pragma once
// The plug-in's page in the host's Options dialog: the idle minutes after which the wallet locks, 0 to 999,
// 0 for never.
#include <wx/panel.h>

#include <functional>

class wxSpinCtrl;

class CTessera_OptionsDlg : public wxPanel {
public:
    // The page shows current() at creation, brought into 0..999; confirm receives the entered minutes when
    // the page is confirmed with minutes other than those current() shows as at that moment (the host may
    // have changed them since; minutes out of the range that the user did not touch stay as they are).
    CTessera_OptionsDlg(wxWindow* parent, std::function<int()> current, std::function<void(int)> confirm);

    bool TransferDataFromWindow() override;

private:
    wxSpinCtrl* spin = nullptr;
    std::function<int()> current;
    std::function<void(int)> confirm;
};
