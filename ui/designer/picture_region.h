#pragma once
// The regions of the art picture that the card picture and its thumbnail show, and where the
// composition places them in the card picture box and the thumbnail box.

#include <array>
#include <cstdint>

namespace dv::ui {

// The card picture box, the margin the art keeps from its edges, the thumbnail box and the width
// of the bevelled frames, in pixels.
constexpr int kCardWidth = 300;
constexpr int kCardHeight = 450;
constexpr int kCardMargin = 30;
constexpr int kThumbSize = 65;
constexpr int kFrameWidth = 10;

// Corners in pixels of the art picture, 0 meaning not chosen yet, in the order the picker fills
// them.
struct PicRegion {
    int32_t MainLeft = 0;
    int32_t MainRight = 0;
    int32_t MainTop = 0;
    int32_t MainBottom = 0;
    int32_t ThumbLeft = 0;
    int32_t ThumbRight = 0;
    int32_t ThumbTop = 0;
    int32_t ThumbBottom = 0;

    friend bool operator==(const PicRegion&, const PicRegion&) = default;
};

// A card keeps the corners as main left, top, right, bottom, then the thumbnail's in that order.
PicRegion RegionOfCard(const std::array<int16_t, 8>& artRegion);
// Corners past what the card's 16-bit values hold are kept at the nearest value they hold.
std::array<int16_t, 8> ArtRegionOf(const PicRegion& region);

// Puts each pair of corners the right way round (left before right, top before bottom).
void SwapReversedCorners(PicRegion& region);

// A rectangle of the art picture by its corners in pixels.
struct ArtRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const ArtRect&, const ArtRect&) = default;
};

// Where the chosen regions of an art picture go.
struct ArtPlacement {
    ArtRect main;      // the region shown on the card
    double scale = 1;  // target pixels per art pixel
    // The target rectangle in the card picture, centred; not rounded.
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;

    ArtRect thumb;  // the region shown in the thumbnail
    double thumbScale = 1;
    ArtRect square;  // the square around the thumbnail region that a shrunk thumbnail shows

    bool ShrinkMain() const { return scale < 1; }
    bool ShrinkThumb() const { return thumbScale < 1; }
};

// Places the regions of an art picture of width by height pixels (both at least 1). A corner not
// chosen (0 for a right or bottom corner) means the picture's edge; every corner is kept inside
// the picture, and a region that is empty across an axis takes the whole picture across it, so no
// size below is ever 0.
ArtPlacement PlaceArt(const PicRegion& region, int width, int height);

// Red, green and blue of a colour held with red in the low byte.
struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
Rgb RgbOfColour(uint32_t colour);

// The card frame's light and dark colours from the card's name colour.
struct FrameColours {
    Rgb light;
    Rgb dark;
};
FrameColours FrameColoursOf(uint32_t nameColour);

// Round to the nearest whole number, halves to the even one.
long RoundHalfEven(double value);

}  // namespace dv::ui
