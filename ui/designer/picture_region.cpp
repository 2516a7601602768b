#include "ui/designer/picture_region.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

namespace dv::ui {
namespace {

int16_t Narrow(int32_t value) {
    return static_cast<int16_t>(std::clamp<int32_t>(value, std::numeric_limits<int16_t>::min(),
                                                    std::numeric_limits<int16_t>::max()));
}

void Order(int32_t& low, int32_t& high) {
    if (high < low) std::swap(low, high);
}

// One axis of the card region: a region chosen from corner to corner of the same column means the
// whole picture from pixel 1, and an unchosen far corner the picture's edge.
std::pair<int, int> MainSpan(int32_t low, int32_t high, int size) {
    Order(low, high);
    if (low == high) {
        low = 1;
        high = 0;
    }
    if (high == 0) high = size;
    low = std::clamp(low, 0, size);
    high = std::clamp(high, 0, size);
    if (high - low < 1) return {size > 1 ? 1 : 0, size};
    return {static_cast<int>(low), static_cast<int>(high)};
}

std::pair<int, int> ThumbSpan(int32_t low, int32_t high, int size) {
    if (high == 0) high = size;
    Order(low, high);
    low = std::clamp(low, 0, size);
    high = std::clamp(high, 0, size);
    if (high - low < 1) return {0, size};
    return {static_cast<int>(low), static_cast<int>(high)};
}

}  // namespace

long RoundHalfEven(double value) {
    return std::lrint(value);
}

PicRegion RegionOfCard(const std::array<int16_t, 8>& a) {
    return {a[0], a[2], a[1], a[3], a[4], a[6], a[5], a[7]};
}

std::array<int16_t, 8> ArtRegionOf(const PicRegion& r) {
    return {Narrow(r.MainLeft),  Narrow(r.MainTop),  Narrow(r.MainRight),  Narrow(r.MainBottom),
            Narrow(r.ThumbLeft), Narrow(r.ThumbTop), Narrow(r.ThumbRight), Narrow(r.ThumbBottom)};
}

void SwapReversedCorners(PicRegion& r) {
    Order(r.MainLeft, r.MainRight);
    Order(r.MainTop, r.MainBottom);
    Order(r.ThumbLeft, r.ThumbRight);
    Order(r.ThumbTop, r.ThumbBottom);
}

ArtPlacement PlaceArt(const PicRegion& region, int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    ArtPlacement p;
    std::tie(p.main.left, p.main.right) = MainSpan(region.MainLeft, region.MainRight, width);
    std::tie(p.main.top, p.main.bottom) = MainSpan(region.MainTop, region.MainBottom, height);

    const double w0 = p.main.Width();
    const double h0 = p.main.Height();
    p.scale =
        std::min(double(kCardWidth - kCardMargin) / w0, double(kCardHeight - kCardMargin) / h0);
    const double w = p.scale * w0;
    const double h = p.scale * h0;
    p.left = kCardWidth / 2.0 - w / 2;
    p.top = kCardHeight / 2.0 - h / 2;
    p.right = p.left + w;
    p.bottom = p.top + h;

    std::tie(p.thumb.left, p.thumb.right) = ThumbSpan(region.ThumbLeft, region.ThumbRight, width);
    std::tie(p.thumb.top, p.thumb.bottom) = ThumbSpan(region.ThumbTop, region.ThumbBottom, height);
    const double tw0 = p.thumb.Width();
    const double th0 = p.thumb.Height();
    p.thumbScale = std::min(kThumbSize / th0, kThumbSize / tw0);
    const double centreX = (p.thumb.left + p.thumb.right) / 2.0;
    const double centreY = (p.thumb.top + p.thumb.bottom) / 2.0;
    const double side = std::max(tw0, th0);
    p.square = {static_cast<int>(RoundHalfEven(centreX - side / 2)),
                static_cast<int>(RoundHalfEven(centreY - side / 2)),
                static_cast<int>(RoundHalfEven(centreX + side / 2)),
                static_cast<int>(RoundHalfEven(centreY + side / 2))};
    return p;
}

Rgb RgbOfColour(uint32_t colour) {
    return {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
            static_cast<int>((colour >> 16) & 0xFF)};
}

FrameColours FrameColoursOf(uint32_t nameColour) {
    const Rgb c = RgbOfColour(nameColour);
    auto light = [](int v) { return static_cast<int>(std::min(255L, RoundHalfEven(v * 1.25))); };
    auto dark = [](int v) { return static_cast<int>(RoundHalfEven(v * 0.5)); };
    return {{light(c.r), light(c.g), light(c.b)}, {dark(c.r), dark(c.g), dark(c.b)}};
}

}  // namespace dv::ui
