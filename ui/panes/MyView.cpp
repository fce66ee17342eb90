#include "ui/panes/MyView.h"

#include <wx/bmpbuttn.h>
#include <wx/dcbuffer.h>
#include <wx/frame.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>

#include "model/Data.h"
#include "model/FieldType.h"
#include "model/ItemChanges.h"
#include "ui/controls/CategoryBox.h"
#include "ui/controls/FieldChanges.h"
#include "ui/controls/MyIconList.h"
#include "ui/controls/MyListCtrl.h"
#include "ui/controls/TypedInput.h"
#include "ui/panes/BackupPane.h"
#include "ui/panes/FormWnd.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"
#include "ui/rules/ListRows.h"
#include "wxkit/FixedIds.h"

namespace {

const wxColour kEmptyArea(0xEA, 0xEA, 0xEA);
constexpr int kMargin = 5;
constexpr int kButtonWidth = 100, kButtonHeight = 25;
constexpr int kInset = 25;
constexpr int kFormTop = 164, kFieldListTop = 136;
constexpr int kNumberColumn = 30;
constexpr size_t kNameMax = 255, kCategoryNameMax = 63;

}  // namespace

CMyView::CMyView(wxWindow* parent, Links links)
    : wxPanel(parent, IDW_MAIN_VIEW, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxBORDER_NONE),
      links(std::move(links)),
      editor(this->links.data, *this, ToU16(LoadResString(IDS_NEW_CATEGORY_NAME)), this->links.rows,
             this->links.gate),
      guard(this->links.clipboard ? *this->links.clipboard : systemClipboard),
      clipboardTimer(this, IDT_CLIPBOARD) {
    Hide();
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetMinSize(wxSize(kMinSize, kMinSize));
    SetMaxSize(wxSize(kMaxSize, kMaxSize));
    CreateControls();
    if (this->links.data) this->links.data->AddListener(this);
    Bind(wxEVT_PAINT, &CMyView::OnPaint, this);
    Bind(wxEVT_SIZE, &CMyView::OnSize, this);
    Bind(wxEVT_BUTTON, &CMyView::OnButton, this);
    Bind(wxEVT_TIMER, &CMyView::OnClipboardTimer, this, IDT_CLIPBOARD);
    Bind(wxEVT_SHOW, [this](wxShowEvent& event) {
        if (event.IsShown()) ShowControls();
        event.Skip();
    });
}

CMyView::~CMyView() {
    // A password copied from the wallet does not outlive the plug-in on the clipboard.
    guard.ClearNow();
    if (links.data) links.data->RemoveListener(this);
}

void CMyView::InitialUpdate() {
    SetBackgroundColour(*wxWHITE);
    FillCategoryBox();
    ShowControls();
}

bool CMyView::OnCommand(int, int, void*) {
    return false;
}

void CMyView::CreateControls() {
    auto button = [this](int id, unsigned text, int x) {
        auto* made = new wxButton(this, id, LoadResString(text), wxPoint(x, kMargin),
                                  wxSize(kButtonWidth, kButtonHeight));
        made->Hide();
        return made;
    };
    editButton = button(IDC_EDIT_BUTTON, IDS_BUTTON_EDIT, kMargin);
    saveButton = button(IDC_SAVE_BUTTON, IDS_BUTTON_SAVE, kMargin);
    cancelButton = button(IDC_CANCEL_BUTTON, IDS_BUTTON_CANCEL, 2 * kMargin + kButtonWidth);
    fieldsButton = button(IDC_EDIT_FIELDS_BUTTON, IDS_BUTTON_EDIT_FIELDS, 3 * kMargin + 2 * kButtonWidth);
    nameBox = new wxTextCtrl(this, wxID_ANY, wxString(), wxPoint(75, 48), wxSize(200, 24));
    GiveFixedId(nameBox, IDC_NAME_BOX);
    LimitTypedInput(*nameBox, nameLimit);
    nameBox->SetFont(links.fonts.value);
    iconButton =
        new wxBitmapButton(this, IDC_ICON_BUTTON, wxBitmap(32, 32), wxPoint(kInset, 40), wxSize(40, 40));
    iconPicture =
        new wxStaticBitmap(this, wxID_ANY, wxBitmap(32, 32), wxPoint(kInset + 4, 44), wxSize(32, 32));
    categoryLabel = new wxStaticText(this, wxID_ANY, LoadResString(IDS_LABEL_CATEGORY), wxPoint(kInset, 102),
                                     wxSize(100, 20));
    categoryLabel->SetFont(links.fonts.caption);
    categoryLabel->SetBackgroundColour(*wxWHITE);
    categoryBox = new CategoryBox(this, wxID_ANY);
    GiveFixedId(categoryBox, IDC_CATEGORY_BOX);
    categoryBox->SetSize(kInset + 100, 98, 200, -1);
    categoryBox->Bind(wxEVT_CHOICE, &CMyView::OnCategoryChosen, this);
    form = new CFormWnd(
        this, links.fonts,
        [this](const wxString& text) {
            CopyPassword(text);
            return true;
        },
        [this](bool replacing, GeneratorChoice& choice) { return ChooseGenerator(replacing, choice); });
    fieldList = new CMyListCtrl(this, wxID_ANY);
    fieldList->InsertColumn(0, LoadResString(IDS_COLUMN_NUMBER), wxLIST_FORMAT_LEFT, kNumberColumn);
    fieldList->InsertColumn(1, LoadResString(IDS_COLUMN_FIELD_NAME), wxLIST_FORMAT_LEFT, 150);
    fieldList->InsertColumn(2, LoadResString(IDS_COLUMN_FIELD_TYPE), wxLIST_FORMAT_LEFT, 150);
    backupPane = new CBackupPane(this, links.backups);
    if (links.icons) iconButton->SetBitmap(links.icons->Large()->GetBitmap(0));
    for (wxWindow* control : std::initializer_list<wxWindow*>{nameBox, iconButton, iconPicture, categoryLabel,
                                                              categoryBox, form, fieldList, backupPane}) {
        control->Hide();
    }
}

