#include "ui/editor_app.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <stdexcept>

#include "ui/language.h"
#include "ui/messages.h"
#include "ui/paths.h"

namespace cw::ui {

CommandLine readCommandLine(const QStringList& commandLine) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Cairnwork, the level editor for Tomb Raider 1, 1 Gold, 2 and 3. Starts on an empty plan;\n"
        "the data files (paleta.bmp, shapes1.bmp, shapes2.bmp, floor.dat) are looked up beside the\n"
        "program and then in ../share/cairnwork/. Qt's own options (such as -platform or -style)\n"
        "are taken too. cairnwork-cli builds, checks and converts without a window."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and end."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and end."));
    const QCommandLineOption language(
        QStringLiteral("lang"),
        QStringLiteral("Language of the windows for this run: pl (Polish, the default) or en (English). "
                       "Without it, the language chosen in the editor (Informacje > Język / Language)."),
        QStringLiteral("LANGUAGE"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(language);
    const QCommandLineOption render(QStringLiteral("render"),
                                    QStringLiteral("Draw the room editor's 3D view of a room of the project "
                                                   "into a PNG picture and end, without a window (status 0 "
                                                   "when written, 1 with a message when refused)."),
                                    QStringLiteral("PROJECT.cwp"));
    const QCommandLineOption room(QStringLiteral("room"), QStringLiteral("With --render: the room, from 1."),
                                  QStringLiteral("N"));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("With --render: the picture to write."),
                                 QStringLiteral("FILE.png"));
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("With --render: the picture's size in pixels; 800x600 when not "
                                                 "given."),
                                  QStringLiteral("WxH"));
    const QCommandLineOption base(QStringLiteral("base"),
                                  QStringLiteral("With --render: the base level whose textures are drawn; the "
                                                 "project's base level when not given, flat colours without one."),
                                  QStringLiteral("LEVEL"));
    for (const QCommandLineOption& o : {render, room, out, size, base}) parser.addOption(o);
    parser.addPositionalArgument(QStringLiteral("LIGHT"),
                                 QStringLiteral("Light (0 to 32) of new rooms, in both light fields of the room "
                                                "properties; 16 when not given."),
                                 QStringLiteral("[LIGHT]"));

    // "-5" would read as an option; a whole negative number ends the options instead.
    QStringList words = commandLine;
    static const QRegularExpression negativeNumber(QStringLiteral("^-\\d+$"));
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (words[i] == QLatin1String("--")) break;
        if (negativeNumber.match(words[i]).hasMatch()) {
            words.insert(i, QStringLiteral("--"));
            break;
        }
    }

    const bool parsed = parser.parse(words);
    CommandLine result;
    if (parser.isSet(help)) {
        result.action = CommandLine::Action::ShowHelp;
        // The parser names the program from a running application; this is read before there is one.
        const QString text = parser.helpText();
        result.text = QStringLiteral("Usage: ") + QCoreApplication::applicationName() +
                      QStringLiteral(" [options] [LIGHT]\n       ") +
                      QCoreApplication::applicationName() +
                      QStringLiteral(" --render PROJECT.cwp --room N --out FILE.png [--size WxH] [--base LEVEL]") +
                      text.mid(text.indexOf(QLatin1Char('\n')));
    } else if (parser.isSet(version)) {
        result.action = CommandLine::Action::ShowVersion;
        result.text = QCoreApplication::applicationName() + QLatin1Char(' ') +
                      QCoreApplication::applicationVersion() + QLatin1Char('\n');
    } else if (!parsed) {
        result.action = CommandLine::Action::Refuse;
        result.text = QCoreApplication::applicationName() + QStringLiteral(": ") + parser.errorText() +
                      QStringLiteral("\nTry '") + QCoreApplication::applicationName() +
                      QStringLiteral(" --help'.\n");
    } else if (parser.isSet(language) && !isEditorLanguage(parser.value(language))) {
        result.action = CommandLine::Action::Refuse;
        result.text = QCoreApplication::applicationName() + QStringLiteral(": Unknown language '") +
                      parser.value(language) + QStringLiteral("'; the languages are ") + editorLanguageCodes() +
                      QStringLiteral(".\nTry '") + QCoreApplication::applicationName() + QStringLiteral(" --help'.\n");
    } else if (parser.isSet(render)) {
        result.action = CommandLine::Action::Render;
        result.render = {.project = parser.value(render),
                         .room = parser.value(room),
                         .out = parser.value(out),
                         .size = parser.value(size),
                         .base = parser.value(base)};
    } else if (parser.isSet(room) || parser.isSet(out) || parser.isSet(size) || parser.isSet(base)) {
        result.action = CommandLine::Action::Refuse;
        result.text = QCoreApplication::applicationName() +
                      QStringLiteral(": --room, --out, --size and --base go with --render\nTry '") +
                      QCoreApplication::applicationName() + QStringLiteral(" --help'.\n");
    } else {
        result.arguments = parser.positionalArguments();
        result.language = parser.value(language);
    }
    return result;
}

std::filesystem::path executableFolder() { return toPath(QCoreApplication::applicationDirPath()); }

bool isWritableFolder(const std::filesystem::path& folder) {
    QTemporaryFile probe(toQString(folder / "cw-write-test-XXXXXX"));
    return probe.open();
}

std::filesystem::path configFileLocation(const std::filesystem::path& programFolder) {
    if (isWritableFolder(programFolder)) return programFolder / "config.cnf";
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(userFolder);
    return toPath(userFolder) / "config.cnf";
}

StartupOptions startupOptions(const std::filesystem::path& programFolder, const QStringList& arguments,
                              const QString& language) {
    return {.programFolder = programFolder,
            .configFile = configFileLocation(programFolder),
            .arguments = arguments,
            .language = language};
}

std::unique_ptr<TForm1> createMainWindow(Project& project, const StartupOptions& options) {
    if (const auto error = applyLanguage(options.programFolder, options.language)) {
        qWarning("%s", qPrintable(*error));
        showMessage(nullptr, *error);
    }
    try {
        return std::make_unique<TForm1>(project, options);
    } catch (const std::exception& e) {
        showMessage(nullptr, QString::fromUtf8(e.what()));
        return nullptr;
    }
}

}  // namespace cw::ui
