// The main view over a wallet on a phone folder: showing, editing, saving and cancelling cards, the
// values kept byte for byte through Save, the question and the draft, and the card form's rows.
#include <wx/choice.h>
#include <wx/clipbrd.h>
#include <wx/datetimectrl.h>
#include <wx/frame.h>
#include <wx/generic/stattextg.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>

#include "FakeClipboard.h"
#include "gui/GuiTest.h"
#include "model/ModelFixture.h"
#include "ui/controls/FieldChanges.h"
#include "ui/controls/MyButton.h"
#include "ui/controls/MyEdit.h"
#include "ui/controls/MyIconList.h"
#include "ui/dialogs/PasswordGeneratorDlg.h"
#include "ui/panes/FormWnd.h"
#include "ui/panes/MyView.h"
#include "ui/resources/Resource.h"
#include "ui/resources/StringTable.h"
#include "ui/rules/ListRows.h"

namespace {

struct RecordingRows : ListRows {
    void RemoveRow(ListKind, int32_t) override {}
    void UpdateRow(ListKind kind, int32_t id) override { updated.push_back({kind, id, {}}); }
    int RowCount() const override { return 1; }
    void SelectFirstRow() override {}
    void SelectRecord(ListKind, int32_t) override {}
    void Reload() override {}
    std::vector<ListItem> updated;
};

// A message box answered with the given button; its text kept.
struct Answer : wxModalExpectation {
    Answer(int button, wxString& text) : button(button), text(text) {}
    int Invoke(wxDialog* dialog) const override {
        text = static_cast<wxMessageDialog*>(dialog)->GetMessage();
        return button;
    }
    wxString GetDefaultDescription() const override { return "a message box"; }
    int button;
    wxString& text;
};

// The password generator's dialog: what it offers and its OK label are kept; cancelled, or given a choice.
struct Generator : wxModalExpectation {
    Generator(std::optional<GeneratorChoice> answer, GeneratorChoice& offered, wxString& ok)
        : answer(answer), offered(offered), ok(ok) {}
    int Invoke(wxDialog* dialog) const override {
        auto* generator = static_cast<CPasswordGeneratorDlg*>(dialog);
        offered = generator->Choice();
        ok = dialog->FindWindow(wxID_OK)->GetLabel();
        if (answer) generator->SetChoice(*answer);
        return answer ? wxID_OK : wxID_CANCEL;
    }
    wxString GetDefaultDescription() const override { return "the generator"; }
    std::optional<GeneratorChoice> answer;
    GeneratorChoice& offered;
    wxString& ok;
};

class MyViewTest : public ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        icons.Create();
        frame = new wxFrame(nullptr, wxID_ANY, "view", wxDefaultPosition, wxSize(600, 500));
        frame->CreateStatusBar();
        const FormFonts fonts{*wxNORMAL_FONT, *wxNORMAL_FONT, *wxNORMAL_FONT};
        view = new CMyView(frame, {&data, &icons, fonts, &clipboard, nullptr, nullptr, &rows});
        view->InitialUpdate();
        view->Show(), frame->Show();
    }
    void TearDown() override {
        frame->Destroy();
        PumpEvents();
        ModelFixture::TearDown();
    }
    // Name, then a text, a number, a password, a date without value and a time with one.
    uint32_t AddRichCard(uint32_t category = 0) {
        auto card = Card(u"Bank", category);
        AddField(*card, u"Login", u"jo");
        AddField(*card, u"PIN", u"1234", kFieldNumber);
        AddField(*card, u"Password", u"pa55word", kFieldPassword);
        AddEmptyField(*card, u"Opened", kFieldDate);
        AddTimeField(*card, u"Alarm", Time(2011, 3, 14, 9, 30, 15), kFieldTime);
        uint32_t id = data.TakeCardId();
        EXPECT_TRUE(data.AddCard(*card, id));
        return id;
    }
    wxTextCtrl* NameBox() { return static_cast<wxTextCtrl*>(view->FindWindow(IDC_NAME_BOX)); }
    // Types text at the box's insertion point as the toolkit delivers keys: what the box lets through
    // goes in.
    static void Type(wxTextCtrl* box, const wxString& text) {
        for (wxUniChar c : text) {
            wxKeyEvent key(wxEVT_CHAR);
            key.m_uniChar = c;
            key.m_keyCode = static_cast<int>(c.GetValue());
            key.SetEventObject(box);
            box->ProcessWindowEvent(key);
            if (key.GetSkipped()) box->WriteText(wxString(c));
        }
    }
    CCardCtrlGroup& Row(size_t i) { return *view->Form()->Rows().at(i); }
    std::u16string StoredName(uint32_t id) { return ItemName(*Reloaded()->ReadCardRecord(id)); }

    CMyIconList icons;
    FakeClipboard clipboard;
    RecordingRows rows;
    wxFrame* frame = nullptr;
    CMyView* view = nullptr;
    wxString told;
};