// Panes and what they show, as the editor says.

void CMyView::Present(bool reload) {
    if (reload) LoadShown();
    const ShownCategory& category = editor.Category();
    const CTesseraItem* item = editor.Record();
    ShowIcon(item ? static_cast<int>(item->icon) : category.icon);
    ShowControls();
    if (editor.Editing() && !editingShown) {
        nameBox->SetFocus();
        nameBox->SelectAll();
    }
    editingShown = editor.Editing();
}

// The record's values into the controls; each is given its value whole, whatever its length.
void CMyView::LoadShown() {
    const ListKind pane = editor.Pane();
    const CTesseraItem* item = editor.Record();
    nameLimit = InputLimit(pane == ListKind::Categories ? kCategoryNameMax : kNameMax);
    nameBox->ChangeValue(item                           ? FromU16(ItemName(*item))
                         : pane == ListKind::Categories ? FromU16(editor.Category().name)
                                                        : wxString());
    form->LoadCard(pane == ListKind::Cards ? item : nullptr);
    if (pane == ListKind::Cards && item) categoryBox->SelectId(static_cast<int32_t>(item->categoryId));
    fieldList->DeleteAllItems();
    if (pane == ListKind::Templates && item) FillFieldList(*item);
}

void CMyView::ForgetRecord() {
    editor.Forget();
    // The backup shown was the previous phone's: its Restore goes with it.
    backupPane->ShowBackup({});
}

void CMyView::ShowBackup(const std::u16string& name) {
    if (editor.Asking()) return;
    editor.SwitchPane(ListKind::Backups);
    if (editor.Pane() == ListKind::Backups) backupPane->ShowBackup(name);
}

void CMyView::FillFieldList(const CTesseraItem& item) {
    long row = 0;
    for (auto* node = item.fields.head ? item.fields.head->next : nullptr; node; node = node->next, ++row) {
        fieldList->InsertItem(row, wxString::Format("%d", static_cast<int>(row + 1)));
        fieldList->SetItem(row, 1, FromU16(node->element.Name()));
        fieldList->SetItem(row, 2, FromU16(FieldTypeName(node->element.type)));
    }
    Arrange();
}

void CMyView::ShowIcon(int icon) {
    if (!links.icons || icon < 0 || icon >= links.icons->IconCount()) icon = 0;
    if (!links.icons || links.icons->IconCount() == 0) return;
    const wxBitmap bitmap = links.icons->Large()->GetBitmap(icon);
    iconPicture->SetBitmap(bitmap);
    iconButton->SetBitmap(bitmap);
}

