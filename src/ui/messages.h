#pragma once
// The plain message box with one OK button, used for every message the editor shows. Texts
// from the core are UTF-8 (QString::fromStdString).
#include <QString>

class QWidget;

namespace cw::ui {

// `reason`, when given, is shown under the text (the box's informative text), e.g. why a file
// was refused.
void showMessage(QWidget* parent, const QString& text, const QString& reason = QString());

}  // namespace cw::ui
