#include "ui/controls/IconGroupLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(IconGroupLayoutTest, GroupsStartOnANewLineBelowTheirHeader) {
    IconGroupLayout layout({3, 0, 5}, 10, 4);
    layout.SetWidth(25);  // two cells a row
    EXPECT_EQ(layout.HeaderRect(0), wxRect(0, 0, 25, 4));
    EXPECT_EQ(layout.IconRect(2), wxRect(0, 14, 10, 10));
    EXPECT_EQ(layout.HeaderRect(1).y, 24) << "after two rows of the first group";
    EXPECT_EQ(layout.HeaderRect(2).y, 28) << "an empty group takes only its header";
    EXPECT_EQ(layout.IconRect(3), wxRect(0, 32, 10, 10));
    EXPECT_EQ(layout.Height(), 32 + 3 * 10);
    const std::pair<wxPoint, int> hits[] = {{{0, 0}, -1}, {{19, 13}, 1},  {{5, 14}, 2}, {{15, 14}, -1},
                                            {{9, 61}, 7}, {{15, 55}, -1}, {{5, 62}, -1}};
    for (const auto& [at, icon] : hits) EXPECT_EQ(layout.IconAt(at), icon) << at.x << "," << at.y;
    layout.SetWidth(5);  // narrower than a cell: still one a row
    EXPECT_EQ(layout.IconRect(1), wxRect(0, 14, 10, 10));
}

}  // namespace
