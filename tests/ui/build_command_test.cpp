#include <QtTest>

#include <QAction>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>

#include "common/files.h"
#include "levelfile/level_image.h"
#include "levelfile/level_writer.h"
#include "support/controls.h"
#include "support/dialog_driver.h"
#include "support/message_catcher.h"
#include "support/program_folder.h"
#include "ui/base_textures.h"
#include "ui/editor2.h"
#include "ui/editor5.h"

using namespace cw;
using namespace cw::ui;
using cw::test::EditorFixture;
using cw::test::onNextDialog;

namespace {

QString levelPath(const char* name) { return QString::fromUtf8(CW_TEST_LEVELS_DIR) + "/" + name; }

void addRoom(EditorFixture& f) {
    onNextDialog<TForm2>([](TForm2& dialog) { QVERIFY(cw::test::clickControl(dialog.findChild<QPushButton*>("BitBtn1"))); });
    QVERIFY(cw::test::clickControl(f.widget<QToolButton>("SpeedButton1")));
}

// Runs "&Buduj Level" with these settings, confirmed with "Buduj Level"; returns the messages.
QStringList build(EditorFixture& f, const BuildSettingsFields& fields) {
    cw::test::MessageCatcher catcher;
    onNextDialog<TForm5>([fields](TForm5& dialog) {
        dialog.setFields(fields);
        QVERIFY(cw::test::clickControl(dialog.findChild<QPushButton*>("Button5")));
    });
    if (!cw::test::chooseMenuItem(f.form.get(), "MakePHD1")) QTest::qFail("\"&Buduj Level\" not chosen", __FILE__, __LINE__);
    return catcher.texts;
}

QString pathIn(const EditorFixture& f, const char* name) { return QString::fromStdString(f.folder.file(name).string()); }

}  // namespace

