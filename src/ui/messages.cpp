#include "ui/messages.h"

#include <QMessageBox>

namespace cw::ui {

void showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("cwMessageBox"));
    box.exec();
}

}  // namespace cw::ui