void CMyView::ShowControls() {
    const ListKind currentPane = editor.Pane();
    const bool shown = editor.Shown();
    const bool editing = editor.Editing();
    const bool card = shown && currentPane == ListKind::Cards;
    editButton->Show(shown && !editing);
    saveButton->Show(shown && editing);
    cancelButton->Show(shown && editing);
    fieldsButton->Show(shown && editing && currentPane != ListKind::Categories);
    nameBox->Show(shown);
    nameBox->SetEditable(editing);
    iconPicture->Show(shown && !editing);
    iconButton->Show(shown && editing);
    categoryLabel->Show(card);
    categoryBox->Show(card);
    categoryBox->Enable(editing);
    form->SetMode(card ? (editing ? CFormWnd::kEdit : CFormWnd::kView) : CFormWnd::kHidden);
    form->ApplyMode();
    form->Show(card);
    fieldList->Show(shown && currentPane == ListKind::Templates);
    backupPane->Show(currentPane == ListKind::Backups);
    Arrange();
    Refresh();
}

wxRect CMyView::FormRect() const {
    const wxSize client = GetClientSize();
    return wxRect(wxPoint(kInset, kFormTop), wxPoint(client.x - kInset - 1, client.y - kInset - 1));
}

wxRect CMyView::FieldListRect() const {
    const wxSize client = GetClientSize();
    return wxRect(wxPoint(kInset, kFieldListTop), wxPoint(client.x - kInset - 1, client.y - kInset - 1));
}

void CMyView::Arrange() {
    const wxSize client = GetClientSize();
    nameBox->SetSize(75, 48, std::max(100, client.x - 75 - kInset), 24);
    form->SetSize(FormRect());
    const wxRect list = FieldListRect();
    fieldList->SetSize(list);
    const int rest = std::max(0, fieldList->GetClientSize().x - kNumberColumn);
    fieldList->SetColumnWidth(0, kNumberColumn);
    fieldList->SetColumnWidth(1, rest / 2);
    fieldList->SetColumnWidth(2, rest - rest / 2);
    backupPane->SetSize(client);
}

void CMyView::OnSize(wxSizeEvent& event) {
    Arrange();
    Refresh();
    event.Skip();
}

void CMyView::OnPaint(wxPaintEvent&) {
    // Drawn off-screen and copied in one step.
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(kEmptyArea));
    dc.Clear();
    if (!editor.Shown()) return;
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(*wxWHITE_BRUSH);
    const wxSize client = GetClientSize();
    dc.DrawRectangle(kMargin, kMargin, client.x - 2 * kMargin, client.y - 2 * kMargin);
}

// The category box, kept in step with the model.

void CMyView::FillCategoryBox() {
    categoryBox->Fill(links.data ? links.data->categories : std::vector<category_struct>{});
    if (const CTesseraItem* card = Card()) categoryBox->SelectId(static_cast<int32_t>(card->categoryId));
}

void CMyView::RemoveCategoryEntry(int32_t id) {
    categoryBox->RemoveEntry(id);
}

void CMyView::RenameCategoryEntry(const category_struct& category) {
    categoryBox->RenameEntry(category.id, category.name);
}

void CMyView::CategoryAdded(int32_t id, const std::u16string& name) {
    categoryBox->AddEntry(id, name);
}

void CMyView::CategoryRenamed(int32_t id, const std::u16string& name) {
    RenameCategoryEntry({0, id, name});
}

void CMyView::CategoryRemoved(int32_t id) {
    RemoveCategoryEntry(id);
}

void CMyView::CategoriesReloaded() {
    FillCategoryBox();
}

void CMyView::OnCategoryChosen(wxCommandEvent& event) {
    editor.SetCategory(static_cast<uint32_t>(categoryBox->IdAt(event.GetSelection())));
}

// The clipboard.

void CMyView::CopyPassword(const wxString& text) {
    if (!guard.Copy(text)) return;
    clipboardTimer.Start(1000);
    if (wxStatusBar* bar = StatusBar()) bar->SetStatusText(LoadResString(IDS_COPIED_STATUS));
}

void CMyView::OnClipboardTimer(wxTimerEvent&) {
    if (!guard.Tick()) ClipboardCleared();
}

// The copy's message gives way once its clear came due, unless the status bar says something else by now;
// the clipboard was left alone when the user had copied something else since.
void CMyView::ClipboardCleared() {
    clipboardTimer.Stop();
    wxStatusBar* bar = StatusBar();
    if (bar && bar->GetStatusText() == LoadResString(IDS_COPIED_STATUS)) {
        bar->SetStatusText(guard.Cleared() ? LoadResString(IDS_CLIPBOARD_CLEARED) : wxString());
    }
}

wxStatusBar* CMyView::StatusBar() const {
    auto* frame = wxDynamicCast(wxGetTopLevelParent(const_cast<CMyView*>(this)), wxFrame);
    return frame ? frame->GetStatusBar() : nullptr;
}
