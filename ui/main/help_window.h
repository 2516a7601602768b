#pragma once
// The help window: one viewer, modeless, brought to the front whenever a help page is shown.

#include <QWidget>

class ulkBrowser;

namespace dv::ui {

class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    ulkBrowser* Viewer() const { return viewer_; }
    void ShowInFront();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    ulkBrowser* viewer_;
};

}  // namespace dv::ui
