#include "ui/designer/picture_painters.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/model/guard.h"

namespace dv::ui {

PixelImage::PixelImage(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * height_, PixelOf({})) {}

void PixelImage::Fill(uint32_t pixel) {
    std::fill(pixels_.begin(), pixels_.end(), pixel);
}

uint32_t PixelOf(Rgb c) {
    return 0xFF000000u | (static_cast<uint32_t>(c.r & 0xFF) << 16) |
           (static_cast<uint32_t>(c.g & 0xFF) << 8) | static_cast<uint32_t>(c.b & 0xFF);
}

Rgb RgbOfPixel(uint32_t pixel) {
    return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
            static_cast<int>(pixel & 0xFF)};
}

void BevelPic(PixelView box, double left, double top, double right, double bottom, Rgb light,
              Rgb dark, double width) {
    if (!(width > 0) || box.width <= 0 || box.height <= 0) return;
    // Only the steps whose pixel lies in the picture matter, so a rectangle far larger than the
    // picture costs no more than the picture.
    auto firstStep = [](double from) { return std::max(0.0, std::ceil(-0.5 - from)); };
    auto lastStep = [](double from, double to, int size) {
        return std::min(std::floor(to - from), std::floor(size - 0.5 - from));
    };
    const double lastX = lastStep(left, right, box.width);
    const double lastY = lastStep(top, bottom, box.height);
    for (double i = firstStep(left); i <= lastX; ++i) {
        const double x = left + i;
        const long px = RoundHalfEven(x);
        const double dx = std::min(std::abs(x - left), std::abs(x - right));
        for (double j = firstStep(top); j <= lastY; ++j) {
            const double y = top + j;
            const long py = RoundHalfEven(y);
            if (!box.Contains(px, py)) continue;
            const double dy = std::min(std::abs(y - top), std::abs(y - bottom));
            double d = std::min(dx, dy);
            if (d > width) continue;
            if (d == 0) d = 1;
            Rgb pixel = RgbOfPixel(box.At(px, py));
            for (int* part : {&pixel.r, &pixel.g, &pixel.b})
                if (*part == 0) *part = 1;
            const bool isLight = (bottom - y) >= dx && (right - x) >= dy &&
                                 ((x - left) < width || (y - top) < width);
            const Rgb& frame = isLight ? light : dark;
            const double keep = d / width;
            auto blend = [&](int own, int edge) {
                return static_cast<int>(RoundHalfEven(own * keep + edge * (1 - keep)));
            };
            box.At(px, py) = PixelOf(
                {blend(pixel.r, frame.r), blend(pixel.g, frame.g), blend(pixel.b, frame.b)});
        }
    }
}

void PellamPaintPicture(ConstPixelView source, PixelView target, int sourceLeft, int sourceTop,
                        int sourceRight, int sourceBottom, int targetLeft, int targetTop,
                        int targetRight, int targetBottom) {
    Guarded("PellamPaintPicture", [&] {
        if (source.width <= 0 || source.height <= 0) return;
        auto fit = [](int& low, int& high, int size) {
            if (high < low) std::swap(low, high);
            low = std::clamp(low, 0, size);
            high = std::clamp(high, 0, size);
        };
        // Every corner stays inside its own picture: a target corner bounded by the source's size
        // would squeeze a wide picture's target to nothing.
        fit(sourceLeft, sourceRight, source.width);
        fit(sourceTop, sourceBottom, source.height);
        fit(targetLeft, targetRight, target.width);
        fit(targetTop, targetBottom, target.height);
        const long sw = sourceRight - sourceLeft;
        const long sh = sourceBottom - sourceTop;
        const long dw = targetRight - targetLeft;
        const long dh = targetBottom - targetTop;
        if (sw < 1 || sh < 1 || dw < 1 || dh < 1) return;
        const double rx = static_cast<double>(sw) / dw;
        const double ry = static_cast<double>(sh) / dh;

        auto read = [&](double x, double y) {
            const long cx =
                std::clamp(static_cast<long>(std::floor(x)), 0L, long(source.width) - 1);
            const long cy =
                std::clamp(static_cast<long>(std::floor(y)), 0L, long(source.height) - 1);
            return source.At(cx, cy);
        };
        // The running colour is carried from one target pixel to the next and counts as one
        // sample of each average.
        long red = 0, green = 0, blue = 0;
        auto average = [&](auto&& sampleAt, double from, double to, auto&& skip) {
            long count = 1, sumRed = red, sumGreen = green, sumBlue = blue;
            for (double k = from; k <= to; k += 1) {
                if (skip(k)) continue;
                const uint32_t pixel = sampleAt(k);
                if (IsBlack(pixel)) continue;
                const Rgb c = RgbOfPixel(pixel);
                sumRed += c.r;
                sumGreen += c.g;
                sumBlue += c.b;
                ++count;
            }
            if (count > 1) {
                red = RoundHalfEven(static_cast<double>(sumRed) / count);
                green = RoundHalfEven(static_cast<double>(sumGreen) / count);
                blue = RoundHalfEven(static_cast<double>(sumBlue) / count);
            }
        };

        const long rowLength = dw + 1;
        std::vector<uint32_t> table(static_cast<std::size_t>(rowLength) * (dh + 1), PixelOf({}));
        double offset = 0;
        for (long r = 1; r <= sh; ++r) {
            offset += ry - 1;
            const double row = sourceTop + r + offset;
            if (row > sourceBottom) break;  // every later row lies further down
            double x = 0;
            long c = 0;
            while (sourceLeft + x + 1 < sourceRight) {
                x += rx;
                const long column = sourceLeft + static_cast<long>(x);
                if (column + 1 > sourceRight) continue;
                if (rx > 1)
                    average([&](double k) { return read(k, row); }, column - rx / 2,
                            column + rx / 2,
                            [&](double k) {
                                return k <= 0 || k >= sourceRight || std::floor(k) < sourceLeft;
                            });
                if (ry > 1)
                    average([&](double k) { return read(column, k); }, row - ry / 2, row + ry / 2,
                            [&](double k) { return k <= 0 || k >= sourceBottom; });
                ++c;
                if (c <= dw && r <= dh)
                    table[r * rowLength + c] = PixelOf(
                        {static_cast<int>(red), static_cast<int>(green), static_cast<int>(blue)});
            }
        }
        for (long y = 0; y <= dh; ++y)
            for (long x = 0; x <= dw; ++x)
                if (target.Contains(targetLeft + x, targetTop + y))
                    target.At(targetLeft + x, targetTop + y) = table[y * rowLength + x];
    });
}

void LayBorder(ConstPixelView border, PixelView thumbnail, int size) {
    for (int x = 0; x <= size; ++x)
        for (int y = 0; y <= size; ++y) {
            if (!border.Contains(x, y) || !thumbnail.Contains(x, y)) continue;
            const uint32_t pixel = border.At(x, y);
            if (!IsBlack(pixel)) thumbnail.At(x, y) = pixel | 0xFF000000u;
        }
}

}  // namespace dv::ui
