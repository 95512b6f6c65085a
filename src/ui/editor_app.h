#pragma once
// The program's start-up: where its folder and its recent-files list are, and the creation of
// the main window (which creates the dialogs in their order).
#include <QStringList>
#include <filesystem>
#include <memory>

#include "project/project.h"
#include "ui/editor1.h"
#include "ui/room_render.h"

namespace cw::ui {

// What the editor's command line asks for. Help and version are answered (on standard output,
// status 0) before anything else; an unknown option is refused (on standard error, status 2).
struct CommandLine {
    enum class Action { Start, ShowHelp, ShowVersion, Refuse, Render };
    Action action = Action::Start;
    QString text;           // the help, the version line or the refusal, ending in a new line
    QStringList arguments;  // Start: the operands (the optional LIGHT), for StartupOptions
    QString language;       // Start: the code of --lang (an editor language); empty when not given
    RenderRequest render;   // Render: what to draw
};

// Reads the editor's command line, the program's name first:
//   cairnwork [-h | --help] [-v | --version] [--lang pl|en] [LIGHT]
//   cairnwork --render PROJECT.cwp --room N --out FILE.png [--size WxH] [--base LEVEL]
// A language that is not one of the editor's is refused.
// A negative whole number is an operand (a light), not an option.
CommandLine readCommandLine(const QStringList& commandLine);

// The folder of the running executable.
std::filesystem::path executableFolder();

// True when a file can be created in the folder.
bool isWritableFolder(const std::filesystem::path& folder);

// "config.cnf" in the program's folder when that folder is writable, otherwise in the user's
// configuration folder for the program (created when missing).
std::filesystem::path configFileLocation(const std::filesystem::path& programFolder);

// The start-up options of a program run from `programFolder` with these arguments (without the
// program name), in this language.
StartupOptions startupOptions(const std::filesystem::path& programFolder, const QStringList& arguments,
                              const QString& language);

// Creates the main window in the language of the options (its translation installed first; one
// that cannot be read is reported in a message box and the texts stay Polish). When the program
// palette cannot be read the failure is reported in a message box and the result is null: the
// program then ends with a non-zero status.
std::unique_ptr<TForm1> createMainWindow(Project& project, const StartupOptions& options);

}  // namespace cw::ui
