#pragma once
// What an author does in the card designer's own windows, for the window tests: a new card made
// from a template, the art picture and its regions chosen in the picture picker, and a card found
// in the deck manager's pane by the thumbnail it shows.

#include <QImage>
#include <QRect>
#include <QString>
#include <string>

namespace dv::ui {
class CardEditWindow;
class DeckManager;
class HandPictureWidget;
class MainWindow;
class PicPickDialog;
}  // namespace dv::ui

namespace dv::test {

class ScriptedDialogs;

// The main window's "Card Editor", the card file `setFile` loaded (the open dialog answered in
// `dialogs`), its card `card` chosen and shown, "Save As Template", that template chosen, and
// "New Card from Template". The designer, shown; nullptr, having said why, when a step fails.
ui::CardEditWindow* NewCardFromTemplate(ui::MainWindow& main, ScriptedDialogs& dialogs,
                                        const std::string& setFile, const QString& card);

// In the picture picker that is up: opens the folder named `folder` (below the folder shown or
// below one of its parents) with a double click, clicks its first thumbnail, which must show
// `file`, and clicks the corners of the card region and then of the thumbnail region, given in
// pixels of the picture, on the enlarged picture. False, having said why, when a step fails;
// `zoom` takes the zoom the picture was enlarged at.
bool PickArtRegions(ui::PicPickDialog& picker, const QString& folder, const QString& file,
                    QRect cardRegion, QRect thumbRegion, double* zoom);

// "Test Cards" in the designer, the card that shows `thumbnail` (the last of the designer's cards)
// clicked into the test hand in the deck manager that opens, and DONE: the test game starts.
// False, having said why, when a step fails.
bool StartCardTest(ui::CardEditWindow& designer, const QImage& thumbnail);

// The visible picture of the deck manager's pane `pane` ("CollectPic" or "DeckPic") that shows
// `thumbnail`, or nullptr.
ui::HandPictureWidget* PanePictureShowing(const ui::DeckManager& manager, const QString& pane,
                                          const QImage& thumbnail);

}  // namespace dv::test
