#pragma once
// The composed card picture and thumbnail written as picture files: the format is the one the
// file's extension names, JPEG at a given quality.

#include <QImage>
#include <string>

#include "ui/designer/card_pictures.h"
#include "ui/designer/qt_card_picture.h"

namespace dv::ui {

constexpr int kCardPictureQuality = 100;
constexpr int kThumbnailQuality = 85;

// Writes the picture to `path` in the format of its extension, replacing the file whole; an
// extension beginning with "j" is written at `quality` (0 to 100). A name without extension, or
// one that names a format this program cannot write (GIF), writes nothing and says why.
PictureSave PictureToFile(const QImage& picture, const std::string& path, int quality);

PictureSave SaveImage(const CardPictureImages& images, const std::string& path);
PictureSave SaveMini(const CardPictureImages& images, const std::string& path);

}  // namespace dv::ui
