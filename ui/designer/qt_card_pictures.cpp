#include "ui/designer/qt_card_pictures.h"

#include <QCoreApplication>
#include <QWidget>
#include <utility>

#include "ui/designer/pic_pick_dialog.h"
#include "ui/designer/qt_image_export.h"

namespace dv::ui {

QtCardPictures::QtCardPictures(QWidget* window, CardPictureState& state,
                               std::function<void()> commit)
    : window_(window), commands_(state, *this, std::move(commit)) {}

QtCardPictures::~QtCardPictures() {
    ClosePicker();
}

PicPickDialog& QtCardPictures::Picker() {
    if (!picker_) picker_ = new PicPickDialog(window_);
    return *picker_;
}

void QtCardPictures::ClosePicker() {
    delete picker_.data();
}

std::optional<std::string> QtCardPictures::PickPicture(const std::string& prompt, bool regionMode,
                                                       PicRegion& region) {
    return Picker().Pick(prompt, regionMode, region);
}

std::string QtCardPictures::PickerFolder() {
    return Picker().Folder();
}

void QtCardPictures::BeginComposing() {
    emit composingStarted();
    // Lets the label show before the work; clicks meanwhile are not taken.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

std::string QtCardPictures::ShowSavedPictures(const std::string& picture,
                                              const std::string& thumbnail) {
    return ui::ShowSavedPictures(picture, thumbnail, images_);
}

PictureCompose QtCardPictures::ComposePictures(const PictureSources& sources) {
    return ComposeCardPicture(sources, images_);
}

void QtCardPictures::EndComposing() {
    emit picturesChanged();
}

PictureSave QtCardPictures::SaveImage(const std::string& path) {
    return ui::SaveImage(images_, path);
}

PictureSave QtCardPictures::SaveMini(const std::string& path) {
    return ui::SaveMini(images_, path);
}

}  // namespace dv::ui
