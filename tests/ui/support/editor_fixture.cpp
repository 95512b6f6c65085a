#include "support/program_folder.h"

namespace cw::test {

EditorFixture::EditorFixture(const QStringList& arguments)
    : project(std::make_unique<Project>()), form(std::make_unique<ScriptedForm1>(*project, folder.options(arguments))) {}

EditorFixture::~EditorFixture() {
    form.reset();
    project.reset();
}

}  // namespace cw::test