class BuildCommandTest : public QObject {
    Q_OBJECT
private slots:
    void refusedBaseLevels_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("message");
        QTest::newRow("blank") << "   " << " Please type the Base Level name ";
        QTest::newRow("missing") << "/no/such/base.tr2" << "Base Level file /no/such/base.tr2 not found";
        QTest::newRow("missing, looked up with its blanks") << " /no/such/base.tr2 "
                                                            << "Base Level file  /no/such/base.tr2  not found";
    }
    void refusedBaseLevels() {
        QFETCH(QString, base);
        QFETCH(QString, message);
        EditorFixture f;
        addRoom(f);
        const QString output = pathIn(f, "out.tr2");
        const QStringList messages = build(f, {"Opis", "", base, "", "", output});
        QCOMPARE(messages, QStringList{message});
        QVERIFY(!QFileInfo::exists(output));
        // Nothing to tell of a refused build (the status bar may tell of the base level's textures).
        QVERIFY(!f.form->statusBar()->currentMessage().startsWith(QStringLiteral("The level was written")));
        QCOMPARE(f.widget<QProgressBar>("ProgressBar1")->value(), 0);
        QVERIFY(f.project->levelDescription.empty());  // a refused build changes nothing
    }

    void blankOutputKeepsTheDialogOpen() {
        EditorFixture f;
        addRoom(f);
        bool stayedOpen = false;
        onNextDialog<TForm5>([&stayedOpen](TForm5& dialog) {
            dialog.setFields({.description = "",
                              .comment = "",
                              .baseLevel = "/no/base.tr2",
                              .itemsFile = "",
                              .lightsFile = "",
                              .outputLevel = "  "});
            QVERIFY(cw::test::clickControl(dialog.findChild<QPushButton*>("Button5")));
            stayedOpen = dialog.isVisible();
            QVERIFY(cw::test::clickControl(dialog.findChild<QPushButton*>("Button6")));  // "Odwołaj"
        });
        cw::test::MessageCatcher catcher;
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "MakePHD1"));
        QVERIFY(stayedOpen);
        QVERIFY(catcher.texts.isEmpty());  // cancelled: no build
    }

    void buildsALevelOnARealBaseLevel() {
        const QString base = levelPath("TR2-TEST1.TR2");
        if (!QFileInfo::exists(base)) QSKIP("the real test levels are not available");
        EditorFixture f;
        addRoom(f);
        addRoom(f);
        const QString project = pathIn(f, "built.cwp");
        f.form->fileAnswers = {project};
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Zapiszjako1"));
        const QString output = pathIn(f, "out.tr2");
        // Texts go to the project in Windows-1250, one byte a character: 100 fill the description.
        const QString description = QStringLiteral("Łąka ") + QString(95, QLatin1Char('x'));
        const QStringList messages = build(f, {description, "Komentarz", base, "", "", output});
        QCOMPARE(messages, QStringList());
        QVERIFY(QFileInfo(output).size() > 0);
        QCOMPARE(f.widget<QProgressBar>("ProgressBar1")->value(), 0);
        QCOMPARE(f.project->levelDescription.str(), "\xA3\xB9ka " + std::string(95, 'x'));
        QCOMPARE(f.project->outputLevelPath.str(), output.toStdString());
        // The project had a file name: it was saved with the settings; the caption stays. The
        // status bar says both.
        const QString written =
            "The level was written to \"" + output + "\". The project was saved to \"" + project + "\".";
        QCOMPARE(f.form->statusBar()->currentMessage(), written);
        // The base level's textures, read after the build, leave that said.
        QTRY_VERIFY(!f.form->baseTextureSource().isLoading());
        QCOMPARE(f.form->baseTextureSource().textures().kind, kKindTR2);
        QCOMPARE(f.form->statusBar()->currentMessage(), written);
        QVERIFY(!f.form->isModified());
        QCOMPARE(f.form->windowTitle(), "Vellorn's Cairnwork - " + project);
        f.form->buildSettingsDialog().setFields({});
        f.form->fileAnswers = {project};
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Otworz1"));
        QCOMPARE(f.form->buildSettingsDialog().fields().description, description);
        QCOMPARE(f.form->buildSettingsDialog().fields().outputLevel, output);
    }

    void missingSideFilesAreReportedAndTheLevelStillWritten() {
        const QString base = levelPath("TR1-TEST1.PHD");
        if (!QFileInfo::exists(base)) QSKIP("the real test levels are not available");
        EditorFixture f;
        addRoom(f);
        const QString output = pathIn(f, "out.phd");
        const QStringList messages = build(f, {"", "", base, "/no/items.itm", "/no/lights.msh", output});
        QCOMPARE(messages,
                 QStringList({"Items file /no/items.itm not found", "Meshes file /no/lights.msh not found"}));
        QVERIFY(QFileInfo(output).size() > 0);
        QCOMPARE(f.form->statusBar()->currentMessage(), "The level was written to \"" + output + "\".");
        // Untitled: not saved, but the settings are kept in the project and are unsaved changes.
        QCOMPARE(f.project->itemsFilePath.str(), std::string("/no/items.itm"));
        QVERIFY(f.form->isModified());
        QVERIFY(f.form->projectPath().isEmpty());
    }

    // The refusal lists the room links the game cannot follow: here two rooms overlapping by one
    // sector, whose doorways lead into each other.
    void refusalListsLinksTheGameCannotFollow() {
        EditorFixture f;
        for (int southRow : {0, 4}) {
            EditorRoom& room = f.project->rooms[f.project->roomCount++];
            room.name = southRow == 0 ? "South" : "North";
            room.floorLevel = 127;
            room.ceilingLevel = 139;
            room.posY = 960 - 10 * (southRow + 5);  // world origin at column 0, row southRow
            initSectorGrid(room, 5, 5);
            const int z = southRow == 0 ? 5 : 1;
            gameSectorAt(room.grid, 3, z) = GameSector{.floorDataIndex = 0,
                                                       .boxIndex = 0xFFFF,
                                                       .roomBelow = kNoRoom,
                                                       .floor = 0,
                                                       .roomAbove = std::uint8_t(southRow == 0 ? 1 : 0),
                                                       .ceiling = -12};
            sectorAt(room, 3, z).linkMode = 2;
        }
        auto base = std::make_unique<LevelImage>();
        base->version = kVersionTR1;
        base->gameKind = kKindTR1;
        writeFileAtomically(f.folder.file("base.phd"), serializeLevel(*base, kKindTR1));
        const QString output = pathIn(f, "out.phd");

        cw::test::MessageCatcher catcher;
        bool pressed = false;
        onNextDialog<TForm5>([&](TForm5& dialog) {
            dialog.setFields({.description = "",
                              .comment = "",
                              .baseLevel = pathIn(f, "base.phd"),
                              .itemsFile = "",
                              .lightsFile = "",
                              .outputLevel = output});
            // "Buduj Level" pressed where it is seen: the widget under the point gets the click.
            auto* button = dialog.findChild<QPushButton*>("Button5");
            const QPoint centre = button->mapTo(&dialog, button->rect().center());
            QWidget* under = dialog.childAt(centre);
            pressed = under == button;
            if (under != nullptr) QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(&dialog, centre));
        });
        f.form->findChild<QAction*>("MakePHD1")->trigger();
        QVERIFY(pressed);
        QCOMPARE(catcher.texts.size(), 1);
        const QString& message = catcher.texts[0];
        QVERIFY2(message.startsWith("The level cannot be built:\n"), qPrintable(message));
        QVERIFY2(message.contains("Room 1 \"South\", sector (3, 5): its side link leads into Room 2 \"North\""),
                 qPrintable(message));
        QVERIFY2(message.contains("Room 2 \"North\", sector (3, 1): its side link leads into Room 1 \"South\""),
                 qPrintable(message));
        QVERIFY(!QFileInfo::exists(output));
        QVERIFY(f.project->levelDescription.empty());
    }

    void cancelledBuildDoesNothing() {
        EditorFixture f;
        addRoom(f);
        onNextDialog<TForm5>([](TForm5& dialog) {
            dialog.setFields({.description = "x",
                              .comment = "",
                              .baseLevel = "",
                              .itemsFile = "",
                              .lightsFile = "",
                              .outputLevel = "out.tr2"});
            QVERIFY(cw::test::clickControl(dialog.findChild<QPushButton*>("Button6")));
        });
        cw::test::MessageCatcher catcher;
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "MakePHD1"));
        QVERIFY(catcher.texts.isEmpty());
        QVERIFY(f.project->levelDescription.empty());
    }
};

QTEST_MAIN(BuildCommandTest)
#include "build_command_test.moc"
