#include "ui/designer/qt_card_picture.h"

#include <QImageReader>
#include <QPainter>

namespace dv::ui {
namespace {

// A picture box shows a loaded picture at its own size from its top left corner; a null picture
// leaves it empty.
void LoadInto(QImage& box, const QImage& picture) {
    box.fill(kEmptyPictureColour);
    if (picture.isNull()) return;
    QPainter painter(&box);
    painter.drawImage(0, 0, picture);
}

void Stretch(QImage& target, const QRectF& to, const QImage& source, const QRectF& from) {
    QPainter painter(&target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(to, source, from);
}

}  // namespace

CardPictureImages::CardPictureImages()
    : MainPic(kCardWidth, kCardHeight, QImage::Format_RGB32),
      MiniPic(kThumbSize, kThumbSize, QImage::Format_RGB32) {
    MainPic.fill(kEmptyPictureColour);
    MiniPic.fill(kEmptyPictureColour);
}

QImage LoadPicture(const std::string& path, std::string* why) {
    if (path.empty()) return {};
    QImageReader reader(QString::fromStdString(path));
    const QImage image = reader.read();
    if (image.isNull() && why)
        *why = "\"" + path + "\" cannot be read as a picture (" +
               reader.errorString().toStdString() + ")";
    return InPainterForm(image);
}

PixelView ViewOf(QImage& image) {
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    return {reinterpret_cast<uint32_t*>(image.bits()), image.width(), image.height(),
            static_cast<int>(image.bytesPerLine() / 4)};
}

QImage InPainterForm(const QImage& image) {
    if (image.isNull() || image.format() == QImage::Format_RGB32) return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

ConstPixelView ReadViewOf(const QImage& image) {
    return {reinterpret_cast<const uint32_t*>(image.constBits()), image.width(), image.height(),
            static_cast<int>(image.bytesPerLine() / 4)};
}

void BevelPic(QImage& box, double left, double top, double right, double bottom, Rgb light,
              Rgb dark, double width) {
    BevelPic(ViewOf(box), left, top, right, bottom, light, dark, width);
}

void PellamPaintPicture(const QImage& source, QImage& target, int sourceLeft, int sourceTop,
                        int sourceRight, int sourceBottom, int targetLeft, int targetTop,
                        int targetRight, int targetBottom) {
    const QImage readable = InPainterForm(source);
    PellamPaintPicture(ReadViewOf(readable), ViewOf(target), sourceLeft, sourceTop, sourceRight,
                       sourceBottom, targetLeft, targetTop, targetRight, targetBottom);
}

bool ComposeCardPicture(const QImage& back, const QImage& givenArt, const QImage& givenBorder,
                        const PicRegion& region, uint32_t nameColour, CardPictureImages& images) {
    const QImage art = InPainterForm(givenArt);
    const QImage border = InPainterForm(givenBorder);
    images.MainPic.fill(kEmptyPictureColour);
    if (!back.isNull()) LoadInto(images.MainPic, back);
    images.MiniPic.fill(kEmptyPictureColour);
    if (art.isNull() || art.width() < 1 || art.height() < 1) return false;

    const ArtPlacement p = PlaceArt(region, art.width(), art.height());
    if (p.ShrinkMain()) {
        PellamPaintPicture(art, images.MainPic, p.main.left, p.main.top, p.main.right,
                           p.main.bottom, RoundHalfEven(p.left), RoundHalfEven(p.top),
                           RoundHalfEven(p.right), RoundHalfEven(p.bottom));
    } else {
        Stretch(images.MainPic, QRectF(p.left, p.top, p.right - p.left, p.bottom - p.top), art,
                QRectF(p.main.left, p.main.top, p.main.Width(), p.main.Height()));
    }
    const FrameColours frame = FrameColoursOf(nameColour);
    BevelPic(images.MainPic, p.left, p.top, p.right, p.bottom, frame.light, frame.dark,
             kFrameWidth);

    if (p.ShrinkThumb()) {
        PellamPaintPicture(art, images.MiniPic, p.square.left, p.square.top, p.square.right,
                           p.square.bottom, 1, 1, kThumbSize - 1, kThumbSize - 1);
    } else {
        Stretch(images.MiniPic, QRectF(0, 0, kThumbSize, kThumbSize), art,
                QRectF(p.thumb.left, p.thumb.top, p.thumb.Width(), p.thumb.Height()));
    }
    const Rgb flat = RgbOfColour(nameColour);
    BevelPic(images.MiniPic, 0, 0, kThumbSize, kThumbSize, flat, flat, kFrameWidth);
    if (!border.isNull()) LayBorder(ReadViewOf(border), ViewOf(images.MiniPic), kThumbSize);
    return true;
}

PictureCompose ComposeCardPicture(const PictureSources& sources, CardPictureImages& images) {
    PictureCompose made;
    const bool noArt = sources.art.empty();
    const QImage art = LoadPicture(sources.art, &made.reason);
    const QImage back = LoadPicture(sources.back, noArt ? &made.reason : nullptr);
    made.composed =
        ComposeCardPicture(back, art, art.isNull() ? QImage() : LoadPicture(sources.border),
                           sources.region, sources.nameColour, images);
    // A card without art is its back alone, as a card picture and as its picture files.
    if (noArt && !back.isNull()) made.composed = true;
    return made;
}

std::string ShowSavedPictures(const std::string& picture, const std::string& thumbnail,
                              CardPictureImages& images) {
    // A file that cannot be read shows an empty box, never the picture shown before.
    std::string pictureWhy, thumbnailWhy;
    LoadInto(images.MainPic, LoadPicture(picture, &pictureWhy));
    LoadInto(images.MiniPic, LoadPicture(thumbnail, &thumbnailWhy));
    return pictureWhy.empty() ? thumbnailWhy : pictureWhy;
}

}  // namespace dv::ui
