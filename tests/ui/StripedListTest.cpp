// The striped list and its flat header: the colours and layout they paint, the header's height and the
// column-resizing flag.
#include "FrameFixture.h"
#include "ui/controls/MultiColoredList.h"
#include "ui/controls/RowColours.h"

#include <wx/dcmemory.h>
#include <wx/settings.h>
#include <wx/vlbox.h>

namespace {

const wxColour kGrey(230, 230, 230);

class StripedListTest : public FrameFixture {
protected:
    void SetUp() override {
        FrameFixture::SetUp();
        list = new CMultiColoredList(frame, wxID_ANY);
        list->InsertColumn(0, "Name", wxLIST_FORMAT_LEFT, 100);
        list->InsertColumn(1, "Size", wxLIST_FORMAT_RIGHT, 100);
        frame->Layout();
    }

    // The rows drawn one under the other, as the list paints them.
    wxBitmap DrawRows(long rows, bool focused) {
        wxBitmap bitmap(200, rows * CMultiColoredList::kRowHeight);
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxRED_BRUSH);
        dc.Clear();
        for (long row = 0; row < rows; ++row) {
            list->DrawItem(dc,
                           wxRect(0, row * CMultiColoredList::kRowHeight, 200, CMultiColoredList::kRowHeight),
                           row, focused);
        }
        dc.SelectObject(wxNullBitmap);
        return bitmap;
    }

    wxBitmap DrawHeader() {
        wxBitmap bitmap(list->GetHeader()->GetClientSize());
        wxMemoryDC dc(bitmap);
        list->GetHeader()->DrawHeader(dc);
        dc.SelectObject(wxNullBitmap);
        return bitmap;
    }

    static int RowMiddle(long row) {
        return row * CMultiColoredList::kRowHeight + CMultiColoredList::kRowHeight / 2;
    }

    CMultiColoredList* list = nullptr;
};

// The stripes themselves are checked as painted below; the text keeps black without the focus.
TEST(RowColoursTest, SelectedTextIsHighlightedOnlyWithTheFocus) {
    EXPECT_EQ(RowColours::For(4, true, false).text, *wxBLACK);
    EXPECT_EQ(RowColours::For(4, true, true).text, wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT));
}

// The painted rows follow the stripes: a single row white, a selected row keeping its stripe without
// the focus and highlighted with it.
TEST_F(StripedListTest, PaintedRowsFollowTheStripesAndTheFocus) {
    list->InsertItem(0, "only");
    EXPECT_EQ(PixelAt(DrawRows(1, true), 150, RowMiddle(0)), *wxWHITE);
    for (long row = 1; row < 4; ++row) list->InsertItem(row, "row");
    list->Select(1);  // an odd, grey row
    const wxBitmap unfocused = DrawRows(4, false);
    const wxColour expected[] = {*wxWHITE, kGrey, *wxWHITE, kGrey};
    for (long row = 0; row < 4; ++row)
        EXPECT_EQ(PixelAt(unfocused, 150, RowMiddle(row)), expected[row]) << row;
    EXPECT_EQ(PixelAt(DrawRows(4, true), 150, RowMiddle(1)),
              wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT));
}

TEST_F(StripedListTest, TextIsCentredVerticallyAndAlignedByColumnFormat) {
    list->InsertItem(0, "Hg");
    list->SetItem(0, 1, "Hg");
    const wxBitmap rows = DrawRows(1, false);
    const InkSpan left = FindInk(rows, wxRect(0, 0, 100, 25));
    const InkSpan right = FindInk(rows, wxRect(100, 0, 100, 25));
    ASSERT_LE(left.first, left.last);
    EXPECT_NEAR(left.first, 24 - left.last, 3);
    EXPECT_GE(left.leftmost, 2);
    EXPECT_LT(left.rightmost, 50);
    EXPECT_GT(right.leftmost, 150);
    EXPECT_LE(right.rightmost, 200 - 2);
    EXPECT_EQ(right.first, left.first);
}

TEST_F(StripedListTest, RowsAndTheHeaderAreTwentyFivePixelsHigh) {
    for (long row = 0; row < 3; ++row) list->InsertItem(row, "row");
    auto* rows = dynamic_cast<wxVListBox*>(list->GetRowsWindow());
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->GetItemRect(2), wxRect(0, 50, rows->GetClientSize().x, 25));
    EXPECT_EQ(list->GetHeader()->GetSize().y, CMyHeadCtrl::kHeight);
    EXPECT_EQ(list->GetRowsWindow()->GetPosition().y, CMyHeadCtrl::kHeight);
}

TEST_F(FrameFixture, HeaderPaintsFlatGreyOverItsWholeArea) {
    auto* header = new CMyHeadCtrl(frame);
    header->SetSize(300, CMyHeadCtrl::kHeight);
    for (size_t column = 0; column < 3; ++column)
        header->InsertItem(column, {wxString(), wxLIST_FORMAT_LEFT, 80});
    wxBitmap bitmap(header->GetClientSize());
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxRED_BRUSH);
    dc.Clear();
    header->DrawHeader(dc);
    dc.SelectObject(wxNullBitmap);
    const wxImage image = bitmap.ConvertToImage();
    ASSERT_EQ(image.GetHeight(), CMyHeadCtrl::kHeight);
    const unsigned char* bytes = image.GetData();
    EXPECT_EQ(std::count(bytes, bytes + image.GetWidth() * image.GetHeight() * 3, 0xE6),
              image.GetWidth() * image.GetHeight() * 3);
}

TEST_F(StripedListTest, HeaderCentresTheFirstTitleAndAlignsTheOthersByFormat) {
    const wxBitmap header = DrawHeader();
    const InkSpan first = FindInk(header, wxRect(0, 0, 100, 25));
    const InkSpan second = FindInk(header, wxRect(101, 0, 100, 25));
    ASSERT_LE(first.first, first.last);
    EXPECT_NEAR((first.leftmost + first.rightmost) / 2, 50, 3);
    EXPECT_NEAR(first.first, 24 - first.last, 3);
    EXPECT_GT(second.leftmost, 150);
    EXPECT_LE(second.rightmost, 201 - 3);
}

class HeaderResizeTest : public StripedListTest {
protected:
    void Send(wxEventType type, int x, bool leftDown) {
        wxMouseEvent event(type);
        event.SetPosition(wxPoint(x, 10));
        event.SetLeftDown(leftDown);
        event.SetEventObject(list->GetHeader());
        list->GetHeader()->ProcessWindowEvent(event);
    }
    void DragDivider(int from, int to) {
        Send(wxEVT_LEFT_DOWN, from, true);
        Send(wxEVT_MOTION, to, true);
        Send(wxEVT_LEFT_UP, to, false);
    }
    int FirstWidth() const { return list->GetHeader()->GetItem(0).width; }
};

TEST_F(HeaderResizeTest, ADividerIsDraggedOrDoubleClickedOnlyWhileAllowed) {
    EXPECT_TRUE(list->IsColumnResizeAllowed());
    DragDivider(100, 140);
    EXPECT_EQ(FirstWidth(), 140);
    DragDivider(170, 185);  // well inside column 1: no divider there
    EXPECT_EQ(FirstWidth(), 140);

    list->AllowColumnResize(false);
    DragDivider(140, 100);
    EXPECT_EQ(FirstWidth(), 140);
    Send(wxEVT_LEFT_DCLICK, 140, true);
    EXPECT_EQ(FirstWidth(), 140);
    list->AllowColumnResize(true);
    Send(wxEVT_LEFT_DCLICK, 140, true);
    EXPECT_NE(FirstWidth(), 140);
}

}  // namespace
