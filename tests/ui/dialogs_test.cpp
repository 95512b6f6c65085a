#include <QtTest>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <memory>

#include "common/cp1250.h"
#include "support/controls.h"
#include "support/message_catcher.h"
#include "ui/editor2.h"
#include "ui/editor4.h"
#include "ui/editor5.h"
#include "ui/file_dialogs.h"

using namespace cw;
using namespace cw::ui;

namespace {

template <class T>
T* child(QWidget& parent, const QString& name) {
    T* w = parent.findChild<T*>(name);
    if (w == nullptr) qFatal("no widget %s", qPrintable(name));
    return w;
}

QStringList labelTexts(QWidget& parent) {
    QStringList texts;
    for (QLabel* label : parent.findChildren<QLabel*>()) texts << label->text();
    return texts;
}

// Answers the "Szukaj" buttons' file dialogs.
class ScriptedFiles : public FileAsker {
public:
    QString answer;
    QList<FileDialogSettings> asked;
    QString askFileName(const FileDialogSettings& fileDialog) override {
        asked << fileDialog;
        return answer;
    }
};

// Closes the dialog with the button once it is shown, or reports that it stayed open.
void clickWhenShown(QDialog& dialog, const QString& button, bool& stayedOpen) {
    QTimer::singleShot(0, &dialog, [&dialog, button, &stayedOpen] {
        const bool pressed = cw::test::clickControl(child<QPushButton>(dialog, button));
        stayedOpen = dialog.isVisible();
        if (stayedOpen) dialog.reject();
        QVERIFY(pressed);
    });
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    // --- Room properties -------------------------------------------------------------------

    void roomPropertiesFields_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("hint");
        QTest::newRow("Długość") << "SpinEdit1" << 3 << 32 << 10 << "Długoćś pomieszczenia Z";
        QTest::newRow("Szeokość") << "SpinEdit2" << 3 << 32 << 10 << "Długość pomieszczenia X";
        QTest::newRow("floor height") << "SpinEdit3" << 1 << 220 << 127 << "";
        QTest::newRow("ceiling height") << "SpinEdit4" << 1 << 220 << 139 << "";
        QTest::newRow("Oświetlenie Lary") << "SpinEdit5" << 0 << 32 << 16 << "Oświetlenie przedmiotów w pomieszczeniu";
        QTest::newRow("Oświetlenie pomieszczenia") << "SpinEdit6" << 0 << 32 << 16 << "Oświetlenie podłogi/ścian";
        for (int i = 7; i <= 16; ++i) {
            const QByteArray name = "SpinEdit" + QByteArray::number(i);
            QTest::newRow(name.constData()) << QString::fromLatin1(name) << 0 << 2500 << 1 << "Domyślny numer textury";
        }
    }
    void roomPropertiesFields() {
        QFETCH(QString, name);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, value);
        QFETCH(QString, hint);
        TForm2 form;
        auto* spin = child<QSpinBox>(form, name);
        QCOMPARE(spin->minimum(), minimum);
        QCOMPARE(spin->maximum(), maximum);
        QCOMPARE(spin->value(), value);
        QCOMPARE(spin->toolTip(), hint);
    }

    void roomPropertiesTexts() {
        TForm2 form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Właściwości pomieszczenia"));
        const QStringList labels = labelTexts(form);
        for (const char* text : {"Długość", "Szeokość", "Nazwa pomieszczenia", "Domyślna wysokość podłogi",
                                 "Domyślna wysokość sufitu", "Oświetlenie Lary", "Oświetlenie pomieszczenia", "Podłoga",
                                 "Sufit", "Textura przodu", "Textura tyłu", "Textura lewa", "Textura prawa",
                                 "Texura góry/dołu"})
            QVERIFY2(labels.contains(QString::fromUtf8(text)), text);
        QCOMPARE(child<QLineEdit>(form, "Edit1")->toolTip(), QStringLiteral("Opis pomieszczenia"));
        QCOMPARE(child<QLineEdit>(form, "Edit1")->text(), QString());
        const QList<std::pair<const char*, QString>> checks = {
            {"CheckBox1", "Woda|Tworzy pomieszczenie zalane wodą"},
            {"CheckBox2", "Wiatr/Deszcz |Tworzy powiewy wiatru TR2 i padający deszczTR3"},
            {"CheckBox3", "Bagno|Tworzy pomieszczenie zalane bagnem"},
            {"CheckBox4", "Niebo|Tworzy horyzont"}};
        for (const auto& [name, texts] : checks) {
            auto* box = child<QCheckBox>(form, name);
            QCOMPARE(box->text() + "|" + box->toolTip(), texts);
            QVERIFY(!box->isChecked());
        }
        auto* ok = child<QPushButton>(form, "BitBtn1");
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());
        QCOMPARE(child<QPushButton>(form, "BitBtn2")->text(), QStringLiteral("ODWOŁAJ"));
    }

    void heightsMoveByFourWithinTheirRangeAndCannotBeTyped() {
        TForm2 form;
        auto* floor = child<QSpinBox>(form, "SpinEdit3");
        QVERIFY(floor->findChild<QLineEdit*>()->isReadOnly());
        floor->stepUp();
        QCOMPARE(floor->value(), 131);
        floor->stepUp();
        QCOMPARE(floor->value(), 135);
        floor->setValue(219);
        floor->stepUp();
        QCOMPARE(floor->value(), 220);
        auto* ceiling = child<QSpinBox>(form, "SpinEdit4");
        QVERIFY(ceiling->findChild<QLineEdit*>()->isReadOnly());
        ceiling->setValue(3);
        ceiling->stepDown();
        QCOMPARE(ceiling->value(), 1);
    }

    void valuesRoundTripThroughTheFields() {
        TForm2 form;
        RoomProperties v;
        v.rows = 12;
        v.columns = 7;
        v.name = "\xA3\xB9ka";  // "Łąka" in Windows-1250
        v.water = true;
        v.sky = true;
        v.floorLevel = 131;
        v.ceilingLevel = 151;
        v.itemLight = 20;
        v.roomLight = 5;
        v.floorTextures = {0, 2, 3, 4, 5};
        v.ceilingTextures = {6, 7, 8, 9, 2500};
        form.setValues(v);
        QCOMPARE(child<QLineEdit>(form, "Edit1")->text(), QStringLiteral("Łąka"));
        QCOMPARE(child<QSpinBox>(form, "SpinEdit11")->value(), 5);   // floor surface
        QCOMPARE(child<QSpinBox>(form, "SpinEdit12")->value(), 6);   // ceiling front
        const RoomProperties back = form.values();
        QCOMPARE(back.name, v.name);
        QCOMPARE(back.rows, 12);
        QCOMPARE(back.columns, 7);
        QVERIFY(back.water && back.sky && !back.swamp && !back.windRain);
        QCOMPARE(back.floorLevel, 131);
        QCOMPARE(back.ceilingLevel, 151);
        QCOMPARE(back.itemLight, 20);
        QCOMPARE(back.roomLight, 5);
        QVERIFY(back.floorTextures == v.floorTextures);
        QVERIFY(back.ceilingTextures == v.ceilingTextures);
    }

    void lightPreset_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("light");
        QTest::addColumn<QString>("error");
        QTest::newRow("no argument") << QStringList() << 16 << QString();
        QTest::newRow("24") << QStringList{"24"} << 24 << QString();
        QTest::newRow("first argument only") << QStringList{"8", "30"} << 8 << QString();
        QTest::newRow("not an integer") << QStringList{"abc"} << 16 << "'abc' is not a valid integer value";
        QTest::newRow("decimal fraction") << QStringList{"2.5"} << 16 << "'2.5' is not a valid integer value";
        QTest::newRow("beyond the range") << QStringList{"99"} << 32 << QString();
    }
    void lightPreset() {
        QFETCH(QStringList, arguments);
        QFETCH(int, light);
        QFETCH(QString, error);
        TForm2 form;
        const std::optional<QString> result = form.applyLightPreset(arguments);
        QCOMPARE(result.value_or(QString()), error);
        QCOMPARE(child<QSpinBox>(form, "SpinEdit5")->value(), light);
        QCOMPARE(child<QSpinBox>(form, "SpinEdit6")->value(), light);
    }

    // --- Build settings --------------------------------------------------------------------

    void buildSettingsTextsAndTabOrder() {
        ScriptedFiles files;
        TForm5 form(files);
        QCOMPARE(form.windowTitle(), QStringLiteral("Plik Budowy Levelu"));
        QCOMPARE(child<QGroupBox>(form, "GroupBox1")->title(), QStringLiteral("Pliki Pomocnicze"));
        QCOMPARE(labelTexts(form), QStringList({"Opis levelu", "Komentarz", "Level bazowy", "Ust. przedmiotów",
                                                "Ust. świateł/textur", "Nazwa pliku"}));
        for (const char* name : {"Button1", "Button2", "Button3", "Button4"})
            QCOMPARE(child<QPushButton>(form, name)->text(), QStringLiteral("Szukaj"));
        QCOMPARE(child<QPushButton>(form, "Button5")->text(), QStringLiteral("Buduj Level"));
        QCOMPARE(child<QPushButton>(form, "Button6")->text(), QStringLiteral("Odwołaj"));

        QStringList order;
        QWidget* w = child<QLineEdit>(form, "Edit1");
        for (int i = 0; i < 12; ++i, w = w->nextInFocusChain()) {
            while (!(w->focusPolicy() & Qt::TabFocus)) w = w->nextInFocusChain();
            order << w->objectName();
        }
        QCOMPARE(order, QStringList({"Edit1", "Edit2", "Edit3", "Button1", "Edit4", "Button2", "Edit5", "Button3",
                                     "Edit6", "Button4", "Button5", "Button6"}));
    }

    void buildLevelClosesOnlyWithAnOutputName_data() {
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("closes");
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blanks only") << "   " << false;
        QTest::newRow("a name") << "out.tr2" << true;
        QTest::newRow("a name in blanks") << "  out.tr2 " << true;
    }
    void buildLevelClosesOnlyWithAnOutputName() {
        QFETCH(QString, output);
        QFETCH(bool, closes);
        ScriptedFiles files;
        TForm5 form(files);
        child<QLineEdit>(form, "Edit6")->setText(output);
        bool stayedOpen = false;
        clickWhenShown(form, "Button5", stayedOpen);
        const int result = form.exec();
        QCOMPARE(stayedOpen, !closes);
        QCOMPARE(result == QDialog::Accepted, closes);
        QCOMPARE(child<QLineEdit>(form, "Edit6")->text(), output);  // as typed
    }

    void cancelClosesAsCancelled() {
        ScriptedFiles files;
        TForm5 form(files);
        child<QLineEdit>(form, "Edit6")->setText("out.phd");
        bool stayedOpen = false;
        clickWhenShown(form, "Button6", stayedOpen);
        QCOMPARE(form.exec(), int(QDialog::Rejected));
        QVERIFY(!stayedOpen);
    }

    void browseButtonsFillTheirFieldUnlessCancelled_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("title");
        QTest::newRow("base level") << "Button1" << "Edit3" << "Open TR base file";
        QTest::newRow("items") << "Button2" << "Edit4" << "Open ITM file";
        QTest::newRow("lights") << "Button3" << "Edit5" << "Open MSH file";
        QTest::newRow("output") << "Button4" << "Edit6" << "";
    }
    void browseButtonsFillTheirFieldUnlessCancelled() {
        QFETCH(QString, button);
        QFETCH(QString, field);
        QFETCH(QString, title);
        ScriptedFiles files;
        TForm5 form(files);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* edit = child<QLineEdit>(form, field);
        edit->setText("before");
        files.answer = QString();  // cancelled
        QVERIFY(cw::test::clickControl(child<QPushButton>(form, button)));
        QCOMPARE(edit->text(), QStringLiteral("before"));
        files.answer = "/levels/chosen.tr2";
        QVERIFY(cw::test::clickControl(child<QPushButton>(form, button)));
        QCOMPARE(edit->text(), QStringLiteral("/levels/chosen.tr2"));
        QCOMPARE(files.asked.size(), 2);
        QCOMPARE(files.asked.constFirst().title, title);
        const BuildSettingsFields f = form.fields();
        const QStringList all = {f.description, f.comment, f.baseLevel, f.itemsFile, f.lightsFile, f.outputLevel};
        QCOMPARE(all.count("/levels/chosen.tr2"), 1);
    }

    // "Szukaj" of the output file offers the base level's extension for names typed without one.
    void outputBrowsePrefersTheBaseLevelsExtension() {
        ScriptedFiles files;
        TForm5 form(files);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        child<QLineEdit>(form, "Edit3")->setText(" /levels/base.TR2 ");
        QVERIFY(cw::test::clickControl(child<QPushButton>(form, "Button4")));
        QCOMPARE(files.asked.size(), 1);
        QVERIFY(files.asked.constFirst().suffixFromFilter);
        QCOMPARE(files.asked.constFirst().defaultSuffix, QStringLiteral("tr2"));
    }

    // --- Texts the project stores ----------------------------------------------------------

    // Each text field holds no more than the project keeps of it, counted in Windows-1250 bytes:
    // typing past it does nothing and a paste that would not fit is refused, so nothing is cut
    // when the text is stored.
    void textFieldsHoldWhatTheProjectKeeps_data() {
        QTest::addColumn<bool>("roomDialog");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("capacity");
        QTest::newRow("room name") << true << "Edit1" << 20;
        QTest::newRow("level description") << false << "Edit1" << 100;
        QTest::newRow("comment") << false << "Edit2" << 250;
        QTest::newRow("base level") << false << "Edit3" << 100;
        QTest::newRow("items file") << false << "Edit4" << 100;
        QTest::newRow("light/texture file") << false << "Edit5" << 100;
        QTest::newRow("output file") << false << "Edit6" << 100;
    }
    void textFieldsHoldWhatTheProjectKeeps() {
        QFETCH(bool, roomDialog);
        QFETCH(QString, field);
        QFETCH(int, capacity);
        ScriptedFiles files;
        std::unique_ptr<QDialog> dialog;
        if (roomDialog) dialog = std::make_unique<TForm2>();
        else dialog = std::make_unique<TForm5>(files);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        auto* edit = child<QLineEdit>(*dialog, field);
        // Polish letters, and a letter Windows-1250 lacks (written "?"), each one byte.
        QString text;
        while (text.size() < capacity + 6) text += QStringLiteral("Łąka żж ");
        edit->clear();
        cw::test::typeText(edit, text);
        QCOMPARE(edit->text(), text.left(capacity));
        QCOMPARE(utf8ToCp1250(edit->text().toStdString()).size(), std::size_t(capacity));

        edit->clear();
        QApplication::clipboard()->setText(text);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString());
        QApplication::clipboard()->setText(text.left(capacity));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), text.left(capacity));
    }

    // A file chosen with "Szukaj" whose path is longer than the project keeps is not put into the
    // field: the user is told, and the field keeps its text.
    void browsingRefusesAPathTooLongToKeep() {
        ScriptedFiles files;
        TForm5 form(files);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* base = child<QLineEdit>(form, "Edit3");
        base->setText("/levels/base.tr2");
        files.answer = "/levels/" + QString(88, QLatin1Char('l')) + ".tr2";  // 100 characters: kept whole
        QVERIFY(cw::test::clickControl(child<QPushButton>(form, "Button1")));
        QCOMPARE(base->text(), files.answer);
        const QString kept = files.answer;
        files.answer = "/levels/" + QString(88, QLatin1Char('l')) + "ł.tr2";  // 101
        cw::test::MessageCatcher catcher;
        QVERIFY(cw::test::clickControl(child<QPushButton>(form, "Button1")));
        QCOMPARE(catcher.texts, QStringList{"The path \"" + files.answer +
                                            "\" is longer than the 100 characters a project keeps of it. "
                                            "Choose a file with a shorter path."});
        QCOMPARE(base->text(), kept);
    }

    // --- About box -------------------------------------------------------------------------

    void aboutBox() {
        TForm4 form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Informacje"));
        auto* title = child<QLabel>(form, "Label1");
        QCOMPARE(title->text(), QStringLiteral("Vellorn's Cairnwork"));
        QVERIFY(title->font().bold());
        QVERIFY(child<QLabel>(form, "Label2")->text().startsWith(QStringLiteral("Tłumaczenie")));
        QVERIFY(child<QLabel>(form, "Image1")->hasScaledContents());
        QVERIFY(!child<QLabel>(form, "Image1")->pixmap().isNull());
        QCOMPARE(child<QPushButton>(form, "Button1")->text(), QStringLiteral("Ok"));
        bool stayedOpen = true;
        clickWhenShown(form, "Button1", stayedOpen);
        form.exec();
        QVERIFY(!stayedOpen);
    }

    // --- File dialogs ----------------------------------------------------------------------

    void fileDialogSpecs_data() {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("filters");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("save");
        QTest::newRow("open project") << 0 << "Open CWP file" << QStringList{"Cairnwork (*.cwp) (*.cwp)"} << "cwp" << false;
        QTest::newRow("save project") << 1 << "Save CWP file" << QStringList{"Cairnwork (*.cwp) (*.cwp)"} << "cwp" << true;
        QTest::newRow("base level") << 2 << "Open TR base file"
                                    << QStringList{"All Tomb Raiders Files (*.phd,*.tub,*.tr2) (*.phd *.tub *.tr2)"} << ""
                                    << false;
        QTest::newRow("items") << 3 << "Open ITM file"
                               << QStringList{"Items table Files (*.Itm) (*.itm)", "All files (*.*) (*.*)"} << "itm"
                               << false;
        QTest::newRow("lights") << 4 << "Open MSH file"
                                << QStringList{"Mesh File (*.Msh) (*.msh)", "All files (*.*) (*.*)"} << "msh" << false;
        QTest::newRow("level save") << 5 << ""
                                    << QStringList{"All Tomb Raider files (*.phd,*.tub,*.tr2) (*.phd *.tub *.tr2)",
                                                   "Tomb Raider 1 (*.Phd) (*.phd)", "Tomb Raider 1 Gold (*.tub) (*.tub)",
                                                   "Tomb Raider 2 & 3 (*.tr2) (*.tr2)"}
                                    << "phd" << true;  // the first filter's first extension
    }
    void fileDialogSpecs() {
        QFETCH(int, which);
        QFETCH(QString, title);
        QFETCH(QStringList, filters);
        QFETCH(QString, suffix);
        QFETCH(bool, save);
        const FileDialogSettings specs[] = {openProjectDialog(), saveProjectDialog(), baseLevelDialog(),
                                        itemsFileDialog(),   lightsFileDialog(),  levelSaveDialog()};
        const FileDialogSettings& fileDialog = specs[which];
        QCOMPARE(fileDialog.title, title);
        QCOMPARE(qtNameFilters(fileDialog), filters);

        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        configureFileDialog(dialog, fileDialog);
        if (!title.isEmpty()) QCOMPARE(dialog.windowTitle(), title);
        QCOMPARE(dialog.nameFilters(), filters);
        QCOMPARE(dialog.defaultSuffix(), suffix);
        QCOMPARE(dialog.acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        QCOMPARE(dialog.testOption(QFileDialog::DontConfirmOverwrite), !save);
        QVERIFY(dialog.testOption(QFileDialog::HideNameFilterDetails));
    }

    void filterSuffixes_data() {
        QTest::addColumn<QString>("patterns");
        QTest::addColumn<QString>("preferred");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("one extension") << "*.tr2" << "" << "tr2";
        QTest::newRow("one extension, another preferred") << "*.tub" << "tr2" << "tub";
        QTest::newRow("several, none preferred") << "*.phd;*.tub;*.tr2" << "" << "phd";
        QTest::newRow("several, one preferred") << "*.phd;*.tub;*.tr2" << "TR2" << "tr2";
        QTest::newRow("several, a foreign one preferred") << "*.phd;*.tub;*.tr2" << "bak" << "phd";
        QTest::newRow("all files") << "*.*" << "tr2" << "";
    }
    void filterSuffixes() {
        QFETCH(QString, patterns);
        QFETCH(QString, preferred);
        QFETCH(QString, suffix);
        QCOMPARE(filterSuffix(FileFilter{.description = QStringLiteral("x"), .patterns = patterns}, preferred), suffix);
    }

    // The level save dialog: a name typed without an extension gets the chosen filter's (the
    // base level's among the several of "All Tomb Raider files"); one typed with an extension
    // keeps it.
    void levelSaveDialogAddsTheChosenFiltersExtension_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<int>("filterDownSteps");  // Down key presses in the file type box
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("all, no base level") << "" << 0 << "level" << "level.phd";
        QTest::newRow("all, a TR2 base level") << "/b/base.TR2" << 0 << "level" << "level.tr2";
        QTest::newRow("Tomb Raider 1") << "/b/base.tr2" << 1 << "level" << "level.phd";
        QTest::newRow("Tomb Raider 1 Gold") << "" << 2 << "level" << "level.tub";
        QTest::newRow("Tomb Raider 2 & 3") << "" << 3 << "level" << "level.tr2";
        QTest::newRow("typed with an extension") << "" << 3 << "level.phd" << "level.phd";
    }
    void levelSaveDialogAddsTheChosenFiltersExtension() {
        QFETCH(QString, base);
        QFETCH(int, filterDownSteps);
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        QTemporaryDir folder;
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        configureFileDialog(dialog, levelSaveDialog(QFileInfo(base).suffix()));
        dialog.setDirectory(folder.path());
        dialog.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(types != nullptr && name != nullptr);
        for (int i = 0; i < filterDownSteps; ++i) QTest::keyClick(types, Qt::Key_Down);
        QCOMPARE(types->currentIndex(), filterDownSteps);
        QTest::keyClicks(name, typed);
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.selectedFiles(), QStringList{folder.filePath(chosen)});
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
