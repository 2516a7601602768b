#pragma once
// The HTML viewer control: shows a page in an embedded browser and reports link clicks.

#include <QWidget>

class ulkBrowser : public QWidget {
    Q_OBJECT
  public:
    explicit ulkBrowser(QWidget* parent = nullptr);
};
