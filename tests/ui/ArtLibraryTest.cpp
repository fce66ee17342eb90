#include "ui/ArtLibrary.h"

#include <gtest/gtest.h>
#include <wx/image.h>

#include "ui/Resource.h"

namespace {

struct ImageSize {
    unsigned id;
    int width;
    int height;
};

// Sizes the windows rely on: tree cells of 16, toolbar buttons of 16 x 15, login cells of 24, a
// progress strip of nine cells with a marker one cell wide.
constexpr ImageSize kFixedSizes[] = {
    {IDB_TREE_IMAGES, 6 * 16, 16}, {IDB_TOOLBAR, 5 * 16, 15},    {IDB_LOGIN_ICONS, 2 * 24, 24},
    {IDB_LOGIN_PICTURE, 48, 48},   {IDB_WALLET_PICTURE, 48, 48}, {IDB_PROGRESS_TRACK, 9 * 24, 24},
    {IDB_PROGRESS_MARKER, 24, 24}, {IDB_BACKUP_FILE, 16, 16},    {IDB_BACKUP_FOLDER, 16, 16},
};

// True when every cell (cellWidth wide) of image has at least one opaque pixel.
bool NoEmptyCell(const wxImage& image, int cellWidth) {
    for (int x0 = 0; x0 < image.GetWidth(); x0 += cellWidth) {
        bool opaque = false;
        for (int y = 0; y < image.GetHeight() && !opaque; ++y)
            for (int x = x0; x < x0 + cellWidth && !opaque; ++x) opaque = !image.IsTransparent(x, y);
        if (!opaque) return false;
    }
    return true;
}

bool HasTransparentPixel(const wxImage& image) {
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (image.IsTransparent(x, y)) return true;
    return false;
}

TEST(ArtLibrary, FixedSizeImagesLoadWithTheirSizeAMaskAndNoEmptyCell) {
    for (const ImageSize& expected : kFixedSizes) {
        SCOPED_TRACE(expected.id);
        const wxBitmap bitmap = LoadBitmapRes(expected.id);
        ASSERT_TRUE(bitmap.IsOk());
        EXPECT_EQ(bitmap.GetWidth(), expected.width);
        EXPECT_EQ(bitmap.GetHeight(), expected.height);
        ASSERT_NE(bitmap.GetMask(), nullptr);
        const wxImage image = bitmap.ConvertToImage();
        EXPECT_TRUE(HasTransparentPixel(image));
        EXPECT_TRUE(NoEmptyCell(image, expected.height == 15 ? 16 : expected.height));
    }
}

TEST(ArtLibrary, IconsLoadSquareWithAMask) {
    const wxIcon root = LoadIconRes(IDI_TREE_ROOT);
    ASSERT_TRUE(root.IsOk());
    EXPECT_EQ(root.GetWidth(), 16);
    EXPECT_EQ(root.GetHeight(), 16);
    const wxIcon plugin = LoadIconRes(IDI_PLUGIN);
    ASSERT_TRUE(plugin.IsOk());
    EXPECT_EQ(plugin.GetWidth(), plugin.GetHeight());
    for (const wxIcon& icon : {root, plugin}) {
        wxBitmap bitmap;
        bitmap.CopyFromIcon(icon);
        EXPECT_TRUE(HasTransparentPixel(bitmap.ConvertToImage()));
    }
}

TEST(ArtLibrary, UnknownIdsGiveInvalidImages) {
    for (unsigned id : {0u, 1u, 315u, 318u, 13009u, 13044u, 13053u, 13063u, 13067u, 99999u}) {
        EXPECT_FALSE(LoadBitmapRes(id).IsOk()) << id;
        EXPECT_FALSE(LoadIconRes(id).IsOk()) << id;
    }
    // Bitmaps and icons are separate kinds: neither is found under the other's id.
    EXPECT_FALSE(LoadBitmapRes(IDI_PLUGIN).IsOk());
    EXPECT_FALSE(LoadIconRes(IDB_SMALL_CARDS).IsOk());
}

}  // namespace
