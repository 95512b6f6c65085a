#include <QtTest>

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <fstream>

#include "common/files.h"
#include "support/controls.h"
#include "support/dialog_driver.h"
#include "support/message_catcher.h"
#include "support/program_folder.h"
#include "ui/editor2.h"
#include "ui/editor5.h"
#include "ui/picture_control.h"

using namespace cw;
using namespace cw::ui;
using cw::test::EditorFixture;
using cw::test::onNextDialog;

namespace {

void addRoom(EditorFixture& f, const QString& name) {
    onNextDialog<TForm2>([name](TForm2& dialog) {
        dialog.findChild<QLineEdit*>("Edit1")->setText(name);
        QVERIFY(cw::test::clickControl(dialog.findChild<QPushButton*>("BitBtn1")));
    });
    QVERIFY(cw::test::clickControl(f.widget<QToolButton>("SpeedButton1")));
}

QString pathIn(const EditorFixture& f, const char* name) { return QString::fromStdString(f.folder.file(name).string()); }

// Chooses the menu item with the mouse.
void trigger(EditorFixture& f, const char* action) { QVERIFY2(cw::test::chooseMenuItem(f.form.get(), action), action); }

// The recent-file entries of the "&Plik" menu: the items after the eight fixed ones and the
// separator added at start-up.
QStringList recentEntries(EditorFixture& f) {
    QStringList texts;
    const QList<QAction*> items = f.form->findChild<QMenu*>("Plik1")->actions();
    for (int i = 9; i < items.size(); ++i) texts << items[i]->text();
    return texts;
}

QStringList configLines(const EditorFixture& f) {
    QFile file(QString::fromStdString(f.folder.file("config.cnf").string()));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList lines = QString::fromLatin1(file.readAll()).split("\r\n");
    if (!lines.isEmpty() && lines.constLast().isEmpty()) lines.removeLast();
    return lines;
}


}  // namespace

class ProjectFilesTest : public QObject {
    Q_OBJECT
private slots:
    void saveAsAndOpenRoundTrip() {
        EditorFixture f;
        addRoom(f, "Entrance");
        addRoom(f, "Żuraw");
        QVERIFY(cw::test::clickListRow(f.widget<QListWidget>("ListBox1"), 0));
        // The settings as a build stores them in the project.
        f.project->levelDescription = "Opis";
        f.project->comment = "Komentarz \xB3\xB9ka";  // Windows-1250
        f.project->baseLevelPath = "/levels/base.tr2";
        f.project->itemsFilePath = "/levels/items.itm";
        f.project->lightsFilePath = "/levels/lights.msh";
        f.project->outputLevelPath = "/out/level.tr2";
        const QString path = pathIn(f, "first.cwp");

        f.form->fileAnswers = {path};
        trigger(f, "Zapiszjako1");
        QCOMPARE(f.form->askedDialogs.constLast().title, QStringLiteral("Save CWP file"));
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(f.form->windowTitle(), "Vellorn's Cairnwork - " + path);
        QVERIFY(!f.form->isModified());
        QCOMPARE(recentEntries(f), QStringList{"&1 " + path});
        QCOMPARE(configLines(f), QStringList{path});

        // Empty the project, then open the file again.
        f.form->saveAnswers = {};
        trigger(f, "Nowy1");
        QCOMPARE(f.project->roomCount, 0);
        f.form->buildSettingsDialog().setFields({});
        f.form->fileAnswers = {path};
        trigger(f, "Otworz1");
        QCOMPARE(f.form->askedDialogs.constLast().title, QStringLiteral("Open CWP file"));
        QCOMPARE(f.project->roomCount, 2);
        QCOMPARE(f.project->currentRoom, 1);
        QCOMPARE(f.project->planX, 0);
        QCOMPARE(f.project->planY, 860);
        QCOMPARE(f.roomListNames(), QStringList({"Entrance", "Żuraw"}));
        QCOMPARE(f.widget<QListWidget>("ListBox1")->currentRow(), 0);
        QCOMPARE(f.form->windowTitle(), "Vellorn's Cairnwork - " + path);
        QCOMPARE(f.form->projectPath(), path);
        QCOMPARE(f.form->plan().workingImage.at(5, 865), std::uint8_t(139));
        QCOMPARE(f.form->plan().workingImage.at(15, 875), std::uint8_t(139));  // room 1 in front of room 2
        const BuildSettingsFields fields = f.form->buildSettingsDialog().fields();
        QCOMPARE(fields, (BuildSettingsFields{.description = "Opis",
                                              .comment = "Komentarz łąka",
                                              .baseLevel = "/levels/base.tr2",
                                              .itemsFile = "/levels/items.itm",
                                              .lightsFile = "/levels/lights.msh",
                                              .outputLevel = "/out/level.tr2"}));
        QVERIFY(!f.form->isModified());
    }

