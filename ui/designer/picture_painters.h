#pragma once
// The two painters of the card picture, over plain pixel rows: the bevelled frame and the
// area-averaging shrink. The window side hands them the rows of its pictures.

#include <cstdint>
#include <vector>

#include "ui/designer/picture_region.h"

namespace dv::ui {

// Pixels held as 0xFFRRGGBB, row after row; `stride` counts pixels from one row to the next.
struct PixelView {
    uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;

    bool Contains(long x, long y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint32_t& At(long x, long y) const { return bits[y * stride + x]; }
};

// The same pixels, only read.
struct ConstPixelView {
    const uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;

    ConstPixelView() = default;
    ConstPixelView(const uint32_t* b, int w, int h, int s)
        : bits(b), width(w), height(h), stride(s) {}
    ConstPixelView(const PixelView& v)
        : bits(v.bits), width(v.width), height(v.height), stride(v.stride) {}
    bool Contains(long x, long y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint32_t At(long x, long y) const { return bits[y * stride + x]; }
};

// A picture that owns its pixels, all black at the start.
class PixelImage {
  public:
    PixelImage(int width, int height);
    PixelView View() { return {pixels_.data(), width_, height_, width_}; }
    uint32_t Pixel(int x, int y) const { return pixels_[y * width_ + x]; }
    void Fill(uint32_t pixel);

  private:
    int width_;
    int height_;
    std::vector<uint32_t> pixels_;
};

uint32_t PixelOf(Rgb c);
Rgb RgbOfPixel(uint32_t pixel);
inline bool IsBlack(uint32_t pixel) {
    return (pixel & 0xFFFFFF) == 0;
}

// Paints a frame `width` pixels deep inside the rectangle (edges included): light on the top and
// left sides, dark on the bottom and right, strongest at the edge and fading into the picture's
// own colour at the frame's inner edge. Pixels outside the picture are left alone.
void BevelPic(PixelView box, double left, double top, double right, double bottom, Rgb light,
              Rgb dark, double width);

// Shrinks a rectangle of the source into a rectangle of the target by averaging the source pixels
// (black source pixels count as holes and are left out). The target's first row and column, and
// any pixel no source row reached, are painted black. Corners are put the right way round and
// kept inside their pictures; a rectangle that is then empty paints nothing.
void PellamPaintPicture(ConstPixelView source, PixelView target, int sourceLeft, int sourceTop,
                        int sourceRight, int sourceBottom, int targetLeft, int targetTop,
                        int targetRight, int targetBottom);

// Lays the thumbnail border over the thumbnail from (0, 0) to (size, size): every border pixel
// that is not black replaces the thumbnail's pixel; black is the border's see-through colour.
void LayBorder(ConstPixelView border, PixelView thumbnail, int size);

}  // namespace dv::ui
