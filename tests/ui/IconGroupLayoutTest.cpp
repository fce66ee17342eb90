#include "ui/IconGroupLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(IconGroupLayoutTest, GroupsStartOnANewLineBelowTheirHeader) {
    IconGroupLayout layout({3, 0, 5}, 10, 4);
    layout.SetWidth(25);  // two cells a row
    EXPECT_EQ(layout.IconCount(), 8);
    EXPECT_EQ(layout.HeaderRect(0), wxRect(0, 0, 25, 4));
    EXPECT_EQ(layout.IconRect(2), wxRect(0, 14, 10, 10));
    EXPECT_EQ(layout.HeaderRect(1).y, 24) << "after two rows of the first group";
    EXPECT_EQ(layout.HeaderRect(2).y, 28) << "an empty group takes only its header";
    EXPECT_EQ(layout.IconRect(3), wxRect(0, 32, 10, 10));
    EXPECT_EQ(layout.Height(), 32 + 3 * 10);
    struct Hit {
        wxPoint at;
        int icon;
    };
    for (const Hit& hit : {Hit{{0, 0}, -1}, Hit{{19, 13}, 1}, Hit{{5, 14}, 2}, Hit{{15, 14}, -1},
                           Hit{{9, 61}, 7}, Hit{{15, 55}, -1}, Hit{{5, 62}, -1}}) {
        EXPECT_EQ(layout.IconAt(hit.at), hit.icon) << hit.at.x << "," << hit.at.y;
    }
    EXPECT_TRUE(layout.IconRect(8).IsEmpty());
    layout.SetWidth(5);  // narrower than a cell: still one a row
    EXPECT_EQ(layout.IconRect(1), wxRect(0, 14, 10, 10));
}

}  // namespace
