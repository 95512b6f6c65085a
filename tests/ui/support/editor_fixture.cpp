#include "support/program_folder.h"

#include <QListWidget>
#include <QTest>

namespace cw::test {

EditorFixture::EditorFixture(const QStringList& arguments, const QString& language)
    : project(std::make_unique<Project>()),
      form(std::make_unique<ScriptedForm1>(*project, folder.options(arguments, language))) {
    // Shown, as the program shows it: controls are pressed where the window shows them.
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get())) qWarning("the main window was not shown");
}

EditorFixture::~EditorFixture() {
    form.reset();
    project.reset();
}

QStringList EditorFixture::roomListNames() const {
    QStringList names;
    auto* list = widget<QListWidget>("ListBox1");
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    return names;
}

}  // namespace cw::test
