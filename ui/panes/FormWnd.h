#pragma once
// The card form: the scrolling area of the main view that shows a card's fields after its name as
// rows, read-only (view), writable (edit) or not at all (hidden), and writes the edited values back.
#include <wx/panel.h>

#include <functional>
#include <memory>
#include <vector>

#include "ui/controls/CardCtrlGroup.h"
#include "ui/rules/PasswordGenerator.h"

class CTesseraItem;

class CFormWnd : public wxPanel {
public:
    enum Mode { kView = 0, kHidden = 1, kEdit = 2 };
    static constexpr int kRowPitch = 34;
    // Hands a password to copy to whoever guards the clipboard; true when it was copied.
    using CopyFn = std::function<bool(const wxString& text)>;
    // Asks how to generate a password, saying whether one is replaced; false when the user declined.
    using ChooseFn = std::function<bool(bool replacing, GeneratorChoice& choice)>;

    CFormWnd(wxWindow* parent, const FormFonts& fonts, CopyFn copy, ChooseFn choose);
    ~CFormWnd() override;

    // Rebuilds the rows for the card's fields after the first; only clears them without a card. Rows still
    // to be made read the card's fields, so the card must stay until the next LoadCard.
    void LoadCard(const CTesseraItem* card);
    void SetMode(int newMode) { mode = newMode; }
    int GetMode() const { return mode; }
    void ApplyMode();
    // Writes the rows' values back into the card's fields; true when any changed.
    bool CollectChanges(CTesseraItem& card);

    int ContentHeight() const { return contentHeight; }
    int ScrollPosition() const { return scrollPos; }
    // One per field after the name; a row is made (not null) once it came into view, or for editing.
    const std::vector<std::unique_ptr<CCardCtrlGroup>>& Rows() const { return rows; }
    void LayoutRows();

private:
    void ClearRows();
    void PlanRows();
    size_t RowAt(int y) const;
    void MakeRow(size_t i);
    void MakeVisibleRows();
    void MakeAllRows();
    wxRect RowRect(size_t i) const;
    void UpdateScrollSizes();
    void ScrollTo(int position);
    int ScrollLimit() const;
    void OnSize(wxSizeEvent& event);
    void OnScroll(wxScrollWinEvent& event);
    void OnWheel(wxMouseEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void TabForward();
    void OnPasswordButton(wxCommandEvent& event);
    CCardCtrlGroup* RowWithButton(int id) const;
    void Generate(int buttonId);
    void OnPicked(wxEvent& event);

    FormFonts fonts;
    CopyFn copy;
    ChooseFn choose;
    std::vector<std::unique_ptr<CCardCtrlGroup>> rows;
    // The shown card's fields after the name, each with the first control id of its row.
    struct FieldSlot {
        const ItemField* field;
        int firstId;
    };
    std::vector<FieldSlot> fields;
    // Rows of the last card not yet given to this one's fields, hidden.
    std::vector<std::unique_ptr<CCardCtrlGroup>> spare;
    int mode = kView;
    std::vector<int> tops;  // of each row in the content, and the end of the last
    int lineStep = 0;       // the height a further line of a value adds to its row
    int contentHeight = 0;
    int scrollPos = 0;
};
