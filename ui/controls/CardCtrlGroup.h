#pragma once
// One row of the card form, in a window of its own: the caption, the value edit, and for DATE and TIME
// fields a picker (made when the row is first edited), for PASSWORD fields a button. The row owns its
// controls and destroys them when cleared. In view mode a row shows its value in a label instead of the
// edit, which keeps the value whole: a password as a mask of fixed length, other values line by line (up
// to kMaxLines, the row being as tall as its lines), each ellipsized, with the whole value as the tooltip
// when it does not fit.
#include <wx/datetime.h>
#include <wx/font.h>
#include <wx/gdicmn.h>

#include <optional>

#include "platform/SystemTime.h"
#include "store/TesseraItem.h"
#include "ui/rules/InputLimit.h"

class wxDateTimePickerCtrlBase;
class wxGenericStaticText;
class wxWindow;
class wxMouseEvent;
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
    // What a password shows in view mode, whatever its length.
    static constexpr const char* kMask = "********";

    // Creates the controls of a row for fields of that type, hidden.
    CCardCtrlGroup(wxWindow* parent, uint32_t type, const FormFonts& fonts);
    ~CCardCtrlGroup();
    CCardCtrlGroup(const CCardCtrlGroup&) = delete;
    CCardCtrlGroup& operator=(const CCardCtrlGroup&) = delete;

    // The most lines a row shows of a value.
    static constexpr int kMaxLines = 8;
    // How many lines a row shows of field's value in view mode.
    static int LinesOf(const ItemField& field);
    // How many control ids a row of that type takes: the picker's and the edit's.
    static int IdsTaken(uint32_t type);
    // Shows field (at position 1 and up in its card); its value controls take the ids from firstId on.
    void Load(const ItemField& field, int position, int firstId);
    // Hidden and emptied, to serve another card's field of the same type.
    void Park();
    // 0 view, 1 hidden, 2 edit.
    void ApplyMode(int newMode);
    // Places the controls in the row rectangle.
    void Place(const wxRect& row);
    // True when window is this row's edit or picker, or inside it.
    bool Holds(const wxWindow* window) const;
    // The picker's value in UTC (all zero when it holds none); nothing without a picker (a row that was
    // never edited).
    std::optional<SYSTEMTIME> PickedUtc() const;
    // The picker changed: its value, formatted, becomes the edit's text.
    void ShowPicked();

    wxWindow* panel = nullptr;
    wxGenericStaticText* label = nullptr;
    CMyEdit* edit = nullptr;
    wxGenericStaticText* shown = nullptr;  // the view mode's value, once a row with an edit was viewed
    wxDateTimePickerCtrlBase* picker = nullptr;
    CMyButton* button = nullptr;
    uint32_t fieldType = 0;
    int mode = 0;
    wxRect rect;

private:
    void LoadTime(const ItemField& field);
    void MakeEdit();
    void MakeShown();
    void ShowValue();
    void OnShownClick(wxMouseEvent& event);
    void MakePicker();
    void PlaceControls(int width);
    wxDateTime PickerValue() const;

    FormFonts fonts;
    InputLimit limit;
    int pickerId = 0;
    int lines = 1;           // that the row shows of the loaded value
    int measuredWidth = -1;  // the label's width when its tooltip was last decided
    // The value shown; what the picker does not show of it: the time of day of a DATE row, the date of a
    // TIME row.
    wxDateTime base;
};

// A stored UTC time as a local date-time; invalid when the calendar cannot hold it.
wxDateTime LocalFromUtc(const SYSTEMTIME& utc);
SYSTEMTIME UtcFromLocal(const wxDateTime& local);
