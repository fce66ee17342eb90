// The field editor box: the keys it lets through, the links it opens and the launcher they go through.
#include "FrameFixture.h"
#include "ui/controls/EditKeyFilter.h"
#include "ui/controls/EditLink.h"
#include "ui/controls/LinkLauncher.h"
#include "ui/controls/MyEdit.h"

#include <utility>
#include <vector>

namespace {

// Of the Ctrl shortcuts only copy, paste and select-all pass; plain keys pass, Esc never does.
TEST(EditKeyFilterTest, OnlyCopyPasteSelectAllAndPlainKeysPass) {
    using enum EditKeyAction;
    for (auto [key, ctrl, action] : {std::tuple{int('C'), true, Copy},
                                     {'V', true, Paste},
                                     {'A', true, SelectAll},
                                     {'X', true, Swallow},
                                     {'Z', true, Swallow},
                                     {WXK_INSERT, true, Swallow},
                                     {WXK_DELETE, true, Swallow},
                                     {'X', false, Pass},
                                     {WXK_BACK, false, Pass},
                                     {WXK_RETURN, false, Pass},
                                     {WXK_ESCAPE, false, Swallow},
                                     {WXK_ESCAPE, true, Swallow}}) {
        EXPECT_EQ(EditKeyFilter(key, ctrl), action) << key << " ctrl " << ctrl;
    }
}

class MyEditTest : public FrameFixture {
protected:
    void SetUp() override {
        FrameFixture::SetUp();
        SetLinkLauncher([this](const wxString& target, const wxString& verb) {
            launched.emplace_back(target, verb);
            return true;
        });
        frame->Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent&) { frameSawKey = true; });
    }
    void TearDown() override {
        SetLinkLauncher({});
        FrameFixture::TearDown();
    }

    CMyEdit* MakeEdit(int fieldType, const wxString& text, long style = 0) {
        return new CMyEdit(frame, 1234, fieldType, text, wxDefaultPosition, wxSize(200, 40), style);
    }

    // Sends a key press as the toolkit delivers it first; true when the box let it go on.
    bool PressKey(CMyEdit* edit, int key, bool ctrl) {
        wxKeyEvent event(wxEVT_CHAR_HOOK);
        event.m_keyCode = key;
        event.SetControlDown(ctrl);
        event.SetEventObject(edit);
        event.ResumePropagation(wxEVENT_PROPAGATE_MAX);
        edit->ProcessWindowEvent(event);
        return frameSawKey;
    }

    void Click(CMyEdit* edit) {
        wxMouseEvent event(wxEVT_LEFT_DOWN);
        event.SetPosition(wxPoint(5, 5));
        event.SetLeftDown(true);
        event.SetEventObject(edit);
        edit->ProcessWindowEvent(event);
    }

    std::vector<std::pair<wxString, wxString>> launched;
    bool frameSawKey = false;
};

TEST_F(MyEditTest, ShortcutsReachTheBoxOnlyAsTheFilterSays) {
    CMyEdit* edit = MakeEdit(1, "user name");
    edit->SetSelection(-1, -1);
    EXPECT_FALSE(PressKey(edit, 'X', true));
    EXPECT_FALSE(PressKey(edit, WXK_ESCAPE, false));
    EXPECT_EQ(edit->GetValue(), "user name");
    edit->SetSelection(2, 2);
    EXPECT_FALSE(PressKey(edit, 'A', true));
    long from = 0, to = 0;
    edit->GetSelection(&from, &to);
    EXPECT_EQ(to - from, 9);
    EXPECT_TRUE(PressKey(edit, 'X', false)) << "a plain key goes on to the box and beyond";
}

TEST_F(MyEditTest, CtrlCThenCtrlVCopiesTheSelectionIntoAnotherBox) {
    CMyEdit* source = MakeEdit(1, "copied text");
    CMyEdit* target = MakeEdit(1, "");
    source->SetSelection(0, 6);
    PressKey(source, 'C', true);
    PressKey(target, 'V', true);
    EXPECT_TRUE(PumpUntil([&] { return target->GetValue() == "copied"; })) << target->GetValue();
    EXPECT_EQ(source->GetValue(), "copied text");
}

TEST_F(MyEditTest, ReadOnlyLinksOpenOnAClickAsUrlOrMailto) {
    CMyEdit* url = MakeEdit(EditLink::kUrl, "https://example.org/x?y=1", wxTE_READONLY);
    EXPECT_TRUE(url->IsLink());
    EXPECT_TRUE(url->GetCursor().IsOk());
    Click(url);
    Click(MakeEdit(EditLink::kEmail, "jane@example.org", wxTE_READONLY));
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[0], std::make_pair(wxString("https://example.org/x?y=1"), wxString("OPEN")));
    EXPECT_EQ(launched[1], std::make_pair(wxString("mailto:jane@example.org"), wxString("open")));
}

TEST_F(MyEditTest, EmptyEditableOrPlainFieldsOpenNothingUntilMadeReadOnly) {
    Click(MakeEdit(EditLink::kUrl, "", wxTE_READONLY));
    Click(MakeEdit(1, "https://example.org", wxTE_READONLY));
    CMyEdit* editable = MakeEdit(EditLink::kUrl, "https://example.org");
    EXPECT_FALSE(editable->GetCursor().IsOk());
    Click(editable);
    EXPECT_TRUE(launched.empty());
    editable->SetEditable(false);
    EXPECT_TRUE(editable->GetCursor().IsOk());
    Click(editable);
    EXPECT_EQ(launched.size(), 1u);
}

}  // namespace
