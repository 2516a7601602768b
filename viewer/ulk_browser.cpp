#include "viewer/ulk_browser.h"

ulkBrowser::ulkBrowser(QWidget* parent) : QWidget(parent) {}
