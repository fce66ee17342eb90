// The list pane's windows over model rows set up directly: headers, titles, striping, the header's
// direction click, the category filter box kept in step with the model, and the selection told.
#include <wx/choice.h>
#include <wx/listctrl.h>

#include "FrameFixture.h"
#include "device/TesseraBackup.h"
#include "model/Data.h"
#include "ui/ListBar.h"
#include "ui/MyIconList.h"
#include "ui/Resource.h"

namespace {

// Records what the pane asks the main view to show.
struct RecordedSelection : ItemView {
    bool SwitchPane(int) override { return true; }
    // With keepShown, the view refuses to leave card 14 (its unsaved changes could not be saved).
    bool ShowCard(int32_t id, bool, int32_t, bool) override {
        shown.push_back({ListPage::Cards, id, {}});
        if (keepShown) keepShown->SelectRecord(ListPage::Cards, 14);
        return !keepShown;
    }
    bool ShowTemplate(int32_t id, bool, bool) override {
        shown.push_back({ListPage::Templates, id, {}});
        return true;
    }
    bool ShowCategory(int32_t id, bool isNew, bool) override {
        if (refuse) return false;
        shown.push_back({ListPage::Categories, id, isNew ? u"new" : u""});
        return true;
    }
    void ShowBackup(const std::u16string& name) override { shown.push_back({ListPage::Backups, 0, name}); }
    bool PromptSaveChanges(int) override { return true; }
    void LockEditing() override {}
    bool IsEditing() const override { return false; }
    std::optional<int32_t> ShownRecord(int pane) const override {
        if (shown.empty() || static_cast<int>(shown.back().kind) != pane || shown.back().id < 0)
            return std::nullopt;
        return shown.back().id;
    }
    std::vector<ListItem> shown;
    ListRows* keepShown = nullptr;
    bool refuse = false;
};

class ListBarTest : public FrameFixture {
protected:
    void SetUp() override {
        FrameFixture::SetUp();
        icons.Create();
        for (int i = 0; i < 5; ++i) {
            card_info_struct card;
            card.id = 10 + i;
            card.category = i % 2 ? 2 : 0;
            card.name = std::u16string(1, u'e' - i);
            data.cards.push_back(card);
        }
        data.categories = {{0, 0, u"none"}, {1, 2, u"work"}};
        backups.entries = {{u"Backup(Manual).20101231235958", {}, 3}};
        bar = new CListBar(frame, {&data, &backups, &icons, {}, {}, [] { return true; }, {}, {}});
        bar->SetSize(frame->GetClientSize());
        bar->SetItemView(&selection);
        bar->CategoriesReloaded();
    }
    wxString Header(int column) {
        wxListItem item;
        item.SetMask(wxLIST_MASK_TEXT);
        bar->List()->GetColumn(column, item);
        return item.GetText();
    }
    void ClickHeader(int column) {
        wxListEvent click(wxEVT_LIST_COL_CLICK, bar->List()->GetId());
        click.m_col = column;
        click.SetEventObject(bar->List());
        bar->List()->ProcessWindowEvent(click);
    }

