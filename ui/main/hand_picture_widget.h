#pragma once
// One picture of the hand strip and the deck manager's panes: reports the pointer moving over it
// and a click on it, a double-click being one click.

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
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    // The release that ends a double-click: its first release was the click.
    bool endingDoubleClick_ = false;
};

}  // namespace dv::ui