    void saveUsesTheFileNameOrAsksForOne() {
        EditorFixture f;
        addRoom(f, "A");
        f.form->fileAnswers = {QString()};  // cancelled: nothing saved
        trigger(f, "Zapisz1");
        QCOMPARE(f.form->askedDialogs.size(), 1);
        QVERIFY(f.form->isModified());
        QCOMPARE(f.form->windowTitle(), QStringLiteral("Vellorn's Cairnwork v.PL"));

        const QString path = pathIn(f, "saved.cwp");
        f.form->fileAnswers = {path};
        trigger(f, "Zapisz1");
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(f.form->windowTitle(), "Vellorn's Cairnwork - " + path);

        addRoom(f, "B");
        trigger(f, "Zapisz1");  // has a name now: no dialog
        QCOMPARE(f.form->askedDialogs.size(), 2);
        std::ifstream probe(path.toStdString(), std::ios::binary | std::ios::ate);
        QVERIFY(static_cast<long>(probe.tellg()) > 816);
        QCOMPARE(configLines(f), QStringList{path});
    }

    void recentFilesKeepTheFiveLatestSaves() {
        EditorFixture f;
        addRoom(f, "A");
        QStringList paths;
        for (int i = 1; i <= 6; ++i) {
            paths.prepend(pathIn(f, qPrintable(QString("p%1.cwp").arg(i))));
            f.form->fileAnswers = {paths.constFirst()};
            trigger(f, "Zapiszjako1");
        }
        const QStringList latest = paths.mid(0, 5);
        QCOMPARE(configLines(f), latest);
        QStringList expected;
        for (int i = 0; i < 5; ++i) expected << QString("&%1 %2").arg(i + 1).arg(latest[i]);
        QCOMPARE(recentEntries(f), expected);

        // Saving one of them again moves it to the front without adding an entry.
        f.form->fileAnswers = {latest[3]};
        trigger(f, "Zapiszjako1");
        QCOMPARE(configLines(f), QStringList({latest[3], latest[0], latest[1], latest[2], latest[4]}));
        QCOMPARE(recentEntries(f).size(), 5);
        QCOMPARE(recentEntries(f).constFirst(), "&1 " + latest[3]);
    }

    void recentEntriesOpenTheirProject() {
        EditorFixture f;
        addRoom(f, "Kept");
        const QString kept = pathIn(f, "kept.cwp");
        f.form->fileAnswers = {kept};
        trigger(f, "Zapiszjako1");
        const QString gone = pathIn(f, "gone.cwp");
        f.form->fileAnswers = {gone};
        trigger(f, "Zapiszjako1");
        QFile::remove(gone);
        trigger(f, "Nowy1");

        cw::test::MessageCatcher catcher;
        trigger(f, "RecentFile1");  // gone.cwp
        QCOMPARE(catcher.texts, QStringList{" File not Found! "});
        QCOMPARE(f.project->roomCount, 0);

        trigger(f, "RecentFile2");  // kept.cwp
        QCOMPARE(f.project->roomCount, 1);
        QCOMPARE(f.roomListNames(), QStringList{"Kept"});
        QCOMPARE(f.form->windowTitle(), "Vellorn's Cairnwork - " + kept);
        QCOMPARE(configLines(f), QStringList({gone, kept}));  // opening does not reorder
    }

    void recentFilesAreReadAtStartUp() {
        cw::test::ProgramFolder folder;
        {
            std::ofstream config(folder.file("config.cnf"), std::ios::binary);
            for (int i = 1; i <= 7; ++i) config << "/projects/p" << i << ".cwp\r\n";
        }
        auto project = std::make_unique<Project>();
        cw::test::ScriptedForm1 form(*project, folder.options());
        QStringList texts;
        const QList<QAction*> items = form.findChild<QMenu*>("Plik1")->actions();
        for (int i = 9; i < items.size(); ++i) texts << items[i]->text();
        QCOMPARE(texts, QStringList({"&1 /projects/p1.cwp", "&2 /projects/p2.cwp", "&3 /projects/p3.cwp",
                                     "&4 /projects/p4.cwp", "&5 /projects/p5.cwp"}));
    }

