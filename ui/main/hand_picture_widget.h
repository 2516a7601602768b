#pragma once
// One picture of the hand strip: reports the pointer moving over it and a button released on it.

#include <QLabel>

namespace dv::ui {

class HandPictureWidget : public QLabel {
    Q_OBJECT

  public:
    explicit HandPictureWidget(QWidget* parent);

  signals:
    void Hovered();
    void Released(Qt::MouseButton button);

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace dv::ui
