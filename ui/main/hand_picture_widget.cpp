#include "ui/main/hand_picture_widget.h"

#include <QMouseEvent>

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
    if (rect().contains(event->position().toPoint())) emit Released(event->button());
}

}  // namespace dv::ui