TEST_F(MyViewTest, ACardShownEditedSavedAndCancelled) {
    const uint32_t id = AddRichCard(77);  // a category that does not exist
    view->ShowCard(id, false, -1, false);
    ASSERT_EQ(view->Form()->Rows().size(), 5u);
    EXPECT_EQ(view->Form()->ContentHeight(), 34 * 5 - 10);
    EXPECT_EQ(Row(0).edit->GetId(), IDC_FIELD_VALUE_FIRST);
    EXPECT_EQ(Row(2).button->GetId(), IDC_PASSWORD_BUTTON_FIRST + 3);
    EXPECT_TRUE(!Row(3).picker && !Row(3).button) << "a picker is made when its row is first edited";
    EXPECT_EQ(static_cast<wxChoice*>(view->FindWindow(IDC_CATEGORY_BOX))->GetSelection(), 0);
    const CTesseraItem* shown = view->Card();
    {
        wxTestingModalHook noPrompt(__FILE__, __LINE__, __WXFUNCTION__);
        view->ShowCard(id, false, -1, false);
        EXPECT_EQ(view->Card(), shown);
        view->SwitchPane(ListKind::Templates);  // nothing edited: the empty date is no change
    }
    view->ShowCard(id, false, -1, false);

    Row(2).edit->SetSelection(0, 2);
    wxCommandEvent copy(wxEVT_BUTTON, Row(2).button->GetId());
    view->Form()->ProcessWindowEvent(copy);
    EXPECT_EQ(clipboard.held, wxString("pa55word"));
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(), LoadResString(IDS_COPIED_STATUS));
    view->LockEditing();  // clears the clipboard, and says so
    EXPECT_TRUE(!clipboard.held &&
                frame->GetStatusBar()->GetStatusText() == LoadResString(IDS_CLIPBOARD_CLEARED));
    view->ShowCard(id, false, -1, false);

    view->StartEditing();
    EXPECT_TRUE(Row(3).picker->IsShown() && !Row(3).edit->IsShown());
    EXPECT_EQ(Row(4).picker->GetId(), IDC_FIELD_VALUE_FIRST + 5);
    NameBox()->ChangeValue("Bank 2");
    Row(1).edit->SetInsertionPointEnd();
    Type(Row(1).edit, "a5");
    EXPECT_EQ(Row(1).edit->GetValue(), "12345");
    // Generate, in edit mode: cancelled, then 8 digits over the password, then 64 into an empty box.
    GeneratorChoice offered;
    wxString ok;
    wxTEST_DIALOG(view->Form()->ProcessWindowEvent(copy), Generator({}, offered, ok));
    EXPECT_EQ(Row(2).edit->GetValue(), "pa55word");
    EXPECT_TRUE(offered == GeneratorChoice{} && ok == LoadResString(IDS_GENERATOR_REPLACE));
    wxTEST_DIALOG(view->Form()->ProcessWindowEvent(copy), Generator(GeneratorChoice{8, 0b0010}, offered, ok));
    EXPECT_TRUE(Row(2).edit->GetValue().length() == 8 && Row(2).edit->GetValue().IsNumber());
    Row(2).edit->ChangeValue("");
    wxTEST_DIALOG(view->Form()->ProcessWindowEvent(copy), Generator(GeneratorChoice{64, 15}, offered, ok));
    EXPECT_TRUE(offered == (GeneratorChoice{8, 0b0010}) && ok == LoadResString(IDS_BUTTON_GENERATE));
    EXPECT_EQ(Row(2).edit->GetValue().length(), 64u);
    EXPECT_TRUE(view->Save());
    auto stored = Reloaded()->ReadCardRecord(id);
    EXPECT_EQ(ItemName(*stored), u"Bank 2");
    auto* opened = stored->fields.head->next->next->next->next;
    EXPECT_EQ(FieldText(stored->fields.head->next->next->element), u"12345");
    EXPECT_EQ(opened->element.length(), 16u);  // the picker's date, stored
    EXPECT_EQ(FieldTime(opened->next->element).wSecond, 15);
    EXPECT_EQ(rows.updated.back(), (ListItem{ListKind::Cards, int32_t(id), {}}));

    const std::vector<uint8_t> before = ReadBytes(File());
    view->StartEditing();
    EXPECT_TRUE(view->Save());
    EXPECT_EQ(ReadBytes(File()), before);  // no change, nothing written
    view->StartEditing();
    NameBox()->ChangeValue("scrap");
    view->Cancel();
    EXPECT_EQ(NameBox()->GetValue(), "Bank 2");
    // A lock while the generator asks takes the rows: nothing is generated into them.
    CFormWnd* form = new CFormWnd(frame, {*wxNORMAL_FONT, *wxNORMAL_FONT, *wxNORMAL_FONT}, {},
                                  [&](bool, GeneratorChoice&) { return form->LoadCard(nullptr), true; });
    form->LoadCard(view->Card());
    form->SetMode(CFormWnd::kEdit), form->ApplyMode();
    form->ProcessWindowEvent(copy);
    EXPECT_TRUE(form->Rows().empty());
}

