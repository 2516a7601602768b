#include "ui/main/hand_picture_widget.h"

#include <QMouseEvent>
#include <utility>

namespace dv::ui {

HandPictureWidget::HandPictureWidget(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
    setScaledContents(true);
}

void HandPictureWidget::mouseMoveEvent(QMouseEvent* event) {
    QLabel::mouseMoveEvent(event);
    emit Hovered();
}

void HandPictureWidget::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    emit Hovered();
}

void HandPictureWidget::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    // A click that moves a card re-sorts the pane: a second move would take the card that took
    // its place.
    if (std::exchange(endingDoubleClick_, false)) return;
    if (rect().contains(event->position().toPoint())) emit Released(event->button());
}

void HandPictureWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    QLabel::mouseDoubleClickEvent(event);
    endingDoubleClick_ = true;
}

}  // namespace dv::ui
