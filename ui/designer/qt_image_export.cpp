#include "ui/designer/qt_image_export.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>

#include "engine/model/files.h"
#include "ui/designer/picture_files.h"

namespace dv::ui {
namespace {

PictureSave Refused(const std::string& why) {
    return {false, "The picture was not saved: " + why};
}

}  // namespace

PictureSave PictureToFile(const QImage& picture, const std::string& path, int quality) {
    const std::string extension = GetFileExtension(path);
    if (extension.empty())
        return Refused("\"" + path + "\" has no extension to name the picture's format.");
    const QByteArray format = QByteArray::fromStdString(extension).toLower();
    if (!QImageWriter::supportedImageFormats().contains(format))
        return Refused("pictures cannot be written as \"." + extension +
                       "\" files; use \".jpg\" or \".bmp\".");
    if (picture.isNull()) return Refused("there is no picture.");

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (format.startsWith('j')) writer.setQuality(quality);
    if (!writer.write(picture)) return Refused(writer.errorString().toStdString() + ".");
    const std::string reason =
        AtomicSave(path, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!reason.empty()) return Refused(reason + ".");
    return {true, ""};
}

PictureSave SaveImage(const CardPictureImages& images, const std::string& path) {
    return PictureToFile(images.MainPic, path, kCardPictureQuality);
}

PictureSave SaveMini(const CardPictureImages& images, const std::string& path) {
    return PictureToFile(images.MiniPic, path, kThumbnailQuality);
}

}  // namespace dv::ui
