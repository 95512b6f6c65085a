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
#include "support/dialog_driver.h"
#include "support/message_catcher.h"
#include "support/program_folder.h"
#include "ui/editor5.h"

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
            {damaged, "Project file \"" + text(damaged) + "\" has 81 rooms; at most 80 are supported"},
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

    void recentListKeepsOnlyPathsItCanNameAgain() {
        EditorFixture f;
        QVERIFY(showActive(f));
        const fs::path base = f.folder.file("base.phd"), first = f.folder.file("dom.cwp");
        writeBaseLevel(base);
        writeProject(first, base);
        openWithF3(f, first);

        const fs::path polish = f.folder.file("łazienka.cwp");
        f.form->fileAnswers = {text(polish)};
        f.form->findChild<QAction*>("Zapiszjako1")->trigger();
        QCOMPARE(recentEntries(f), QStringList{"&1 " + text(polish)});
        const std::vector<std::uint8_t> config = readFile(f.folder.file("config.cnf"));
        const std::string line = utf8ToCp1250(polish.string()) + "\r\n";
        QCOMPARE(config, std::vector<std::uint8_t>(line.begin(), line.end()));

        // Saved, but not listed: Windows-1250 has no snowman, so the list could not name it.
        const fs::path snowman = f.folder.file("bałwan ☃.cwp");
        f.form->fileAnswers = {text(snowman)};
        f.form->findChild<QAction*>("Zapiszjako1")->trigger();
        QVERIFY(fileExists(snowman));
        QCOMPARE(f.form->projectPath(), text(snowman));
        QCOMPARE(f.form->windowTitle(), "Vellorn's Cairnwork - " + text(snowman));
        QCOMPARE(recentEntries(f), QStringList{"&1 " + text(polish)});
        QCOMPARE(readFile(f.folder.file("config.cnf")), config);

        // It opens again by its name; the listed entry opens its own file.
        openWithF3(f, snowman);
        QCOMPARE(f.form->projectPath(), text(snowman));
        f.form->findChild<QAction*>("RecentFile1")->trigger();
        QCOMPARE(f.form->projectPath(), text(polish));
        QCOMPARE(f.roomListNames(), QStringList{"Łazienka"});
    }
};

QTEST_MAIN(FilesAndMessagesTest)
#include "files_and_messages_test.moc"
