#include "ui/messages.h"

#include <QMessageBox>

namespace cw::ui {

void showMessage(QWidget* parent, const QString& text, const QString& reason) {
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("cwMessageBox"));
    if (!reason.isEmpty()) box.setInformativeText(reason);
    box.exec();
}

}  // namespace cw::ui
