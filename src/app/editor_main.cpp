// cairnwork: the level editor. An optional first argument presets the light of new rooms.
#include <QApplication>
#include <memory>

#include "project/project.h"
#include "ui/editor_app.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("cairnwork"));
    QGuiApplication::setDesktopFileName(QStringLiteral("cairnwork"));

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();  // the program name

    auto project = std::make_unique<cw::Project>();
    const auto options = cw::ui::startupOptions(cw::ui::executableFolder(), arguments);
    std::unique_ptr<cw::ui::TForm1> window = cw::ui::createMainWindow(*project, options);
    if (!window) return 1;
    window->show();
    return QApplication::exec();
}