// Stored values longer than a box, a formatted number and text in several scripts are shown whole and
// kept byte for byte by Save, Yes and the draft; only what is typed is limited and filtered.
TEST_F(MyViewTest, LongAndFormattedValuesAreShownWholeAndKeptByteForByte) {
    std::u16string name, note;
    for (int i = 0; i < 40; ++i) name += u"Ωмя名 ש7";
    for (int i = 0; i < 30; ++i) note += u"Notes \u00e9\u65e5\u672c ";
    auto card = Card(name);
    AddField(*card, u"Notes", note);
    AddField(*card, u"Phone", u"+44 20 7946 0018", kFieldPhoneNumber);
    const uint32_t id = data.TakeCardId(), other = AddRichCard();
    ASSERT_TRUE(data.AddCard(*card, id));
    const std::vector<uint8_t> before = ReadBytes(File());
    view->ShowCard(int32_t(id), false, -1, true);
    EXPECT_EQ(ToU16(NameBox()->GetValue()), name);
    EXPECT_EQ(ToU16(Row(0).edit->GetValue()), note);
    EXPECT_TRUE(view->Save());
    EXPECT_EQ(ReadBytes(File()), before) << "nothing changed, nothing written";

    view->StartEditing();
    Type(Row(0).edit, "x");  // the note is over the limit: typing adds nothing
    Row(1).edit->SetInsertionPointEnd();
    Type(Row(1).edit, "9x");
    EXPECT_EQ(Row(1).edit->GetValue(), "+44 20 7946 00189");
    wxTEST_DIALOG(view->ShowCard(int32_t(other), false, -1, false), Answer(wxID_YES, told));
    auto stored = Reloaded()->ReadCardRecord(id);
    EXPECT_EQ(ItemName(*stored), name);
    EXPECT_EQ(FieldText(stored->fields.head->next->element), note);
    EXPECT_EQ(FieldText(stored->fields.tail->element), u"+44 20 7946 00189");

    view->ShowCard(int32_t(id), false, -1, true);
    NameBox()->SetSelection(0, 30);
    wxTheClipboard->Open();
    wxTheClipboard->SetData(new wxTextDataObject("0123456789"));
    wxTheClipboard->Close();
    wxClipboardTextEvent paste(wxEVT_TEXT_PASTE, NameBox()->GetId());
    NameBox()->HandleWindowEvent(paste);
    EXPECT_EQ(ToU16(NameBox()->GetValue().Left(6)), u"01234" + name.substr(30, 1)) << "cut to fit 255";
    view->LockEditing();
    stored = Reloaded()->ReadCardRecord(id);
    EXPECT_EQ(ItemName(*stored), u"01234" + name.substr(30) + u" (Draft)");
    EXPECT_EQ(FieldText(stored->fields.head->next->element), note);
}

