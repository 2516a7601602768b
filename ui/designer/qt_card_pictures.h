#pragma once
// The windows' side of the card designer's picture work: the card picture and thumbnail images,
// the picture picker, the composition and the picture files. The designer window makes one,
// calls Commands() from its picture menus, clicks and card stores, and draws Images() whenever
// picturesChanged() is emitted.

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "ui/designer/card_pictures.h"
#include "ui/designer/qt_card_picture.h"

class QWidget;

namespace dv::ui {

class PicPickDialog;

class QtCardPictures : public QObject, public PicturePlatform {
    Q_OBJECT

  public:
    // `window` is the designer window (the picker opens over it); the designer keeps `state` and
    // gives the commit that stores the window into EditCards(EditIndex).
    QtCardPictures(QWidget* window, CardPictureState& state, std::function<void()> commit);
    ~QtCardPictures() override;

    CardPictures& Commands() { return commands_; }
    const CardPictureImages& Images() const { return images_; }
    // The picker, made on first use and kept between uses.
    PicPickDialog& Picker();
    // The designer closes: the picker goes with it.
    void ClosePicker();

    std::optional<std::string> PickPicture(const std::string& prompt, bool regionMode,
                                           PicRegion& region) override;
    std::string PickerFolder() override;
    void BeginComposing() override;
    std::string ShowSavedPictures(const std::string& picture,
                                  const std::string& thumbnail) override;
    PictureCompose ComposePictures(const PictureSources& sources) override;
    void EndComposing() override;
    PictureSave SaveImage(const std::string& path) override;
    PictureSave SaveMini(const std::string& path) override;

  signals:
    // A new picture is being composed: show "Generating new image..." in place of the card
    // picture.
    void composingStarted();
    // The pictures are ready: draw Images() and show the card picture again.
    void picturesChanged();

  private:
    QPointer<QWidget> window_;
    CardPictureImages images_;
    CardPictures commands_;
    QPointer<PicPickDialog> picker_;
};

}  // namespace dv::ui
