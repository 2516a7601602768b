#pragma once
// The card picture and its thumbnail composed on images: the back picture, the chosen region of
// the art shrunk or stretched into the card, centred, with a bevelled frame in the card's colour,
// and the thumbnail region with a flat frame and the border picture laid over it.

#include <QImage>
#include <string>

#include "ui/designer/card_pictures.h"
#include "ui/designer/picture_painters.h"

namespace dv::ui {

// The colour of a picture box with nothing in it.
constexpr QRgb kEmptyPictureColour = 0xFFF0F0F0;

// The card picture box (300 by 450 pixels) and the thumbnail box (65 by 65), blank at the start.
struct CardPictureImages {
    CardPictureImages();
    QImage MainPic;
    QImage MiniPic;
};

// A picture file in the form the painters work on; a null image when it cannot be read, and then,
// when `why` is given, the reason in it.
QImage LoadPicture(const std::string& path, std::string* why = nullptr);

// The image itself when it is in the form the painters work on, else a converted copy.
QImage InPainterForm(const QImage& image);
// The painters' views of an image; ViewOf converts the image in place when needed, ReadViewOf
// wants it in their form already.
PixelView ViewOf(QImage& image);
ConstPixelView ReadViewOf(const QImage& image);
void BevelPic(QImage& box, double left, double top, double right, double bottom, Rgb light,
              Rgb dark, double width);
void PellamPaintPicture(const QImage& source, QImage& target, int sourceLeft, int sourceTop,
                        int sourceRight, int sourceBottom, int targetLeft, int targetTop,
                        int targetRight, int targetBottom);

// Composes both pictures from pictures already loaded (a null image for none). Without an art
// picture the card picture shows the back alone, the thumbnail is blank, and the result is false.
bool ComposeCardPicture(const QImage& back, const QImage& art, const QImage& border,
                        const PicRegion& region, uint32_t nameColour, CardPictureImages& images);
// The same from picture files: composed too when no art picture is given and the back picture is
// drawn alone. A picture given that cannot be read gives the reason (the back only without art).
PictureCompose ComposeCardPicture(const PictureSources& sources, CardPictureImages& images);

// Loads the card's saved picture files; an empty path, or a file that cannot be read, leaves that
// box empty. Why a file given could not be read (the card picture's first); empty when none.
std::string ShowSavedPictures(const std::string& picture, const std::string& thumbnail,
                              CardPictureImages& images);

}  // namespace dv::ui