// In view mode a password shows a mask of fixed length, a value of several lines shows them in a row as
// tall as they are (up to the most a row shows), and a value wider than its row or of more lines is cut
// with the whole value as its tooltip; the edits keep the values whole, and show them to edit.
TEST_F(MyViewTest, ViewModeMasksPasswordsWrapsLinesAndCutsLongValuesWithTheWholeAsTooltip) {
    auto card = Card(u"Long");
    const std::u16string wide(200, u'w');
    std::u16string many = u"1";
    for (char16_t line = u'2'; line <= u'9'; ++line) many += u'\n' + std::u16string(1, line);
    for (std::u16string value : {u"A&B", wide.c_str(), u"first\r\nsecond", many.c_str()})
        AddField(*card, u"Text", value);
    AddField(*card, u"PIN", u"1234", kFieldPassword);
    const uint32_t id = data.TakeCardId();
    ASSERT_TRUE(data.AddCard(*card, id));
    view->ShowCard(int32_t(id), false, -1, false);
    PumpEvents();
    const wxString shown[] = {"A&B", FromU16(wide), "first\nsecond", L"1\n2\n3\n4\n5\n6\n7\n8 \u2026",
                              "********"},
                   tips[] = {"", FromU16(wide), "", FromU16(many), ""};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_TRUE(Row(i).shown->IsShown() && !Row(i).edit->IsShown()) << i;
        EXPECT_TRUE(Row(i).shown->GetLabelText() == shown[i] && Row(i).shown->GetToolTipText() == tips[i])
            << i;
    }
    // Each row starts below the one before, however tall that one is.
    const int lineRow = Row(0).rect.height;
    EXPECT_GT(Row(2).rect.height, lineRow);
    EXPECT_GT(Row(3).rect.height, 3 * Row(2).rect.height);
    for (size_t i = 1; i < 5; ++i) EXPECT_GT(Row(i).rect.y, Row(i - 1).rect.GetBottom()) << i;
    EXPECT_EQ(Row(4).rect.height, lineRow);
    wxMouseEvent click(wxEVT_LEFT_DOWN);
    Row(0).shown->ProcessWindowEvent(click);  // the value to select and copy
    EXPECT_TRUE(Row(0).edit->IsShown() && !Row(0).shown->IsShown() &&
                Row(0).edit->GetStringSelection() == "A&B");
    view->StartEditing();
    EXPECT_TRUE(Row(1).edit->IsShown() && !Row(1).shown->IsShown() && ToU16(Row(1).edit->GetValue()) == wide);
    EXPECT_EQ(Row(4).edit->GetValue(), "1234");
}

TEST_F(MyViewTest, TheFormKeepsLongTimesReplacesOddOnesAndTabsForwardWrappingAndScrolling) {
    auto card = Card(u"Long");
    ItemField& cut = (AddTimeField(*card, u"Long", Time(2012, 1, 2)), card->fields.tail->element);
    cut.value.resize(20);
    AddTimeField(*card, u"Odd", Time(2012, 1, 2));
    card->fields.tail->element.value.resize(10);
    for (int i = 0; i < 30; ++i) AddField(*card, std::u16string(u"Line ") + char16_t(u'A' + i), u"x");
    const uint32_t id = data.TakeCardId();
    ASSERT_TRUE(data.AddCard(*card, id));
    view->ShowCard(int32_t(id), false, -1, false);
    PumpEvents();
    EXPECT_EQ(view->Card()->fields.head->next->element.length(), 20u) << "shown, not cut";
    EXPECT_EQ(view->Form()->Rows().back(), nullptr) << "a row is made when it comes into view";
    wxScrollWinEvent bottom(wxEVT_SCROLLWIN_BOTTOM, 0, wxVERTICAL);
    view->Form()->ProcessWindowEvent(bottom);
    ASSERT_NE(view->Form()->Rows().back(), nullptr);
    EXPECT_EQ(view->Form()->Rows().back()->edit->GetId(), IDC_FIELD_VALUE_FIRST + 33);
    view->StartEditing();

    auto tab = [&](wxWindow* from) {
        from->SetFocus();
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = WXK_TAB;
        key.SetShiftDown(true);  // still forward
        from->ProcessWindowEvent(key);
        return wxWindow::FindFocus();
    };
    tab(Row(15).edit);
    EXPECT_GT(view->Form()->ScrollPosition(), 0);
    EXPECT_TRUE(Row(0).Holds(tab(view->Form()->Rows().back()->edit)));
    EXPECT_EQ(view->Form()->ScrollPosition(), 0);

    EXPECT_TRUE(view->Save());
    auto stored = Reloaded()->ReadCardRecord(id);
    EXPECT_EQ(stored->fields.head->next->element.length(), 20u);        // the same time, every byte kept
    EXPECT_EQ(stored->fields.head->next->next->element.length(), 16u);  // the odd one replaced
}

}  // namespace
