// cairnwork: the level editor. An optional operand presets the light of new rooms; --help and
// --version answer without opening a window (and without a display); --render draws a room's
// 3D view into a picture without a window.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "cairnwork_version.h"
#include "project/project.h"
#include "ui/editor_app.h"
#include "ui/language.h"

namespace {

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("cairnwork"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(cw::kVersion));
    using Action = cw::ui::CommandLine::Action;

    // Help and version first, from the raw command line: Qt's own options are still in it, and
    // are only refused if the window system below does not take them.
    QStringList rawLine;
    for (int i = 0; i < argc; ++i) rawLine << QString::fromLocal8Bit(argv[i]);
    const cw::ui::CommandLine early = cw::ui::readCommandLine(rawLine);
    if (early.action == Action::ShowHelp || early.action == Action::ShowVersion) {
        print(stdout, early.text);
        return 0;
    }
    // --render shows no window: unless a platform is chosen it runs on the offscreen one, which
    // draws with OpenGL on the X display when there is one (and refuses, saying so, without).
    if (early.action == Action::Render && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM") &&
        !rawLine.contains(QStringLiteral("-platform")))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("cairnwork"));
    const cw::ui::CommandLine commandLine = cw::ui::readCommandLine(QCoreApplication::arguments());
    if (commandLine.action == Action::Refuse) {
        print(stderr, commandLine.text);
        return 2;
    }
    if (commandLine.action == Action::Render) return cw::ui::runRenderCommand(commandLine.render);

    // Tests of an installed editor set CAIRNWORK_QUIT_AFTER_START: the program ends as soon as an
    // event loop runs, with status 0 when the main window was made and 1 when it was not (ending
    // every running loop also closes the message box that says why). A message box that the start
    // goes on after (a translation that cannot be read) uses that up: the main loop gets its own.
    const bool quitAfterStart = qEnvironmentVariableIsSet("CAIRNWORK_QUIT_AFTER_START");
    if (quitAfterStart) QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });

    auto project = std::make_unique<cw::Project>();
    // The language: --lang, else the one chosen in the editor, else Polish.
    const auto options = cw::ui::startupOptions(cw::ui::executableFolder(), commandLine.arguments,
                                                cw::ui::startLanguage(commandLine.language));
    std::unique_ptr<cw::ui::TForm1> window = cw::ui::createMainWindow(*project, options);
    if (!window) return 1;
    window->show();
    if (quitAfterStart) QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
    return QApplication::exec();
}
