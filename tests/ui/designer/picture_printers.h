#pragma once
// Colours and rectangles printed readably in failed expectations.

#include <ostream>

#include "ui/designer/picture_region.h"

namespace dv::ui {

inline void PrintTo(const Rgb& c, std::ostream* os) {
    *os << "rgb(" << c.r << ", " << c.g << ", " << c.b << ")";
}

inline void PrintTo(const ArtRect& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

inline void PrintTo(const PicRegion& r, std::ostream* os) {
    *os << "main " << r.MainLeft << ".." << r.MainRight << " x " << r.MainTop << ".."
        << r.MainBottom << ", thumbnail " << r.ThumbLeft << ".." << r.ThumbRight << " x "
        << r.ThumbTop << ".." << r.ThumbBottom;
}

}  // namespace dv::ui
