// Every control of every window takes clicks over its whole face: for each visible, enabled
// control a user can press, type into or drag, the window shows that control (or one of its own
// parts) at its centre and 2 pixels inside each corner of the part of it that is shown.
#include <QtTest>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include "support/controls.h"
#include "support/dialog_driver.h"
#include "support/program_folder.h"
#include "ui/editor2.h"
#include "ui/editor3.h"
#include "ui/editor4.h"
#include "ui/editor5.h"
#include "ui/picture_control.h"

using namespace cw;
using namespace cw::ui;
using cw::test::EditorFixture;

namespace {

bool interactive(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
           qobject_cast<const QAbstractSlider*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QTabBar*>(w) || qobject_cast<const QMenuBar*>(w) ||
           qobject_cast<const PictureControl*>(w);
}

// A part of a larger control (the text field of a spin box, the scroll bar of a list) is checked
// with the control it belongs to.
bool partOfAControl(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p != nullptr && !p->isWindow(); p = p->parentWidget())
        if (interactive(p)) return true;
    return false;
}

// The controls of `window` that a click cannot reach over their whole face, one line each; a
// window with no control to check is a problem too (the check would prove nothing).
QStringList coveredControls(QWidget& window) {
    QStringList problems;
    int checked = 0;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->window() != &window || !interactive(w) || partOfAControl(w)) continue;
        if (!w->isVisible() || !w->isEnabled()) continue;
        const QRect shown = cw::test::shownRect(w);
        if (shown.width() < 5 || shown.height() < 5) continue;  // scrolled out of sight
        ++checked;
        for (const QPoint p : cw::test::aimPoints(shown)) {
            const QString missed = cw::test::whyMissed(w, p);
            if (!missed.isEmpty()) problems << window.objectName() + QStringLiteral(": ") + missed;
        }
    }
    if (checked == 0) problems << window.objectName() + QStringLiteral(": no control shown");
    return problems;
}

void addRoom(EditorFixture& f) {
    cw::test::onNextDialog<TForm2>([](TForm2& dialog) { QVERIFY(cw::test::clickControl(dialog.findChild<QPushButton*>("BitBtn1"))); });
    QVERIFY(cw::test::clickControl(f.widget<QToolButton>("SpeedButton1")));
}

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT
private slots:
    void everyControlTakesClicksOverItsWholeFace() {
        EditorFixture f;
        addRoom(f);
        addRoom(f);  // two rooms: every room command is enabled
        QStringList problems = coveredControls(*f.form);

        // The room editor, page by page.
        auto* editor = f.form->findChild<TForm3*>();
        QVERIFY(editor != nullptr);
        editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor));
        auto* pages = editor->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            QApplication::processEvents();
            problems << coveredControls(*editor);
        }
        editor->hide();

        // The dialogs.
        QList<QDialog*> dialogs = {&f.form->roomPropertiesDialog(), f.form->findChild<TForm4*>(),
                                   &f.form->buildSettingsDialog()};
        for (QDialog* dialog : dialogs) {
            QVERIFY(dialog != nullptr);
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            problems << coveredControls(*dialog);
            dialog->hide();
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(ControlsTest)
#include "controls_test.moc"
