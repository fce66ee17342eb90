#pragma once
// One row of the card form: the caption, the value edit, and for DATE and TIME fields a picker, for
// PASSWORD fields a button. The row owns its controls and destroys them when cleared.
#include <wx/datetime.h>
#include <wx/font.h>
#include <wx/gdicmn.h>

#include <optional>

#include "platform/SystemTime.h"
#include "store/TesseraItem.h"

class wxDateTimePickerCtrlBase;
class wxStaticText;
class wxWindow;
class CMyButton;
class CMyEdit;

// The fonts of the form: captions and the password button, values, and links.
struct FormFonts {
    wxFont caption;
    wxFont value;
    wxFont link;
};

class CCardCtrlGroup {
public:
    static constexpr int kHeight = 24;
    static constexpr int kCaptionWidth = 100;
    static constexpr int kButtonWidth = 100;
    static constexpr int kButtonGap = 5;

    // Creates the row of field (at position 1 and up in its card); value controls take the next ids.
    CCardCtrlGroup(wxWindow* parent, ItemField& field, int position, int& nextId, const FormFonts& fonts);
    ~CCardCtrlGroup();
    CCardCtrlGroup(const CCardCtrlGroup&) = delete;
    CCardCtrlGroup& operator=(const CCardCtrlGroup&) = delete;

    // 0 view, 1 hidden, 2 edit.
    void ApplyMode(int newMode);
    // Places the controls in the row rectangle.
    void Place(const wxRect& row);
    // True when window is this row's edit or picker, or inside it.
    bool Holds(const wxWindow* window) const;
    // The picker's value in UTC (all zero when it holds none); nothing without a picker.
    std::optional<SYSTEMTIME> PickedUtc() const;
    // The picker changed: its value, formatted, becomes the edit's text.
    void ShowPicked();

    wxStaticText* label = nullptr;
    CMyEdit* edit = nullptr;
    wxDateTimePickerCtrlBase* picker = nullptr;
    CMyButton* button = nullptr;
    uint32_t fieldType = 0;
    int mode = 0;
    wxRect rect;

private:
    void CreateTextRow(wxWindow* parent, const ItemField& field, int position, int& nextId,
                       const FormFonts& fonts);
    void CreateTimeRow(wxWindow* parent, ItemField& field, int& nextId, const FormFonts& fonts);
    wxDateTime PickerValue() const;
    void OnNumberText();

    // What the picker does not show: the time of day of a DATE row, the date of a TIME row.
    wxDateTime base;
};

// A stored UTC time as a local date-time; invalid when the calendar cannot hold it.
wxDateTime LocalFromUtc(const SYSTEMTIME& utc);
SYSTEMTIME UtcFromLocal(const wxDateTime& local);
