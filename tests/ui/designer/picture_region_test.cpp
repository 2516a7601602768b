#include "ui/designer/picture_region.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/ui/designer/picture_printers.h"

namespace dv::ui {
namespace {

TEST(PictureRegionTest, PlacementShrinksLargeArtStretchesSmallArtAndCentresIt) {
    struct Row {
        const char* what;
        int width, height;
        PicRegion region;
        ArtRect main;
        bool shrink;
        double scale;
    };
    const Row rows[] = {
        {"nothing chosen, large: from pixel 1 to the edges",
         1000,
         1500,
         {},
         {1, 1, 1000, 1500},
         true,
         270.0 / 999},
        {"nothing chosen, small: stretched", 200, 300, {}, {1, 1, 200, 300}, false, 270.0 / 199},
        {"a chosen region",
         1000,
         1000,
         {100, 400, 200, 800},
         {100, 200, 400, 800},
         true,
         420.0 / 600},
        {"reversed corners are put the right way round",
         1000,
         1000,
         {400, 100, 800, 200},
         {100, 200, 400, 800},
         true,
         420.0 / 600},
        {"left equal to right: the whole width from 1",
         1000,
         1000,
         {300, 300, 200, 800},
         {1, 200, 1000, 800},
         true,
         270.0 / 999},
        {"corners past the edge are kept inside",
         1000,
         800,
         {500, 5000, -40, 900},
         {500, 0, 1000, 800},
         true,
         420.0 / 800},
        {"a region wholly outside takes the whole picture",
         1000,
         800,
         {2000, 3000, 900, 950},
         {1, 1, 1000, 800},
         true,
         270.0 / 999},
        {"one pixel wide: never an empty width", 1, 4000, {}, {0, 1, 1, 4000}, true, 420.0 / 3999},
        {"one pixel high", 4000, 1, {}, {1, 0, 4000, 1}, true, 270.0 / 3999},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const ArtPlacement p = PlaceArt(r.region, r.width, r.height);
        EXPECT_EQ(p.main, r.main);
        EXPECT_EQ(p.ShrinkMain(), r.shrink);
        EXPECT_DOUBLE_EQ(p.scale, r.scale);
        // Centred on the card, inside its margin, never empty.
        EXPECT_NEAR((p.left + p.right) / 2, kCardWidth / 2.0, 1e-9);
        EXPECT_NEAR((p.top + p.bottom) / 2, kCardHeight / 2.0, 1e-9);
        EXPECT_GE(p.left, kCardMargin / 2.0 - 1e-9);
        EXPECT_GE(p.top, kCardMargin / 2.0 - 1e-9);
        EXPECT_TRUE(std::isfinite(p.thumbScale));
        EXPECT_GT(p.right - p.left, 0);
    }
}

TEST(PictureRegionTest, ThumbnailRegionIsShrunkFromItsSquareOrStretchedAsItIs) {
    struct Row {
        const char* what;
        PicRegion region;
        ArtRect thumb;
        ArtRect square;
        bool shrink;
    };
    const Row rows[] = {
        {"200 by 100 shrinks from the 200 square around its centre",
         {0, 0, 0, 0, 100, 300, 400, 500},
         {100, 400, 300, 500},
         {100, 350, 300, 550},
         true},
        {"50 by 20 is stretched as it is",
         {0, 0, 0, 0, 10, 60, 10, 30},
         {10, 10, 60, 30},
         {10, -5, 60, 45},
         false},
        {"left equal to right takes the whole width",
         {0, 0, 0, 0, 70, 70, 10, 30},
         {0, 10, 1000, 30},
         {0, -480, 1000, 520},
         true},
        {"nothing chosen: the whole picture", {}, {0, 0, 1000, 800}, {0, -100, 1000, 900}, true},
        {"reversed and past the edge",
         {0, 0, 0, 0, 1200, 900, 600, -3},
         {900, 0, 1000, 600},
         {650, 0, 1250, 600},
         true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const ArtPlacement p = PlaceArt(r.region, 1000, 800);
        EXPECT_EQ(p.thumb, r.thumb);
        EXPECT_EQ(p.square, r.square);
        EXPECT_EQ(p.ShrinkThumb(), r.shrink);
    }
}

TEST(PictureRegionTest, CardAndPickerOrdersKeepEachCornersMeaning) {
    const PicRegion region{10, 20, 30, 40, 50, 60, 70, 80};
    const std::array<int16_t, 8> card = ArtRegionOf(region);
    EXPECT_EQ(card, (std::array<int16_t, 8>{10, 30, 20, 40, 50, 70, 60, 80}));
    EXPECT_EQ(RegionOfCard(card), region);
    // A corner past 16 bits would wrap to a far-off corner; it stays at the largest value.
    EXPECT_EQ(ArtRegionOf({40000, -40000, 0, 0, 0, 0, 0, 0})[0], 32767);
    EXPECT_EQ(ArtRegionOf({40000, -40000, 0, 0, 0, 0, 0, 0})[2], -32768);

    PicRegion reversed{50, 10, 90, 20, 7, 3, 9, 1};
    SwapReversedCorners(reversed);
    EXPECT_EQ(reversed, (PicRegion{10, 50, 20, 90, 3, 7, 1, 9}));
}

TEST(PictureRegionTest, FrameIsLighterAndDarkerThanTheNameColour) {
    const FrameColours frame = FrameColoursOf(200 | (100 << 8) | (40 << 16));
    EXPECT_EQ(frame.light, (Rgb{250, 125, 50}));
    EXPECT_EQ(frame.dark, (Rgb{100, 50, 20}));
    // Light never passes 255; halves go to the even number.
    EXPECT_EQ(FrameColoursOf(0xFFFFFF).light, (Rgb{255, 255, 255}));
    EXPECT_EQ(FrameColoursOf(2 | (1 << 8) | (5 << 16)).light, (Rgb{2, 1, 6}));
    EXPECT_EQ(FrameColoursOf(2 | (1 << 8) | (5 << 16)).dark, (Rgb{1, 0, 2}));
}

}  // namespace
}  // namespace dv::ui