    void refusedFilesLeaveTheProjectAsItWas_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QByteArray badMagic(816, '\0');
        badMagic[0] = 16;
        badMagic.replace(1, 16, "Vellorn CWP file");  // differs in case
        badMagic[17] = 3;
        QTest::newRow("magic in another case") << badMagic << "Error Opening the file!";
        QByteArray wrongLength = badMagic;
        wrongLength.replace(1, 16, "Vellorn CWp file");
        wrongLength[0] = 15;
        QTest::newRow("length byte not 16") << wrongLength << "Error Opening the file!";
        QByteArray tooMany = wrongLength;
        tooMany[0] = 16;
        tooMany[775] = char(81);
        tooMany[774] = 1;
        QTest::newRow("81 rooms") << tooMany << "Error Opening the file!";
    }
    void refusedFilesLeaveTheProjectAsItWas() {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        EditorFixture f;
        addRoom(f, "Mine");
        const QString saved = pathIn(f, "mine.cwp");
        f.form->fileAnswers = {saved};
        trigger(f, "Zapiszjako1");
        const QString bad = pathIn(f, "bad.cwp");
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();

        cw::test::MessageCatcher catcher;
        f.form->fileAnswers = {bad};
        trigger(f, "Otworz1");
        QCOMPARE(catcher.texts, QStringList{message});
        QCOMPARE(f.project->roomCount, 1);
        QCOMPARE(f.roomListNames(), QStringList{"Mine"});
        QCOMPARE(f.form->projectPath(), saved);
        QCOMPARE(f.form->windowTitle(), "Vellorn's Cairnwork - " + saved);
    }

    void inputOutputFailuresAreShownNotThrown() {
        EditorFixture f;
        addRoom(f, "A");
        cw::test::MessageCatcher catcher;
        f.form->saveAnswers = {QMessageBox::No};
        f.form->fileAnswers = {pathIn(f, "missing.cwp")};
        trigger(f, "Otworz1");
        QCOMPARE(catcher.texts.size(), 1);
        QCOMPARE(f.project->roomCount, 1);

        // A folder that does not exist cannot take the file.
        const QString unwritable = pathIn(f, "no/such/folder/x.cwp");
        f.form->fileAnswers = {unwritable};
        trigger(f, "Zapiszjako1");
        QCOMPARE(catcher.texts.size(), 2);
        QVERIFY(f.form->projectPath().isEmpty());
        QVERIFY(f.form->isModified());
        QVERIFY(configLines(f).isEmpty());
        QCOMPARE(f.form->windowTitle(), QStringLiteral("Vellorn's Cairnwork v.PL"));
    }

    void openingAsksBeforeDiscardingChanges() {
        EditorFixture f;
        addRoom(f, "Saved");
        const QString path = pathIn(f, "saved.cwp");
        f.form->fileAnswers = {path};
        trigger(f, "Zapiszjako1");
        addRoom(f, "Unsaved");

        f.form->saveAnswers = {QMessageBox::Cancel};
        f.form->fileAnswers = {path};
        trigger(f, "Otworz1");
        QCOMPARE(f.project->roomCount, 2);
        QCOMPARE(f.form->fileAnswers.size(), 1);  // the open dialog was not shown

        f.form->saveAnswers = {QMessageBox::Cancel};
        trigger(f, "RecentFile1");
        QCOMPARE(f.project->roomCount, 2);

        f.form->saveAnswers = {QMessageBox::No};
        trigger(f, "RecentFile1");
        QCOMPARE(f.project->roomCount, 1);
        QCOMPARE(f.form->saveQuestions, 3);
    }

    void firstMoveAfterLoadingIsIgnored() {
        EditorFixture f;
        addRoom(f, "A");
        const QString path = pathIn(f, "a.cwp");
        f.form->fileAnswers = {path, path};
        trigger(f, "Zapiszjako1");
        trigger(f, "Otworz1");
        auto* image = f.widget<PictureControl>("Image1");
        auto move = [&](QPoint point) {
            QMouseEvent event(QEvent::MouseMove, point, image->mapToGlobal(point), Qt::NoButton, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(image, &event);
        };
        move(QPoint(300, 300));
        QCOMPARE(f.project->planX, 0);
        QCOMPARE(f.project->room(1).posY, 860);
        move(QPoint(300, 300));
        QCOMPARE(f.project->planX, 300);
        QCOMPARE(f.project->room(1).posY, 300);
    }
};

QTEST_MAIN(ProjectFilesTest)
#include "project_files_test.moc"