    CData data;
    CTesseraBackup backups;
    CMyIconList icons;
    CListBar* bar = nullptr;
    RecordedSelection selection;
};

TEST_F(ListBarTest, EachKindIsTitledWithItsCountAndOnlyTheCardsAreFiltered) {
    for (auto [kind, title] : {std::pair{ListPage::Cards, " Cards ( 5 )"},
                               {ListPage::Templates, " Templates ( 0 )"},
                               {ListPage::Categories, " Categories ( 2 )"},
                               {ListPage::Backups, " Backup ( 1 )"}}) {
        bar->ShowList(kind);
        EXPECT_EQ(bar->Title(), title);
        EXPECT_EQ(bar->FilterBox()->IsShown(), kind == ListPage::Cards) << title;
    }
    EXPECT_EQ(bar->List()->GetItemText(0), "Backup(Manual).20101231235958");
}

TEST_F(ListBarTest, RowZeroIsTintedSelectedAndTold) {
    bar->ShowList(ListPage::Cards);
    PumpEvents();
    EXPECT_NE(bar->List()->GetItemBackgroundColour(0), bar->List()->GetItemBackgroundColour(1));
    EXPECT_EQ(bar->List()->GetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED),
              wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    ASSERT_FALSE(selection.shown.empty());
    EXPECT_EQ(selection.shown.back(), (ListItem{ListPage::Cards, 14, {}}));

    selection.keepShown = bar;
    bar->List()->SetItemState(2, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                              wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    PumpEvents();
    EXPECT_EQ(selection.shown.back(), (ListItem{ListPage::Cards, 12, {}})) << "told once, not again";
    EXPECT_EQ(bar->List()->GetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED),
              wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    EXPECT_EQ(bar->List()->GetSelectedItemCount(), 1);
}

TEST_F(ListBarTest, AReloadRebuildsTheRowsAndKeepsTheSelectionWithoutTellingTheView) {
    bar->ShowList(ListPage::Cards);
    PumpEvents();
    const size_t told = selection.shown.size();
    card_info_struct first;
    first.id = 30;
    first.name = u"0";
    data.cards.push_back(first);
    bar->Reload();
    PumpEvents();
    EXPECT_EQ(bar->List()->GetItemCount(), 6);
    EXPECT_EQ(bar->List()->GetItemState(1, wxLIST_STATE_SELECTED), wxLIST_STATE_SELECTED);
    EXPECT_EQ(bar->Title(), " Cards ( 6 )");
    EXPECT_EQ(selection.shown.size(), told);
}

TEST_F(ListBarTest, TheDirectionHeaderFlipsUntilTheNextRebuild) {
    bar->ShowList(ListPage::Cards);
    ClickHeader(1);
    EXPECT_EQ(Header(1), "DEC");
    EXPECT_EQ(bar->List()->GetItemText(0), "e");
    bar->OnCommand(ID_ARRANGE_CATEGORY, 0, nullptr);
    EXPECT_EQ(Header(0), "Sort by:Category");
    bar->ShowList(ListPage::Cards);
    EXPECT_EQ(Header(0), "Arranged By: Category");
    EXPECT_EQ(Header(1), "ASC");
}

TEST_F(ListBarTest, TheFilterBoxFollowsTheCategoriesAndFiltersTheCards) {
    wxChoice* box = bar->FilterBox();
    EXPECT_EQ(box->GetCount(), 2u);  // "All cards" and work; category 0 is never listed
    bar->CategoryAdded(5, u"home");
    bar->CategoryRenamed(2, u"office");
    EXPECT_EQ(box->GetString(1), "office");
    bar->CategoryRemoved(5);
    EXPECT_EQ(box->GetCount(), 2u);

    // The shown card stays selected while listed; a filter hiding it selects none and empties the view.
    bar->ShowList(ListPage::Cards);
    auto choose = [&](int item) {
        box->SetSelection(item);
        wxCommandEvent chosen(wxEVT_CHOICE, box->GetId());
        chosen.SetInt(item);
        box->ProcessWindowEvent(chosen);
    };
    bar->List()->SetItemState(1, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                              wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    EXPECT_EQ(selection.shown.back(), (ListItem{ListPage::Cards, 13, {}}));
    choose(1);
    EXPECT_EQ(bar->List()->GetItemCount(), 2);
    EXPECT_EQ(bar->Title(), " Cards ( 2 )");
    EXPECT_EQ(bar->List()->GetItemText(bar->List()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)),
              "b");
    bar->List()->SetItemState(1, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                              wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    choose(0);
    EXPECT_EQ(bar->List()->GetSelectedItemCount(), 1);
    EXPECT_EQ(bar->Selection(), (ListItem{ListPage::Cards, 11, {}}));
    bar->List()->SetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                              wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    choose(1);
    EXPECT_EQ(bar->List()->GetSelectedItemCount(), 0);
    EXPECT_EQ(selection.shown.back(), (ListItem{ListPage::Cards, -1, {}})) << "the view shows nothing";
    // Find off shows every card the filter lets through again.
    bar->OnCommand(ID_FIND, plugin::kCodeCommand, nullptr);
    wxCommandEvent typed(wxEVT_TEXT, ID_FIND_BOX);
    typed.SetString("zz");
    bar->OnCommand(ID_FIND_BOX, plugin::kCodeEditChange, &typed);
    EXPECT_EQ(bar->Title(), " Cards ( 0 )");
    bar->OnCommand(ID_FIND, plugin::kCodeCommand, nullptr);
    EXPECT_EQ(bar->Title(), " Cards ( 2 )");
}

TEST_F(ListBarTest, ANewRowStandsUntilTheViewStoresOrDropsIt) {
    bar->ShowList(ListPage::Categories);
    data.maxCategoryId = 2;  // as loaded
    bar->OnCommand(ID_NEW_CONTEXT, 0, nullptr);
    EXPECT_EQ(bar->List()->GetItemText(0), "New Category") << "sorted by its own name";
    EXPECT_EQ(bar->List()->GetItemState(0, wxLIST_STATE_SELECTED), wxLIST_STATE_SELECTED);
    EXPECT_EQ(selection.shown.back(), (ListItem{ListPage::Categories, 3, u"new"}));
    data.categories.push_back({0, 3, u"Saved"});
    bar->UpdateRow(ListPage::Categories, 3);
    EXPECT_EQ(bar->List()->GetItemText(0), "Saved");
    bar->OnCommand(ID_NEW_CATEGORY, 0, nullptr);
    EXPECT_EQ(bar->RowCount(), 4);
    bar->RemoveRow(ListPage::Categories, 4);
    EXPECT_EQ(bar->RowCount(), 3);
    selection.refuse = true;  // the view keeps a record whose changes it could not save: no new row
    bar->OnCommand(ID_NEW_CONTEXT, 0, nullptr);
    EXPECT_EQ(bar->RowCount(), 3);
}

}  // namespace
