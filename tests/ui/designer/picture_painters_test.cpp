#include "ui/designer/picture_painters.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/ui/designer/picture_printers.h"

namespace dv::ui {
namespace {

const Rgb kLight{250, 125, 50};
const Rgb kDark{100, 50, 20};

PixelImage Filled(int width, int height, Rgb colour) {
    PixelImage image(width, height);
    image.Fill(PixelOf(colour));
    return image;
}

TEST(PicturePaintersTest, BevelIsLightTopLeftDarkBottomRightAndFadesInward) {
    PixelImage box = Filled(40, 40, {100, 100, 100});
    BevelPic(box.View(), 0, 0, 39, 39, kLight, kDark, 10);
    struct Row {
        const char* where;
        int x, y;
        Rgb expected;
    };
    const Row rows[] = {
        {"left edge: nine tenths frame", 0, 20, {235, 122, 55}},  // 122.5 goes to the even 122
        {"top edge", 20, 0, {235, 122, 55}},
        {"right edge: dark", 39, 20, {100, 55, 28}},
        {"bottom edge: dark", 20, 39, {100, 55, 28}},
        {"half way into the left side", 5, 20, {175, 112, 75}},
        {"half way into the right side", 34, 20, {100, 75, 60}},
        {"top-right corner counts as light", 39, 0, {235, 122, 55}},
        {"bottom-left corner counts as light", 0, 39, {235, 122, 55}},
        {"bottom-right corner is dark", 39, 39, {100, 55, 28}},
        {"the frame's inner edge keeps the picture's colour", 10, 20, {100, 100, 100}},
        {"inside the frame: untouched", 20, 20, {100, 100, 100}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.where);
        EXPECT_EQ(RgbOfPixel(box.Pixel(r.x, r.y)), r.expected);
    }
}

TEST(PicturePaintersTest, BevelRaisesBlackToOneBeforeBlending) {
    PixelImage box = Filled(40, 40, {0, 0, 0});
    BevelPic(box.View(), 0, 0, 39, 39, kLight, kDark, 10);
    // Half way: (1 + 250) / 2 = 125.5 goes to 126; a black pixel taken as 0 would give 125.
    EXPECT_EQ(RgbOfPixel(box.Pixel(5, 20)), (Rgb{126, 63, 26}));
}

TEST(PicturePaintersTest, BevelOutsideThePictureEndsWithoutFault) {
    PixelImage box = Filled(20, 20, {100, 100, 100});
    BevelPic(box.View(), -50, -50, 1e9, 15.5, kLight, kDark, 10);
    BevelPic(box.View(), 30, 30, 10, 10, kLight, kDark, 10);  // reversed: nothing
    BevelPic(box.View(), 0, 0, 19, 19, kLight, kDark, 0);     // no width: nothing
    PixelImage empty(0, 0);
    BevelPic(empty.View(), 0, 0, 65, 65, kLight, kDark, 10);
    EXPECT_EQ(RgbOfPixel(box.Pixel(19, 19)), (Rgb{100, 100, 100}));
}

TEST(PicturePaintersTest, ShrinkAveragesTheSourceAndLeavesTheFirstRowAndColumnBlack) {
    PixelImage source = Filled(100, 100, {30, 160, 90});
    PixelImage target = Filled(20, 20, {7, 7, 7});
    PellamPaintPicture(source.View(), target.View(), 0, 0, 100, 100, 2, 2, 12, 12);
    EXPECT_EQ(RgbOfPixel(target.Pixel(8, 8)), (Rgb{30, 160, 90}));
    EXPECT_EQ(RgbOfPixel(target.Pixel(8, 12)), (Rgb{30, 160, 90}));  // the last row: edge included
    EXPECT_EQ(RgbOfPixel(target.Pixel(2, 8)), (Rgb{0, 0, 0}));
    EXPECT_EQ(RgbOfPixel(target.Pixel(8, 2)), (Rgb{0, 0, 0}));
    EXPECT_EQ(RgbOfPixel(target.Pixel(12, 8)), (Rgb{0, 0, 0}));  // no column step reaches it
    EXPECT_EQ(RgbOfPixel(target.Pixel(1, 1)), (Rgb{7, 7, 7}));   // outside the target rectangle
    EXPECT_EQ(RgbOfPixel(target.Pixel(13, 13)), (Rgb{7, 7, 7}));
}

TEST(PicturePaintersTest, ShrinkSkipsBlackSourcePixels) {
    // Every other column black: averaged in, the red would come out half as bright.
    PixelImage source(100, 100);
    auto view = source.View();
    for (int x = 0; x < 100; x += 2)
        for (int y = 0; y < 100; ++y)
            view.At(x, y) = PixelOf({200, 0, 0});
    PixelImage target(20, 20);
    PellamPaintPicture(source.View(), target.View(), 0, 0, 100, 100, 0, 0, 10, 10);
    EXPECT_EQ(RgbOfPixel(target.Pixel(6, 6)), (Rgb{200, 0, 0}));
}

TEST(PicturePaintersTest, ShrinkOfAVeryWidePictureStillPaintsItsBand) {
    // A wide picture's target lies lower than the picture is high; bounding the target by the
    // source's size left it no rows at all.
    PixelImage source = Filled(4000, 40, {0, 0, 250});
    PixelImage card(300, 450);
    PellamPaintPicture(source.View(), card.View(), 1, 1, 4000, 40, 15, 222, 285, 228);
    EXPECT_EQ(RgbOfPixel(card.Pixel(150, 226)), (Rgb{0, 0, 250}));
}

TEST(PicturePaintersTest, DegenerateShrinksEndWithoutFault) {
    struct Row {
        const char* what;
        int sl, st, sr, sb, tl, tt, tr, tb;
    };
    const Row rows[] = {
        {"source corners past every edge", -500, -500, 5000, 5000, 0, 0, 10, 10},
        {"reversed corners", 50, 50, 0, 0, 10, 10, 0, 0},
        {"no source width", 20, 0, 20, 50, 0, 0, 10, 10},
        {"no target height", 0, 0, 50, 50, 0, 10, 10, 10},
        {"target past its picture", 0, 0, 50, 50, 5, 5, 500, 500},
        {"target wholly outside", 0, 0, 50, 50, 300, 300, 400, 400},
        {"a target larger than its source", 0, 0, 3, 3, 0, 0, 12, 12},
        {"last row and column of the source", 49, 49, 50, 50, 0, 0, 1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        PixelImage source = Filled(50, 50, {10, 20, 30});
        PixelImage target(12, 12);
        PellamPaintPicture(source.View(), target.View(), r.sl, r.st, r.sr, r.sb, r.tl, r.tt, r.tr,
                           r.tb);
    }
    PixelImage none(0, 0);
    PixelImage target(12, 12);
    PellamPaintPicture(none.View(), target.View(), 0, 0, 10, 10, 0, 0, 10, 10);
}

TEST(PicturePaintersTest, BorderBlackIsSeeThroughAndASmallBorderIsLaidAsFarAsItGoes) {
    PixelImage border(10, 10);
    border.View().At(3, 4) = PixelOf({255, 255, 255});
    PixelImage thumbnail = Filled(65, 65, {40, 50, 60});
    LayBorder(border.View(), thumbnail.View(), kThumbSize);
    EXPECT_EQ(RgbOfPixel(thumbnail.Pixel(3, 4)), (Rgb{255, 255, 255}));
    EXPECT_EQ(RgbOfPixel(thumbnail.Pixel(4, 4)), (Rgb{40, 50, 60}));
    EXPECT_EQ(RgbOfPixel(thumbnail.Pixel(64, 64)), (Rgb{40, 50, 60}));

    PixelImage large = Filled(100, 100, {1, 0, 0});
    LayBorder(large.View(), thumbnail.View(), kThumbSize);
    EXPECT_EQ(RgbOfPixel(thumbnail.Pixel(64, 64)), (Rgb{1, 0, 0}));  // nearly black still covers
}

}  // namespace
}  // namespace dv::ui
