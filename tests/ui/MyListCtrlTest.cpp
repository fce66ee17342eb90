// The fixed-column list: which row a press hits, clicks on empty space, and refused column resizing.
#include "FrameFixture.h"
#include "ui/controls/MyListCtrl.h"
#include "ui/controls/RowHitTest.h"

#include <utility>
#include <vector>

namespace {

// Rows 20 pixels high, 100 wide, stacked from y = 0 (row r from 20 r).
wxRect StackedRow(long row) {
    return wxRect(0, row * 20, 100, 20);
}

// Hits within the page's rows; misses below the last row, beside the rows and outside the page.
TEST(RowHitTestTest, FindsTheVisibleRowUnderThePoint) {
    for (auto [at, top, count, row] : {std::tuple{wxPoint(5, 45), 0L, 5L, 2L},
                                       {wxPoint(5, 0), 0, 5, 0},
                                       {wxPoint(5, 99), 0, 5, 4},
                                       {wxPoint(5, 100), 0, 5, -1},
                                       {wxPoint(150, 45), 0, 5, -1},
                                       {wxPoint(5, 45), 3, 50, -1},
                                       {wxPoint(5, 45), 0, 0, -1}}) {
        EXPECT_EQ(RowHitTest(at, top, 10, count, StackedRow), row) << at.x << "," << at.y << " top " << top;
    }
}

// Rows past the list's end are never asked for: the list has no rectangle for them.
TEST(RowHitTestTest, LooksOnlyAtTheRowsOfThePageThatExist) {
    for (auto [count, expected] : {std::pair{100L, std::vector<long>{4, 5, 6, 7}}, {6L, {4, 5}}}) {
        std::vector<long> asked;
        RowHitTest(wxPoint(-1, -1), 4, 3, count, [&](long row) {
            asked.push_back(row);
            return StackedRow(row);
        });
        EXPECT_EQ(asked, expected) << count;
    }
}

class MyListCtrlTest : public FrameFixture {
protected:
    // A three-row list filling the frame, with row 1 selected.
    template <class List>
    List* MakeList() {
        auto* list = new List(frame, 9999, wxDefaultPosition, wxSize(400, 300), wxLC_REPORT);
        list->SetSize(frame->GetClientSize());
        list->InsertColumn(0, "Name", wxLIST_FORMAT_LEFT, 100);
        list->InsertColumn(1, "Category", wxLIST_FORMAT_LEFT, 100);
        for (long row = 0; row < 3; ++row) list->InsertItem(row, wxString::Format("card %ld", row));
        list->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        PumpEvents();
        return list;
    }

    static void Press(wxWindow* window, wxEventType type, const wxPoint& at) {
        wxMouseEvent event(type);
        event.SetPosition(at);
        event.SetLeftDown(type == wxEVT_LEFT_DOWN);
        event.SetEventObject(window);
        window->ProcessWindowEvent(event);
    }

    // The generic list's two parts: the header above the rows' area.
    static wxWindow* HeaderOf(wxListCtrl* list) { return PartOf(list, true); }
    static wxWindow* RowsOf(wxListCtrl* list) { return PartOf(list, false); }
    static wxWindow* PartOf(wxListCtrl* list, bool top) {
        wxWindowList parts = list->GetChildren();
        wxWindow* first = parts.front();
        wxWindow* second = parts.back();
        if (first->GetPosition().y > second->GetPosition().y) std::swap(first, second);
        return top ? first : second;
    }

    static void DragFirstDivider(wxListCtrl* list) {
        wxWindow* header = HeaderOf(list);
        Press(header, wxEVT_LEFT_DOWN, wxPoint(100, 5));
        wxMouseEvent motion(wxEVT_MOTION);
        motion.SetPosition(wxPoint(160, 5));
        motion.SetLeftDown(true);
        header->ProcessWindowEvent(motion);
        Press(header, wxEVT_LEFT_UP, wxPoint(160, 5));
        PumpEvents();
    }

    static bool Selected(wxListCtrl* list, long row) {
        return list->GetItemState(row, wxLIST_STATE_SELECTED) & wxLIST_STATE_SELECTED;
    }

    static wxPoint BelowTheRows(wxListCtrl* list) { return wxPoint(20, RowsOf(list)->GetClientSize().y - 5); }
};

TEST_F(MyListCtrlTest, PressBelowTheLastRowKeepsTheSelection) {
    auto* plain = MakeList<wxListCtrl>();
    Press(RowsOf(plain), wxEVT_LEFT_DOWN, BelowTheRows(plain));
    ASSERT_FALSE(Selected(plain, 1)) << "a plain list clears its selection there";
    plain->Destroy();
    auto* list = MakeList<CMyListCtrl>();
    Press(RowsOf(list), wxEVT_LEFT_DOWN, BelowTheRows(list));
    Press(RowsOf(list), wxEVT_RIGHT_DOWN, BelowTheRows(list));
    EXPECT_TRUE(Selected(list, 1));
    EXPECT_EQ(list->GetSelectedItemCount(), 1);
}

TEST_F(MyListCtrlTest, PressOnARowSelectsIt) {
    auto* list = MakeList<CMyListCtrl>();
    wxRect row2;
    ASSERT_TRUE(list->GetItemRect(2, row2));
    // The rows start at the top of the rows window.
    Press(RowsOf(list), wxEVT_LEFT_DOWN, wxPoint(10, 2 * row2.height + row2.height / 2));
    EXPECT_TRUE(Selected(list, 2));
    EXPECT_EQ(list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED), 2);
    EXPECT_EQ(list->VisibleRowAt(row2.GetPosition() + wxPoint(10, 2)), 2);
    EXPECT_EQ(list->VisibleRowAt(row2.GetBottomLeft() + wxPoint(10, 40)), -1);
}

TEST_F(MyListCtrlTest, ColumnsCannotBeResizedByDraggingADivider) {
    auto* plain = MakeList<wxListCtrl>();
    DragFirstDivider(plain);
    ASSERT_EQ(plain->GetColumnWidth(0), 160) << "a plain list resizes the column";
    plain->Destroy();
    auto* list = MakeList<CMyListCtrl>();
    DragFirstDivider(list);
    EXPECT_EQ(list->GetColumnWidth(0), 100);

    wxListEvent track(wxEVT_LIST_COL_BEGIN_DRAG, list->GetId());
    track.SetEventObject(list);
    list->ProcessWindowEvent(track);
    EXPECT_FALSE(track.IsAllowed());
}

}  // namespace
