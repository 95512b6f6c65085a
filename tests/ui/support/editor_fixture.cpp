#include "support/program_folder.h"

#include <QListWidget>

namespace cw::test {

EditorFixture::EditorFixture(const QStringList& arguments)
    : project(std::make_unique<Project>()), form(std::make_unique<ScriptedForm1>(*project, folder.options(arguments))) {}

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
