#pragma once
// The plain message box with one OK button, used for every message the editor shows.
#include <QString>

class QWidget;

namespace cw::ui {

void showMessage(QWidget* parent, const QString& text);

}  // namespace cw::ui
