#pragma once
// What "Generate" asks before it makes a password: the length and the character classes, and, when the
// box already holds a password, that it is replaced.
#include <wx/dialog.h>

#include "ui/rules/PasswordGenerator.h"

class wxCheckBox;
class wxSpinCtrl;

class CPasswordGeneratorDlg : public wxDialog {
public:
    CPasswordGeneratorDlg(wxWindow* parent, const GeneratorChoice& choice, bool replacing);

    GeneratorChoice Choice() const;
    void SetChoice(const GeneratorChoice& choice);

private:
    wxSpinCtrl* length = nullptr;
    wxCheckBox* classes[4] = {};
};
