#pragma once
// A shown top-level frame for the controls under test, destroyed after each test.
#include "gui/GuiTest.h"

#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/frame.h>
#include <wx/image.h>

#include <algorithm>

class FrameFixture : public testing::Test {
protected:
    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, "controls", wxDefaultPosition, wxSize(400, 300));
        frame->Show();
    }
    void TearDown() override {
        frame->Destroy();
        PumpEvents();
    }

    wxFrame* frame = nullptr;
};

// The colour of one pixel of bitmap.
inline wxColour PixelAt(const wxBitmap& bitmap, int x, int y) {
    const wxImage image = bitmap.ConvertToImage();
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

// Where the dark pixels (the text) lie within an area of a bitmap; first > last when there are none.
struct InkSpan {
    int first;
    int last;
    int leftmost;
    int rightmost;
};

inline InkSpan FindInk(const wxBitmap& bitmap, const wxRect& area) {
    const wxImage image = bitmap.ConvertToImage();
    InkSpan ink{area.GetBottom() + 1, area.y - 1, area.GetRight() + 1, area.x - 1};
    for (int y = area.y; y <= area.GetBottom(); ++y) {
        for (int x = area.x; x <= area.GetRight(); ++x) {
            if (image.GetRed(x, y) >= 128) continue;
            ink.first = std::min(ink.first, y);
            ink.last = std::max(ink.last, y);
            ink.leftmost = std::min(ink.leftmost, x);
            ink.rightmost = std::max(ink.rightmost, x);
        }
    }
    return ink;
}
