#include "tests/ui/qt/support/designer_steps.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include "tests/support/scripted_dialogs.h"
#include "tests/ui/qt/support/window_steps.h"
#include "ui/decks/deck_manager_logic.h"
#include "ui/decks/deck_manager_window.h"
#include "ui/designer/card_edit_window.h"
#include "ui/designer/pic_pick_dialog.h"
#include "ui/main/hand_picture_widget.h"
#include "ui/main/main_window.h"

namespace dv::test {
namespace {

constexpr int kMaxLevelsUp = 4;

// A double click as the mouse makes it: a click, then the second press and its release.
bool DoubleClickEntry(QListWidget* list, const QString& entry) {
    const QList<QListWidgetItem*> found = list->findItems(entry, Qt::MatchExactly);
    if (found.isEmpty()) return false;
    const QPoint at = list->visualItemRect(found.first()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    return true;
}

}  // namespace

ui::CardEditWindow* NewCardFromTemplate(ui::MainWindow& main, ScriptedDialogs& dialogs,
                                        const std::string& setFile, const QString& card) {
    ChooseMenuItem(main, "EditMen");
    ui::CardEditWindow* designer = ui::TheCardEditor();
    if (!designer || !designer->isVisible()) {
        qWarning("the card designer is not shown");
        return nullptr;
    }
    dialogs.files = {setFile};
    ChooseMenuItem(*designer, "loaddeckmen");
    if (!PickEntry(Child<QComboBox>(*designer, "CardCombo"), card)) {
        qWarning("the card list offers no %s", qPrintable(card));
        return nullptr;
    }
    const QString shown = Child<QLineEdit>(*designer, "CardText_0")->text();
    if (shown != card) {
        qWarning("the designer shows \"%s\", not the card chosen", qPrintable(shown));
        return nullptr;
    }
    ClickButton(*designer, "Command5");  // "Save As Template"
    if (!PickEntry(Child<QComboBox>(*designer, "TemplateCombo"), card)) {
        qWarning("the template list offers no %s", qPrintable(card));
        return nullptr;
    }
    ClickButton(*designer, "Command2_2");  // "New Card from Template"
    return designer;
}

bool StartCardTest(ui::CardEditWindow& designer, const QImage& thumbnail) {
    ChooseMenuItem(designer, "testcardsmen");
    ui::DeckManager* manager = nullptr;
    for (ui::DeckManager* open : designer.findChildren<ui::DeckManager*>())
        if (open->isVisible()) manager = open;
    if (!manager) {
        qWarning("\"Test Cards\" shows no deck manager");
        return false;
    }
    // The designer's cards, the last one last: the pane scrolled to its end shows it.
    auto* scroll = Child<QScrollBar>(*manager, "VScroll1_1");
    scroll->setValue(scroll->maximum());
    ui::HandPictureWidget* card = PanePictureShowing(*manager, "CollectPic", thumbnail);
    if (!card) {
        qWarning("the deck manager's pane does not show the card's thumbnail");
        return false;
    }
    QTest::mouseClick(card, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    ClickButton(*manager, "Command2");  // DONE
    return true;
}

bool PickArtRegions(ui::PicPickDialog& picker, const QString& folder, const QString& file,
                    QRect cardRegion, QRect thumbRegion, double* zoom) {
    auto* folders = Child<QListWidget>(picker, "Dirbox");
    bool opened = false;
    for (int up = 0; up <= kMaxLevelsUp && !opened; ++up) {
        opened = DoubleClickEntry(folders, folder);
        if (!opened && !DoubleClickEntry(folders, "..")) break;
    }
    if (!opened) {
        qWarning("the picker offers no folder %s", qPrintable(folder));
        return false;
    }
    const QString first = Child<QLabel>(picker, "PicNameLabel_0")->toolTip();
    if (first != file) {
        qWarning("the picker's first picture is \"%s\", not %s", qPrintable(first),
                 qPrintable(file));
        return false;
    }
    QTest::mouseClick(Child<QToolButton>(picker, "Image1_0"), Qt::LeftButton);
    auto* preview = Child<QLabel>(picker, "Image2");
    if (!preview->isVisible()) {
        qWarning("the picker shows no enlarged picture");
        return false;
    }
    *zoom = picker.Zoom();
    for (const QPoint corner : {cardRegion.topLeft(), cardRegion.bottomRight(),
                                thumbRegion.topLeft(), thumbRegion.bottomRight()})
        QTest::mouseClick(preview, Qt::LeftButton, Qt::NoModifier, corner * *zoom);
    return !picker.isVisible();
}

ui::HandPictureWidget* PanePictureShowing(const ui::DeckManager& manager, const QString& pane,
                                          const QImage& thumbnail) {
    const QImage wanted = thumbnail.convertToFormat(QImage::Format_RGB32);
    for (int i = 0; i < kPaneSlots; ++i) {
        auto* picture = Child<ui::HandPictureWidget>(manager, QString("%1_%2").arg(pane).arg(i));
        if (picture->isVisible() &&
            picture->pixmap().toImage().convertToFormat(QImage::Format_RGB32) == wanted)
            return picture;
    }
    return nullptr;
}

}  // namespace dv::test
