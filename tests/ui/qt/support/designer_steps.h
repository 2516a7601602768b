#pragma once
// What an author does in the card designer's own windows, for the window tests: the art picture
// and its regions chosen in the picture picker, and a card found in the deck manager's pane by the
// thumbnail it shows.

#include <QImage>
#include <QRect>
#include <QString>

namespace dv::ui {
class DeckManager;
class HandPictureWidget;
class PicPickDialog;
}  // namespace dv::ui

namespace dv::test {

// In the picture picker that is up: opens the folder named `folder` (below the folder shown or
// below one of its parents) with a double click, clicks its first thumbnail, which must show
// `file`, and clicks the corners of the card region and then of the thumbnail region, given in
// pixels of the picture, on the enlarged picture. False, having said why, when a step fails;
// `zoom` takes the zoom the picture was enlarged at.
bool PickArtRegions(ui::PicPickDialog& picker, const QString& folder, const QString& file,
                    QRect cardRegion, QRect thumbRegion, double* zoom);

// The visible picture of the deck manager's collection pane that shows `thumbnail`, or nullptr.
ui::HandPictureWidget* CollectionPictureShowing(const ui::DeckManager& manager,
                                                const QImage& thumbnail);

}  // namespace dv::test
