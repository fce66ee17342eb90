// The list pane's windows over model rows set up directly: headers, titles, striping, the header's
// direction click, the category filter box kept in step with the model, and the selection told.
// What the commands do with the rows is proven without windows (ListCommandsTest).
#include <wx/choice.h>
#include <wx/listctrl.h>

#include "FrameFixture.h"
#include "ShownRecords.h"
#include "device/TesseraBackup.h"
#include "model/Data.h"
#include "ui/controls/MyIconList.h"
#include "ui/panes/ListBar.h"
#include "ui/resources/Resource.h"

namespace {

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
        ListCommands::Links commands{&data, {}, {},      [] { return true; },
                                     {},    {}, nullptr, [this] { return &selection; }};
        bar = new CListBar(frame, {commands, &backups, &icons});
        bar->SetSize(frame->GetClientSize());
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
    ShownRecords selection;
};

TEST_F(ListBarTest, EachKindIsTitledWithItsCountAndOnlyTheCardsAreFiltered) {
    for (auto [kind, title] : {std::pair{ListKind::Cards, " Cards ( 5 )"},
                               {ListKind::Templates, " Templates ( 0 )"},
                               {ListKind::Categories, " Categories ( 2 )"},
                               {ListKind::Backups, " Backup ( 1 )"}}) {
        bar->ShowList(kind);
        EXPECT_EQ(bar->Title(), title);
        EXPECT_EQ(bar->FilterBox()->IsShown(), kind == ListKind::Cards) << title;
    }
    EXPECT_EQ(bar->List()->GetItemText(0), "Backup(Manual).20101231235958");
}

TEST_F(ListBarTest, RowZeroIsTintedSelectedAndTold) {
    bar->ShowList(ListKind::Cards);
    PumpEvents();
    EXPECT_NE(bar->List()->GetItemBackgroundColour(0), bar->List()->GetItemBackgroundColour(1));
    EXPECT_EQ(bar->List()->GetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED),
              wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    ASSERT_FALSE(selection.shown.empty());
    EXPECT_EQ(selection.shown.back(), (ListItem{ListKind::Cards, 14, {}}));

    selection.refuse = true;  // the view keeps card 14
    selection.list = bar;
    selection.keptCard = 14;
    bar->List()->SetItemState(2, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                              wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    PumpEvents();
    EXPECT_EQ(selection.shown.back(), (ListItem{ListKind::Cards, 12, {}})) << "told once, not again";
    EXPECT_EQ(bar->List()->GetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED),
              wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    EXPECT_EQ(bar->List()->GetSelectedItemCount(), 1);
}

TEST_F(ListBarTest, AReloadRebuildsTheRowsAndKeepsTheSelectionWithoutTellingTheView) {
    bar->ShowList(ListKind::Cards);
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
    bar->ShowList(ListKind::Cards);
    ClickHeader(1);
    EXPECT_EQ(Header(1), "DEC");
    EXPECT_EQ(bar->List()->GetItemText(0), "e");
    bar->OnCommand(ID_ARRANGE_CATEGORY, 0, nullptr);
    EXPECT_EQ(Header(0), "Sort by:Category");
    bar->ShowList(ListKind::Cards);
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

    // Choosing work filters the rows; the shown card, listed, stays selected.
    bar->ShowList(ListKind::Cards);
    bar->List()->SetItemState(1, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                              wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    box->SetSelection(1);
    wxCommandEvent chosen(wxEVT_CHOICE, box->GetId());
    chosen.SetInt(1);
    box->ProcessWindowEvent(chosen);
    EXPECT_EQ(bar->Title(), " Cards ( 2 )");
    EXPECT_EQ(bar->List()->GetItemText(bar->List()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)),
              "b");
}

}  // namespace
