#include "ui/controls/MyIconList.h"

#include <gtest/gtest.h>
#include <wx/image.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "ui/resources/StringTable.h"

namespace {

// The pixels of an image with every transparent pixel counted as one marker, whatever its colour.
std::string Pixels(const wxImage& image) {
    std::string pixels;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            if (image.IsTransparent(x, y)) {
                pixels += "T---";
            } else {
                pixels += 'O';
                pixels += static_cast<char>(image.GetRed(x, y));
                pixels += static_cast<char>(image.GetGreen(x, y));
                pixels += static_cast<char>(image.GetBlue(x, y));
            }
        }
    }
    return pixels;
}

// A coarse picture of an icon: the mean colour of the opaque pixels of each of its 4 x 4 blocks
// (-1 for a block without opaque pixels), the same for the small and the large drawing of one icon.
std::vector<int> Blocks(const wxImage& image) {
    const int block = image.GetWidth() / 16;
    std::vector<int> blocks;
    for (int by = 0; by < 16; ++by) {
        for (int bx = 0; bx < 16; ++bx) {
            int sum[3] = {0, 0, 0}, count = 0;
            for (int y = by * block; y < (by + 1) * block; ++y) {
                for (int x = bx * block; x < (bx + 1) * block; ++x) {
                    if (image.IsTransparent(x, y)) continue;
                    sum[0] += image.GetRed(x, y);
                    sum[1] += image.GetGreen(x, y);
                    sum[2] += image.GetBlue(x, y);
                    ++count;
                }
            }
            for (int c : sum) blocks.push_back(count ? c / count : -1);
        }
    }
    return blocks;
}

int Distance(const std::vector<int>& a, const std::vector<int>& b) {
    int distance = 0;
    for (size_t i = 0; i < a.size(); ++i) distance += (a[i] < 0) != (b[i] < 0) ? 255 : std::abs(a[i] - b[i]);
    return distance;
}

class MyIconListTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(icons.Create()); }

    // The number of different icons in list, each checked for its size, a transparent and an opaque pixel.
    static size_t DistinctIcons(wxImageList& list, int size) {
        std::set<std::string> seen;
        for (int i = 0; i < list.GetImageCount(); ++i) {
            const wxImage image = list.GetBitmap(i).ConvertToImage();
            EXPECT_EQ(image.GetWidth(), size) << i;
            EXPECT_EQ(image.GetHeight(), size) << i;
            const std::string pixels = Pixels(image);
            EXPECT_NE(pixels.find('T'), std::string::npos) << "icon " << i << " has no transparent pixel";
            EXPECT_NE(pixels.find('O'), std::string::npos) << "icon " << i << " is empty";
            seen.insert(pixels);
        }
        return seen.size();
    }

    CMyIconList icons;
};

// Titled groups of icons one after the other, covering every icon, the same after a second Create; and
// every small, large and backup icon its own.
TEST_F(MyIconListTest, GroupsCoverEveryIconAgainAfterASecondCreateAndNoIconRepeats) {
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_GT(icons.GroupCount(), 0);
        int first = 0;
        for (int g = 0; g < icons.GroupCount(); ++g) {
            EXPECT_EQ(icons.GroupFirstIcon(g), first) << g;
            EXPECT_GT(icons.GroupSize(g), 0) << g;
            EXPECT_FALSE(LoadResString(CMyIconList::GroupTitleId(g)).empty()) << g;
            first += icons.GroupSize(g);
        }
        EXPECT_EQ(first, icons.Small()->GetImageCount());
        EXPECT_EQ(first, icons.Large()->GetImageCount());
        ASSERT_TRUE(icons.Create());
    }
    EXPECT_EQ(icons.GroupSize(icons.GroupCount()), 0);
    EXPECT_EQ(CMyIconList::GroupTitleId(-1), 0u);
    EXPECT_EQ(DistinctIcons(*icons.Small(), 16), 80u);
    EXPECT_EQ(DistinctIcons(*icons.Large(), 32), 80u);
    EXPECT_EQ(DistinctIcons(*icons.Backup(), 16), 2u);
}

TEST_F(MyIconListTest, EachSmallIconLooksMostLikeTheLargeIconAtItsIndex) {
    std::vector<std::vector<int>> small;
    for (int i = 0; i < icons.Small()->GetImageCount(); ++i)
        small.push_back(Blocks(icons.Small()->GetBitmap(i).ConvertToImage()));
    for (int i = 0; i < icons.Large()->GetImageCount(); ++i) {
        const std::vector<int> large = Blocks(icons.Large()->GetBitmap(i).ConvertToImage());
        size_t best = 0;
        for (size_t j = 1; j < small.size(); ++j)
            if (Distance(small[j], large) < Distance(small[best], large)) best = j;
        EXPECT_EQ(best, static_cast<size_t>(i));
    }
}

}  // namespace
