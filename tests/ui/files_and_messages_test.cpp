// The main window's file commands and their messages: a build never replaces one of its own
// inputs, messages show paths with Polish letters as they are, a refused project says why, and
// the recent-files list keeps only paths that it can name again.
#include <QtTest>

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <cerrno>
#include <system_error>

#include "common/cp1250.h"
#include "common/files.h"
#include "levelfile/level_image.h"
#include "levelfile/level_writer.h"
#include "project/project_file.h"
#include "support/controls.h"
#include "support/dialog_driver.h"
#include "support/message_catcher.h"
#include "support/program_folder.h"
#include "ui/editor5.h"
#include "ui/texts.h"

using namespace cw;
using namespace cw::ui;
using cw::test::EditorFixture;
using cw::test::onNextDialog;

namespace {

namespace fs = std::filesystem;

QString text(const fs::path& path) { return QString::fromStdString(path.string()); }

// The window shown and active, so that its menu shortcuts reach it.
bool showActive(EditorFixture& f) {
    f.form->show();
    f.form->activateWindow();
    return QTest::qWaitForWindowActive(f.form.get());
}

// Presses a menu shortcut in the main window (active again after any dialog it showed).
void pressKey(EditorFixture& f, Qt::Key key) {
    QVERIFY(showActive(f));
    QTest::keyClick(f.form.get(), key);
}

// A project of one 5 x 6 room whose build settings name the base level, saved at path.
void writeProject(const fs::path& path, const fs::path& base) {
    auto project = std::make_unique<Project>();
    clearProject(*project);
    EditorRoom& room = project->rooms[0];
    project->roomCount = 1;
    room.name = utf8ToCp1250("Łazienka");
    room.floorLevel = 127;
    room.ceilingLevel = 139;
    room.roomLight = 16;
    initSectorGrid(room, 5, 6);
    project->baseLevelPath = utf8ToCp1250(base.string());
    saveProject(*project, path);
}

// A small Tomb Raider 1 base level.
void writeBaseLevel(const fs::path& path) {
    auto base = std::make_unique<LevelImage>();
    base->version = kVersionTR1;
    base->gameKind = kKindTR1;
    base->roomCount = 1;
    writeFileAtomically(path, serializeLevel(*base, kKindTR1));
}

// Opens a project with "&Otwórz" (F3), the open dialog answered with path.
void openWithF3(EditorFixture& f, const fs::path& path) {
    f.form->fileAnswers = {text(path)};
    pressKey(f, Qt::Key_F3);
}

struct BuildRun {
    QStringList messages;
    bool pressed = false;
};

// "&Buduj Level" (F10) with these fields, confirmed with a click on "Buduj Level".
BuildRun buildWithF10(EditorFixture& f, const BuildSettingsFields& fields) {
    BuildRun run;
    cw::test::MessageCatcher catcher;
    QObject watch;  // ends the watch for the dialog with this function, shown or not
    onNextDialog<TForm5>(
        [&run, fields](TForm5& dialog) {
            dialog.setFields(fields);
            run.pressed = cw::test::clickControl(dialog.findChild<QAbstractButton*>("Button5"));
            if (!run.pressed) dialog.reject();
        },
        &watch);
    pressKey(f, Qt::Key_F10);
    run.messages = catcher.texts;
    return run;
}

QStringList recentEntries(EditorFixture& f) {
    QStringList texts;
    const QList<QAction*> items = f.form->findChild<QMenu*>("Plik1")->actions();
    for (int i = 9; i < items.size(); ++i) texts << items[i]->text();
    return texts;
}

}  // namespace

class FilesAndMessagesTest : public QObject {
    Q_OBJECT
private slots:
    void buildRefusesAnOutputThatIsOneOfItsInputs() {
        EditorFixture f;
        QVERIFY(showActive(f));
        const fs::path base = f.folder.file("base.phd"), project = f.folder.file("dom.cwp");
        writeBaseLevel(base);
        writeProject(project, base);
        fs::create_directories(f.folder.file("sub"));
        fs::create_symlink(base, f.folder.file("link.phd"));
        openWithF3(f, project);
        QCOMPARE(f.form->projectPath(), text(project));
        const std::vector<std::uint8_t> baseBytes = readFile(base), projectBytes = readFile(project);

        const struct {
            fs::path output;
            const char* input;
            fs::path inputPath;
        } cases[] = {
            {f.folder.path() / "sub" / ".." / "dom.cwp", "project file", project},
            {f.folder.file("link.phd"), "base level", base},
            {f.folder.path() / "." / "base.phd", "base level", base},
        };
        for (const auto& c : cases) {
            const BuildRun run = buildWithF10(f, {"", "", text(base), "", "", text(c.output)});
            QVERIFY(run.pressed);
            QCOMPARE(run.messages, QStringList{"The level cannot be built:\nThe output file \"" + text(c.output) +
                                               "\" is the " + c.input + " \"" + text(c.inputPath) +
                                               "\"; the build would replace it. Choose another output file."});
        }
        QCOMPARE(readFile(base), baseBytes);
        QCOMPARE(readFile(project), projectBytes);
        QVERIFY(f.project->outputLevelPath.empty());  // a refused build changes nothing
        QVERIFY(!f.form->isModified());
    }

