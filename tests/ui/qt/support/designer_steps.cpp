#include "tests/ui/qt/support/designer_steps.h"

#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

#include "tests/ui/qt/support/window_steps.h"
#include "ui/decks/deck_manager_logic.h"
#include "ui/decks/deck_manager_window.h"
#include "ui/designer/pic_pick_dialog.h"
#include "ui/main/hand_picture_widget.h"

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

ui::HandPictureWidget* CollectionPictureShowing(const ui::DeckManager& manager,
                                                const QImage& thumbnail) {
    const QImage wanted = thumbnail.convertToFormat(QImage::Format_RGB32);
    for (int i = 0; i < kPaneSlots; ++i) {
        auto* picture = Child<ui::HandPictureWidget>(manager, QString("CollectPic_%1").arg(i));
        if (picture->isVisible() &&
            picture->pixmap().toImage().convertToFormat(QImage::Format_RGB32) == wanted)
            return picture;
    }
    return nullptr;
}

}  // namespace dv::test
