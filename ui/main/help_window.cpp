#include "ui/main/help_window.h"

#include <QCloseEvent>
#include <QResizeEvent>

#include "ui/main/main_commands.h"
#include "viewer/ulk_browser.h"

namespace dv::ui {
namespace {

constexpr int kDesignWidth = 640;
constexpr int kDesignHeight = 480;

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("HelpForm");
    setWindowTitle("Help");
    viewer_ = new ulkBrowser(this);
    viewer_->setObjectName("Helpulk");
    resize(kDesignWidth, kDesignHeight);
}

void HelpWindow::ShowInFront() {
    show();
    raise();
    activateWindow();
}

void HelpWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (height() == 0) return;
    viewer_->setGeometry(0, 0, width(), height());
}

void HelpWindow::closeEvent(QCloseEvent* event) {
    HelpWindowClosed();
    QWidget::closeEvent(event);
}

}  // namespace dv::ui
