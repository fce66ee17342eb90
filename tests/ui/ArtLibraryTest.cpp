#include "ui/resources/ArtLibrary.h"

#include <gtest/gtest.h>
#include <wx/image.h>

#include <tuple>
#include <vector>

#include "ui/resources/Resource.h"

namespace {

// True when every cell (cellWidth wide) of image has an opaque pixel and the image a transparent one.
bool TransparentWithNoEmptyCell(const wxImage& image, int cellWidth) {
    bool transparent = false;
    for (int x0 = 0; x0 < image.GetWidth(); x0 += cellWidth) {
        bool opaque = false;
        for (int y = 0; y < image.GetHeight(); ++y)
            for (int x = x0; x < x0 + cellWidth; ++x)
                (image.IsTransparent(x, y) ? transparent : opaque) = true;
        if (!opaque) return false;
    }
    return transparent;
}

// The number of edge pixels (partly transparent) that are nearly white: each one is a light fringe on a
// dark background. Edges take the colour of the shape they belong to.
int LightEdgePixels(const wxImage& image) {
    int light = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x) {
            const bool edge = image.GetAlpha(x, y) > 0 && image.GetAlpha(x, y) < 160;
            light +=
                edge && image.GetRed(x, y) > 230 && image.GetGreen(x, y) > 230 && image.GetBlue(x, y) > 230;
        }
    return light;
}

// Sizes the windows rely on: tree cells of 16, toolbar buttons of 16 x 15, login cells of 24, a
// progress strip of nine cells with a marker one cell wide, card icon strips of 16 and 32 alike.
TEST(ArtLibrary, ImagesLoadWithTheirSizeAnAlphaChannelAndNoEmptyCellOrLightFringe) {
    struct ImageSize {
        int id, width, height;
    };
    std::vector<ImageSize> images{
        {IDB_TREE_IMAGES, 6 * 16, 16}, {IDB_TOOLBAR, 5 * 16, 15},    {IDB_LOGIN_ICONS, 2 * 24, 24},
        {IDB_LOGIN_PICTURE, 48, 48},   {IDB_WALLET_PICTURE, 48, 48}, {IDB_PROGRESS_TRACK, 9 * 24, 24},
        {IDB_PROGRESS_MARKER, 24, 24}, {IDB_BACKUP_FILE, 16, 16},    {IDB_BACKUP_FOLDER, 16, 16}};
    for (auto [small, large, cells] : {std::tuple{IDB_SMALL_CARDS, IDB_LARGE_CARDS, 9},
                                       {IDB_SMALL_COMPUTER, IDB_LARGE_COMPUTER, 10},
                                       {IDB_SMALL_PERSONAL, IDB_LARGE_PERSONAL, 22},
                                       {IDB_SMALL_WORK, IDB_LARGE_WORK, 8},
                                       {IDB_SMALL_OTHER, IDB_LARGE_OTHER, 8},
                                       {IDB_SMALL_CATEGORIES, IDB_LARGE_CATEGORIES, 9},
                                       {IDB_SMALL_TEMPLATES, IDB_LARGE_TEMPLATES, 14}}) {
        images.insert(images.end(), {{small, cells * 16, 16}, {large, cells * 32, 32}});
    }
    for (const ImageSize& expected : images) {
        const wxBitmap bitmap = LoadBitmapRes(expected.id);
        ASSERT_TRUE(bitmap.IsOk()) << expected.id;
        EXPECT_EQ(bitmap.GetSize(), wxSize(expected.width, expected.height)) << expected.id;
        const wxImage image = bitmap.ConvertToImage();
        ASSERT_TRUE(image.HasAlpha()) << expected.id;
        EXPECT_TRUE(TransparentWithNoEmptyCell(image, expected.height == 15 ? 16 : expected.height))
            << expected.id;
        EXPECT_EQ(LightEdgePixels(image), 0) << expected.id;
    }
    for (unsigned id : {IDI_TREE_ROOT, IDI_PLUGIN}) {
        const wxIcon icon = LoadIconRes(id);
        ASSERT_TRUE(icon.IsOk()) << id;
        EXPECT_EQ(icon.GetWidth(), icon.GetHeight()) << id;
        wxBitmap bitmap;
        bitmap.CopyFromIcon(icon);
        EXPECT_TRUE(TransparentWithNoEmptyCell(bitmap.ConvertToImage(), icon.GetWidth())) << id;
    }
}

TEST(ArtLibrary, UnknownIdsAndIdsOfTheOtherKindGiveInvalidImages) {
    EXPECT_FALSE(LoadBitmapRes(99999).IsOk());
    EXPECT_FALSE(LoadIconRes(99999).IsOk());
    EXPECT_FALSE(LoadBitmapRes(IDI_PLUGIN).IsOk());
    EXPECT_FALSE(LoadIconRes(IDB_SMALL_CARDS).IsOk());
}

}  // namespace