    void buildMessagesShowPathsAsTheyAre() {
        EditorFixture f;
        QVERIFY(showActive(f));
        const fs::path base = f.folder.file("base.phd"), project = f.folder.file("dom.cwp");
        writeBaseLevel(base);
        writeProject(project, base);
        openWithF3(f, project);

        // A folder in the way of the output: the write error names its cause and the file.
        const fs::path folder = f.folder.file("ścieżka.phd");
        fs::create_directories(folder / "inside");
        BuildRun run = buildWithF10(f, {"", "", text(base), "", "", text(folder)});
        QVERIFY(run.pressed);
        QCOMPARE(run.messages, QStringList{"The level cannot be built: Cannot write \"" + text(folder) + "\": " +
                                           QString::fromStdString(std::generic_category().message(EISDIR))});

        // A character that Windows-1250 lacks (the snowman) becomes "?" on the way to the project.
        const fs::path items = f.folder.file("łazienka ☃.itm");
        run = buildWithF10(f, {"", "", text(base), text(items), "", text(f.folder.file("out.phd"))});
        QVERIFY(run.pressed);
        QCOMPARE(run.messages, QStringList{"Items file " + text(f.folder.file("łazienka ?.itm")) + " not found"});
        QVERIFY(fileExists(f.folder.file("out.phd")));
    }

    void refusedProjectSaysWhyAndStaysClosed() {
        EditorFixture f;
        QVERIFY(showActive(f));
        const fs::path base = f.folder.file("base.phd"), kept = f.folder.file("dom.cwp");
        writeBaseLevel(base);
        writeProject(kept, base);
        openWithF3(f, kept);
        QCOMPARE(f.roomListNames(), QStringList{"Łazienka"});

        const fs::path damaged = f.folder.file("łazienka ☃.cwp");
        std::vector<std::uint8_t> bytes = readFile(kept);
        bytes[775] = 81;  // 81 rooms
        writeFileAtomically(damaged, bytes);
        const fs::path missing = f.folder.file("brak ☃.cwp");
        const struct {
            fs::path file;
            QString reason;
        } cases[] = {
            {damaged, "Project file \"" + text(damaged) +
                          "\" cannot be loaded: The project has 81 rooms; at most 80 are allowed."},
            {missing, "Cannot open \"" + text(missing) + "\": " +
                          QString::fromStdString(std::generic_category().message(ENOENT))},
        };
        for (const auto& c : cases) {
            cw::test::MessageCatcher catcher;
            openWithF3(f, c.file);
            QCOMPARE(catcher.texts, QStringList{"Error Opening the file!"});
            QCOMPARE(catcher.reasons, QStringList{c.reason});
            // The open project is untouched.
            QCOMPARE(f.project->roomCount, 1);
            QCOMPARE(f.roomListNames(), QStringList{"Łazienka"});
            QCOMPARE(f.form->projectPath(), text(kept));
            QCOMPARE(f.form->windowTitle(), "Vellorn's Cairnwork - " + text(kept));
        }
    }

    void windowsConvertTextsAsTheCoreDoes() {
        // Every Windows-1250 byte, the five it leaves undefined included, reads as the command
        // line reads it; and typed text is stored as the command line stores it.
        for (int b = 0; b < 256; ++b) {
            const std::string byte(1, static_cast<char>(b));
            QCOMPARE(fromCp1250(byte), QString::fromStdString(cp1250ToUtf8(byte)));
        }
        for (const char* typed : {"Żółć ĄĘ €", "ванна", "snow ☃", "😀 a", "\u0081"}) {
            QCOMPARE(toCp1250(QString::fromUtf8(typed)), utf8ToCp1250(typed));
        }
    }

    void recentListKeepsOnlyPathsItCanNameAgain() {
        EditorFixture f;
        QVERIFY(showActive(f));
        const fs::path base = f.folder.file("base.phd"), first = f.folder.file("dom.cwp");
        writeBaseLevel(base);
        writeProject(first, base);
        openWithF3(f, first);

        const fs::path polish = f.folder.file("łazienka.cwp");
        f.form->fileAnswers = {text(polish)};
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Zapiszjako1"));
        QCOMPARE(recentEntries(f), QStringList{"&1 " + text(polish)});
        const std::vector<std::uint8_t> config = readFile(f.folder.file("config.cnf"));
        const std::string line = utf8ToCp1250(polish.string()) + "\r\n";
        QCOMPARE(config, std::vector<std::uint8_t>(line.begin(), line.end()));

        // Saved, but not listed: Windows-1250 has no snowman, so the list could not name it.
        const fs::path snowman = f.folder.file("bałwan ☃.cwp");
        f.form->fileAnswers = {text(snowman)};
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Zapiszjako1"));
        QVERIFY(fileExists(snowman));
        QCOMPARE(f.form->projectPath(), text(snowman));
        QCOMPARE(f.form->windowTitle(), "Vellorn's Cairnwork - " + text(snowman));
        QCOMPARE(recentEntries(f), QStringList{"&1 " + text(polish)});
        QCOMPARE(readFile(f.folder.file("config.cnf")), config);

        // It opens again by its name; the listed entry opens its own file.
        openWithF3(f, snowman);
        QCOMPARE(f.form->projectPath(), text(snowman));
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "RecentFile1"));
        QCOMPARE(f.form->projectPath(), text(polish));
        QCOMPARE(f.roomListNames(), QStringList{"Łazienka"});
    }
};

QTEST_MAIN(FilesAndMessagesTest)
#include "files_and_messages_test.moc"
