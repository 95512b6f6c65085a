#include <QtTest>

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QToolButton>

#include "support/controls.h"
#include "support/dialog_driver.h"
#include "support/message_catcher.h"
#include "support/program_folder.h"
#include "ui/editor2.h"
#include "ui/editor_app.h"

using namespace cw;
using namespace cw::ui;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void missingOrUnreadablePaletteEndsTheProgram_data() {
        QTest::addColumn<QByteArray>("palette");  // empty: no file
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not a picture") << QByteArray("this is not a BMP file");
    }
    void missingOrUnreadablePaletteEndsTheProgram() {
        QFETCH(QByteArray, palette);
        cw::test::ProgramFolder folder(false);
        if (!palette.isEmpty()) {
            QFile file(QString::fromStdString(folder.file("paleta.bmp").string()));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(palette);
        }
        auto project = std::make_unique<Project>();
        cw::test::MessageCatcher catcher;
        std::unique_ptr<TForm1> form = createMainWindow(*project, folder.options());
        QVERIFY(form == nullptr);
        QCOMPARE(catcher.texts.size(), 1);
        QVERIFY2(catcher.texts.constFirst().contains("paleta.bmp"), qPrintable(catcher.texts.constFirst()));
    }

    void startsWithThePaletteOfItsFolder() {
        cw::test::ProgramFolder folder;
        auto project = std::make_unique<Project>();
        std::unique_ptr<TForm1> form = createMainWindow(*project, folder.options());
        QVERIFY(form != nullptr);
        QCOMPARE(form->programPalette(), cw::test::testPalette());
        QCOMPARE(form->programFolder(), folder.path());
    }

    void lightPresetArgument_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("light");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("none") << QStringList() << 16 << QStringList();
        QTest::newRow("24") << QStringList{"24"} << 24 << QStringList();
        QTest::newRow("not an integer") << QStringList{"bright"} << 16
                                        << QStringList{"'bright' is not a valid integer value"};
    }
    void lightPresetArgument() {
        QFETCH(QStringList, arguments);
        QFETCH(int, light);
        QFETCH(QStringList, messages);
        cw::test::MessageCatcher catcher;
        cw::test::EditorFixture f(arguments);
        QCOMPARE(catcher.texts, messages);
        auto& dialog = f.form->roomPropertiesDialog();
        QCOMPARE(dialog.findChild<QSpinBox*>("SpinEdit5")->value(), light);
        QCOMPARE(dialog.findChild<QSpinBox*>("SpinEdit6")->value(), light);

        // A new room gets the preset light, and so does every face of its sectors.
        cw::test::onNextDialog<TForm2>([](TForm2& d) { QVERIFY(cw::test::clickControl(d.findChild<QPushButton*>("BitBtn1"))); });
        QVERIFY(cw::test::clickControl(f.widget<QToolButton>("SpeedButton1")));
        const EditorRoom& room = f.project->room(1);
        QCOMPARE(int(room.roomLight), light);
        QCOMPARE(room.itemLight, light);
        QCOMPARE(int(room.sectors[0].floorLight(Face::Surface)), light);
        QCOMPARE(int(room.sectors[99].ceilingLight(Face::Front)), light);
    }

    void configFileLivesInAWritableProgramFolder() {
        cw::test::ProgramFolder folder;
        QVERIFY(isWritableFolder(folder.path()));
        QCOMPARE(configFileLocation(folder.path()), folder.path() / "config.cnf");
    }

    // A program folder where no file can be created (here: one that does not exist; a
    // read-only folder is the usual case, but the superuser may write anywhere).
    void configFileMovesToTheUserFolderWhenTheProgramFolderIsNotWritable() {
        cw::test::ProgramFolder folder;
        const std::filesystem::path readOnly = folder.path() / "missing";
        QVERIFY(!isWritableFolder(readOnly));
        const QString user = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        QCOMPARE(QString::fromStdString(configFileLocation(readOnly).string()), user + "/config.cnf");
        QVERIFY(QFileInfo(user).isDir());
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
