// The editor in English: every window and dialog opened, every text they show walked, none left
// Polish; the translation found like the data files; the language chosen in the menu, kept in the
// user's settings and applied at the next start, --lang overriding it.
#include <QtTest>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include "common/files.h"
#include "support/controls.h"
#include "support/dialog_driver.h"
#include "support/message_catcher.h"
#include "support/program_folder.h"
#include "support/translation_file.h"
#include "ui/editor2.h"
#include "ui/editor3.h"
#include "ui/editor4.h"
#include "ui/editor5.h"
#include "ui/editor_app.h"
#include "ui/language.h"
#include "ui/paths.h"

using namespace cw;
using namespace cw::ui;
using cw::test::clickControl;
using cw::test::EditorFixture;
using cw::test::onNextDialog;

namespace {

const std::filesystem::path kBuildBin(CW_TEST_BIN_DIR);

// Texts the same in both languages: names, English texts of today, read-outs. A text here is
// never taken for Polish.
struct SameInBoth {
    QRegularExpression text;
    const char* why;
};
const SameInBoth kSameInBoth[] = {
    {QRegularExpression(QStringLiteral("^Vellorn's Cairnwork$")), "the program's name"},
    {QRegularExpression(QStringLiteral("^[NSWE]$")), "the compass letters around the plan"},
    {QRegularExpression(QStringLiteral("^(OK|Ok|Ok\\.)$")), "the OK buttons"},
    {QRegularExpression(QStringLiteral("^Room#$")), "the room of a portal"},
    {QRegularExpression(QStringLiteral("^Editing .*$")), "the room editor's caption with the room's name"},
    {QRegularExpression(QStringLiteral("^X:?=.*Z:?=.*$")), "the position read-out"},
    {QRegularExpression(QStringLiteral("^Język / Language$")), "the language menu, titled in both languages"},
    {QRegularExpression(QStringLiteral("^The 3D view needs OpenGL")),
     "the 3D view's message that it cannot draw here, a message (English in both)"},
    {QRegularExpression(QStringLiteral("^(Polski|English)$")), "each language by its own name"},
    {QRegularExpression(QStringLiteral("^Język zmieni się przy następnym uruchomieniu edytora.\nThe language changes "
                                       "when the editor is next started.$")),
     "the language message, in both languages"},
};

bool sameInBoth(const QString& text) {
    for (const SameInBoth& same : kSameInBoth)
        if (same.text.match(text).hasMatch()) return true;
    return false;
}

const QRegularExpression kPolishLetters(QStringLiteral("[ąćęłńóśźżĄĆĘŁŃÓŚŹŻ]"));

bool hasLetters(const QString& text) {
    for (const QChar c : text)
        if (c.isLetter()) return true;
    return false;
}

// Where a widget or action is: its object names (or classes) from its window down (menus and
// message boxes are shown under the window they belong to).
QString placeOf(const QObject* object) {
    QStringList names;
    for (; object != nullptr; object = object->parent()) {
        QString name = object->objectName();
        if (const auto* action = qobject_cast<const QAction*>(object); name.isEmpty() && action != nullptr && action->menu())
            name = action->menu()->objectName();
        names.prepend(name.isEmpty() ? QString::fromLatin1(object->metaObject()->className()) : name);
        const auto* widget = qobject_cast<const QWidget*>(object);
        if (widget != nullptr && widget->isWindow() && !qobject_cast<const QMenu*>(widget) &&
            !qobject_cast<const QMessageBox*>(widget))
            break;
    }
    return names.join(QStringLiteral(" > "));
}

// A text the windows show, and where.
struct ShownText {
    enum class Kind {
        Label,    // a caption, label, hint, menu item...: translated, or listed as the same in both
        Message,  // a message box's text: English in both languages, unless it is a tr() text
        Data,     // the project's own (room names, portal entries)
    };
    QString where;
    QString text;
    Kind kind = Kind::Label;
};

// Walks widgets, their actions and menus, and records every text they show.
class TextWalk {
public:
    QList<ShownText> texts;
    QStringList accessKeyClashes;

    // The widget, everything it holds (hidden pages and dialogs too) and their menus.
    void walk(QWidget* root) {
        QList<QWidget*> widgets{root};
        widgets += root->findChildren<QWidget*>();
        for (QWidget* w : widgets) walkWidget(w);
    }

    void walkMessageBox(QMessageBox* box) {
        const QString where = placeOf(box);
        add(where + QStringLiteral(" title"), box->windowTitle(), ShownText::Kind::Label);
        add(where + QStringLiteral(" text"), box->text(), ShownText::Kind::Message);
        add(where + QStringLiteral(" reason"), box->informativeText(), ShownText::Kind::Message);
        for (QAbstractButton* button : box->buttons()) add(placeOf(button), button->text(), ShownText::Kind::Label);
    }

private:
    void add(const QString& where, const QString& text, ShownText::Kind kind) {
        if (hasLetters(text)) texts << ShownText{where, text, kind};
    }

    void walkWidget(QWidget* w) {
        if (qobject_cast<QMessageBox*>(w) != nullptr) {
            walkMessageBox(static_cast<QMessageBox*>(w));
            return;
        }
        const QString where = placeOf(w);
        using Kind = ShownText::Kind;
        if (w->isWindow()) add(where + QStringLiteral(" title"), w->windowTitle(), Kind::Label);
        add(where + QStringLiteral(" hint"), w->toolTip(), Kind::Label);
        add(where + QStringLiteral(" status tip"), w->statusTip(), Kind::Label);
        add(where + QStringLiteral(" what's this"), w->whatsThis(), Kind::Label);
        if (auto* label = qobject_cast<QLabel*>(w)) add(where, label->text(), Kind::Label);
        if (auto* button = qobject_cast<QAbstractButton*>(w)) add(where, button->text(), Kind::Label);
        if (auto* group = qobject_cast<QGroupBox*>(w)) add(where, group->title(), Kind::Label);
        if (auto* edit = qobject_cast<QLineEdit*>(w)) add(where + QStringLiteral(" placeholder"), edit->placeholderText(), Kind::Label);
        if (auto* spin = qobject_cast<QSpinBox*>(w)) {
            add(where + QStringLiteral(" prefix"), spin->prefix(), Kind::Label);
            add(where + QStringLiteral(" suffix"), spin->suffix(), Kind::Label);
            add(where + QStringLiteral(" special value"), spin->specialValueText(), Kind::Label);
        }
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i) add(where + QStringLiteral(" item"), combo->itemText(i), Kind::Label);
        if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                add(where + QStringLiteral(" tab"), tabs->tabText(i), Kind::Label);
                add(where + QStringLiteral(" tab hint"), tabs->tabToolTip(i), Kind::Label);
            }
        }
        if (auto* view = qobject_cast<QAbstractItemView*>(w); view != nullptr && view->model() != nullptr) {
            const QAbstractItemModel* model = view->model();
            for (int c = 0; c < model->columnCount(); ++c)
                add(where + QStringLiteral(" heading"), model->headerData(c, Qt::Horizontal).toString(), Kind::Label);
            for (int r = 0; r < model->rowCount(); ++r) {
                for (int c = 0; c < model->columnCount(); ++c) {
                    const QModelIndex index = model->index(r, c);
                    add(where + QStringLiteral(" entry"), index.data(Qt::DisplayRole).toString(), Kind::Data);
                    add(where + QStringLiteral(" entry hint"), index.data(Qt::ToolTipRole).toString(), Kind::Label);
                }
            }
        }
        if (auto* menu = qobject_cast<QMenu*>(w)) add(where + QStringLiteral(" title"), menu->title(), Kind::Label);
        QList<QChar> keys;
        for (QAction* action : w->actions()) {
            QString name = action->objectName();
            if (name.isEmpty() && action->menu() != nullptr) name = action->menu()->objectName();
            const QString at = where + QStringLiteral(" > ") + (name.isEmpty() ? QStringLiteral("QAction") : name);
            add(at, action->text(), Kind::Label);
            add(at + QStringLiteral(" hint"), action->toolTip(), Kind::Label);
            add(at + QStringLiteral(" status tip"), action->statusTip(), Kind::Label);
            if (action->isVisible()) noteAccessKey(where, action->text(), keys);
        }
    }

    // A menu's items and a menu bar's menus each have their own access key.
    void noteAccessKey(const QString& where, const QString& text, QList<QChar>& keys) {
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != QLatin1Char('&')) continue;
            if (text[i + 1] == QLatin1Char('&')) {
                ++i;
                continue;
            }
            const QChar key = text[i + 1].toLower();
            if (keys.contains(key))
                accessKeyClashes << QStringLiteral("%1: \"%2\" has the access key '%3' of another item").arg(where, text, key);
            keys << key;
            return;
        }
    }
};

// Walks and closes every message box that opens while it lives.
class MessageBoxWalk : public QObject {
public:
    explicit MessageBoxWalk(TextWalk& walk) : walk_(walk) {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (box == nullptr || !box->isVisible()) continue;
                walk_.walkMessageBox(box);
                ++seen;
                box->done(QMessageBox::Ok);
            }
        });
        timer_.start();
    }
    int seen = 0;

private:
    TextWalk& walk_;
    QTimer timer_;
};

// Clicks tab `index` of the tab widget where its tab bar shows it.
bool clickTab(QTabWidget* tabs, int index) {
    QTabBar* bar = tabs->tabBar();
    if (!cw::test::clickAt(bar, bar->tabRect(index).center())) return false;
    return tabs->currentIndex() == index;
}

// The windows in a language: every window and dialog opened as a user opens them, three message
// boxes shown, and at the end everything the main window holds. Returns what they showed.
struct EditorWalk {
    QList<ShownText> texts;
    QStringList accessKeyClashes;
    QStringList windowsSeen;  // objectNames of the windows and dialogs opened
    int messageBoxes = 0;
};

EditorWalk walkTheEditor(const QString& language) {
    EditorWalk result;
    if (const auto error = applyLanguage(kBuildBin, language)) {
        qWarning("%s", qPrintable(*error));
        return result;
    }
    TextWalk walk;
    auto boxes = std::make_unique<MessageBoxWalk>(walk);
    {
        EditorFixture f({}, language);
        const auto seen = [&result](QWidget& window) { result.windowsSeen << window.objectName(); };

        // The room properties dialog, adding a room.
        onNextDialog<TForm2>([&](TForm2& dialog) {
            seen(dialog);
            walk.walk(&dialog);
            QVERIFY(clickControl(dialog.findChild<QPushButton*>("BitBtn1")));
        });
        if (!clickControl(f.widget<QToolButton>("SpeedButton1"))) return result;

        // The room editor, each page shown in turn, a portal added to the list.
        onNextDialog<TForm3>([&](TForm3& editor) {
            seen(editor);
            auto* tabs = editor.findChild<QTabWidget*>("PageControl1");
            for (int i = 0; i < tabs->count(); ++i) {
                QVERIFY(clickTab(tabs, i));
                // A portal into the room itself: refused with a message.
                if (i == 0) QVERIFY(clickControl(editor.findChild<QPushButton*>("Button1")));
                walk.walk(&editor);
            }
            QVERIFY(clickControl(tabs->currentWidget()->findChild<QPushButton*>("Button2")));  // "Ok."
        });
        if (!clickControl(f.widget<QPushButton>("Button3"))) return result;

        // The about box and the build settings.
        onNextDialog<TForm4>([&](TForm4& dialog) {
            seen(dialog);
            walk.walk(&dialog);
            QVERIFY(clickControl(dialog.findChild<QPushButton*>("Button1")));
        });
        if (!cw::test::chooseMenuItem(f.form.get(), "Informacje2")) return result;
        onNextDialog<TForm5>([&](TForm5& dialog) {
            seen(dialog);
            walk.walk(&dialog);
            QVERIFY(clickControl(dialog.findChild<QPushButton*>("Button6")));  // cancel
        });
        if (!cw::test::chooseMenuItem(f.form.get(), "MakePHD1")) return result;

        // Two more message boxes: a project that cannot be opened, and the other language chosen.
        f.form->saveAnswers = {QMessageBox::No};
        f.form->fileAnswers = {toQString(f.folder.file("missing.cwp"))};
        if (!cw::test::chooseMenuItem(f.form.get(), "Otworz1")) return result;
        if (!cw::test::chooseMenuItem(f.form.get(), language == QLatin1String("en") ? "Polski1" : "English1"))
            return result;

        // The main window with its menus and every dialog it holds.
        seen(*f.form);
        walk.walk(f.form.get());
        result.messageBoxes = boxes->seen;
    }
    boxes.reset();
    applyLanguage(kBuildBin, QString(kPolish));
    result.texts = walk.texts;
    result.accessKeyClashes = walk.accessKeyClashes;
    return result;
}

}  // namespace

class TranslationTest : public QObject {
    Q_OBJECT
private slots:
    // The user's settings go to a folder of this test.
    void initTestCase() {
        QVERIFY(configHome_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome_.path()));
        QVERIFY(settingsFilePath().startsWith(configHome_.path()));
    }
    void init() { QFile::remove(settingsFilePath()); }
    void cleanup() { applyLanguage(kBuildBin, QString(kPolish)); }

    // Every text the English windows show is English. A text is taken for Polish when it has a
    // Polish letter, when it is a Polish text of the translation file shown untranslated, or when
    // the Polish windows show it too (a text without tr() is shown alike in both) - unless it is
    // listed in kSameInBoth. Messages are English in both languages, and the project's own texts
    // (room names) are the same in both: they are only checked for Polish letters and tr() texts.
    void noTextOfTheEnglishWindowsIsPolish() {
        QString error;
        const QList<cw::test::TranslationMessage> messages =
            cw::test::readTranslationFile(cw::test::englishTranslationFile(), error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QHash<QString, QString> translated;  // Polish text -> its English, where they differ
        for (const auto& m : messages)
            if (!m.translation.isEmpty() && m.translation != m.source) translated.insert(m.source, m.translation);

        const EditorWalk polish = walkTheEditor(QString(kPolish));
        const EditorWalk english = walkTheEditor(QStringLiteral("en"));
        // Both walks went everywhere.
        const QStringList windows{"Form2", "Form3", "Form4", "Form5", "Form1"};
        QCOMPARE(polish.windowsSeen, windows);
        QCOMPARE(english.windowsSeen, windows);
        QCOMPARE(polish.messageBoxes, 3);
        QCOMPARE(english.messageBoxes, 3);
        QVERIFY2(polish.accessKeyClashes.isEmpty(), qPrintable(polish.accessKeyClashes.join('\n')));
        QVERIFY2(english.accessKeyClashes.isEmpty(), qPrintable(english.accessKeyClashes.join('\n')));

        QSet<QString> shownInPolish;
        for (const ShownText& t : polish.texts) shownInPolish.insert(t.text);
        QStringList faults;
        for (const ShownText& t : english.texts) {
            if (sameInBoth(t.text)) continue;
            QString why;
            if (t.text.contains(kPolishLetters)) {
                why = QStringLiteral("has Polish letters");
            } else if (translated.contains(t.text)) {
                why = QStringLiteral("is a Polish text of the translation (English \"%1\") shown untranslated: its tr() "
                                     "is missing, in another class than the translation's, or runs before the "
                                     "translation is installed")
                          .arg(translated.value(t.text));
            } else if (t.kind == ShownText::Kind::Label && shownInPolish.contains(t.text)) {
                why = QStringLiteral("is shown alike in Polish and in English");
            }
            if (why.isEmpty()) continue;
            const QString fault = QStringLiteral("\"%1\" (%2) %3").arg(t.text, t.where, why);
            if (!faults.contains(fault)) faults << fault;
        }
        if (!faults.isEmpty())
            faults << QStringLiteral(
                "A window text goes through tr() with its Polish text; then `cmake --build <build> --target "
                "cw_update_translations` adds it to translations/cairnwork_en.ts, where it is translated. A text "
                "that is the same in both languages belongs in kSameInBoth of this test.");
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // The translation is a data file: beside the program, else in ../share/cairnwork/.
    void theTranslationIsFoundLikeTheDataFiles_data() {
        QTest::addColumn<QString>("place");  // relative to a temporary folder; empty: nowhere
        QTest::addColumn<bool>("found");
        QTest::newRow("beside the program") << "bin" << true;
        QTest::newRow("installed") << "share/cairnwork" << true;
        QTest::newRow("nowhere") << "" << false;
    }
    void theTranslationIsFoundLikeTheDataFiles() {
        QFETCH(QString, place);
        QFETCH(bool, found);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("bin"));
        if (!place.isEmpty()) {
            QVERIFY(QDir(dir.path()).mkpath(place));
            QVERIFY(QFile::copy(toQString(kBuildBin / "cairnwork_en.qm"), dir.filePath(place + "/cairnwork_en.qm")));
        }
        const auto error = applyLanguage(toPath(dir.filePath("bin")), "en");
        QCOMPARE(!error.has_value(), found);
        QCOMPARE(appliedLanguage(), found ? QString("en") : QString("pl"));
        QCOMPARE(QCoreApplication::translate("cw::ui::TForm1", "&Plik"), found ? QString("&File") : QString("&Plik"));
        if (!found) QVERIFY2(error->contains("cairnwork_en.qm"), qPrintable(*error));

        QVERIFY(!applyLanguage(toPath(dir.filePath("bin")), "pl"));
        QCOMPARE(appliedLanguage(), QString("pl"));
        QCOMPARE(QCoreApplication::translate("cw::ui::TForm1", "&Plik"), QString("&Plik"));
    }

    // Started in English without the translation: said so, and the windows stay Polish.
    void aMissingTranslationIsReported() {
        cw::test::ProgramFolder folder;
        std::filesystem::remove(folder.file("cairnwork_en.qm"));
        auto project = std::make_unique<Project>();
        cw::test::MessageCatcher catcher;
        const std::unique_ptr<TForm1> form = createMainWindow(*project, folder.options({}, "en"));
        QVERIFY(form != nullptr);
        QCOMPARE(catcher.texts.size(), 1);
        QVERIFY2(catcher.texts.constFirst().contains("cairnwork_en.qm"), qPrintable(catcher.texts.constFirst()));
        QCOMPARE(form->windowTitle(), QString("Vellorn's Cairnwork v.PL"));
    }

    // The command line's language, else the stored one, else Polish.
    void theStartLanguage_data() {
        QTest::addColumn<QString>("stored");       // written into the settings file; empty: none
        QTest::addColumn<QString>("commandLine");  // --lang; empty: not given
        QTest::addColumn<QString>("language");
        QTest::newRow("nothing") << "" << "" << "pl";
        QTest::newRow("stored") << "en" << "" << "en";
        QTest::newRow("--lang over the stored one") << "en" << "pl" << "pl";
        QTest::newRow("--lang") << "" << "en" << "en";
        QTest::newRow("a stored language the editor lacks") << "de" << "" << "pl";
    }
    void theStartLanguage() {
        QFETCH(QString, stored);
        QFETCH(QString, commandLine);
        QFETCH(QString, language);
        if (!stored.isEmpty()) {
            QSettings settings(settingsFilePath(), QSettings::IniFormat);
            settings.setValue("language", stored);
        }
        QCOMPARE(startLanguage(commandLine), language);
    }

    // Chosen in the menu: stored for the next start, said so when it is not the language shown; the
    // next start shows it.
    void theLanguageMenu() {
        auto f = std::make_unique<EditorFixture>();
        auto* polski = f->form->findChild<QAction*>("Polski1");
        auto* english = f->form->findChild<QAction*>("English1");
        QVERIFY(polski != nullptr && english != nullptr);
        QVERIFY(polski->isChecked() && !english->isChecked());
        cw::test::MessageCatcher catcher;

        QVERIFY(cw::test::chooseMenuItem(f->form.get(), "English1"));
        QTRY_COMPARE(catcher.texts.size(), 1);
        QCOMPARE(catcher.texts.constFirst(), QString("Język zmieni się przy następnym uruchomieniu edytora.\n"
                                                     "The language changes when the editor is next started."));
        QCOMPARE(storedLanguage(), QString("en"));
        QVERIFY(english->isChecked() && !polski->isChecked());
        QCOMPARE(f->form->menuBar()->actions().constFirst()->text(), QString("&Plik"));  // until the next start

        // Back to the language shown: stored, nothing to say.
        QVERIFY(cw::test::chooseMenuItem(f->form.get(), "Polski1"));
        QTest::qWait(50);
        QCOMPARE(catcher.texts.size(), 1);
        QCOMPARE(storedLanguage(), QString("pl"));

        // English again, then the next start, as the program starts.
        QVERIFY(cw::test::chooseMenuItem(f->form.get(), "English1"));
        QTRY_COMPARE(catcher.texts.size(), 2);
        f->form.reset();
        auto project = std::make_unique<Project>();
        const std::unique_ptr<TForm1> next =
            createMainWindow(*project, startupOptions(f->folder.path(), {}, startLanguage(QString())));
        QVERIFY(next != nullptr);
        QCOMPARE(next->windowTitle(), QString("Vellorn's Cairnwork"));
        QCOMPARE(next->menuBar()->actions().constFirst()->text(), QString("&File"));
        QVERIFY(next->findChild<QAction*>("English1")->isChecked());
    }

    // Saves the English main window and room editor (its top view) as PNG files into
    // $CW_SCREENSHOT_DIR (only when it is set), with the program's own palette and the example
    // project open.
    void screenshotsInEnglish() {
        const QByteArray folder = qgetenv("CW_SCREENSHOT_DIR");
        if (folder.isEmpty()) QSKIP("CW_SCREENSHOT_DIR not set");
        QVERIFY(!applyLanguage(kBuildBin, "en"));
        cw::test::ProgramFolder program;
        std::filesystem::copy_file(kBuildBin / "paleta.bmp", program.file("paleta.bmp"),
                                   std::filesystem::copy_options::overwrite_existing);
        auto project = std::make_unique<Project>();
        cw::test::ScriptedForm1 form(*project, program.options({}, "en"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.fileAnswers = {QStringLiteral(CW_TEST_SOURCE_DIR "/examples/example.cwp")};
        QVERIFY(cw::test::chooseMenuItem(&form, "Otworz1"));
        QApplication::processEvents();
        QVERIFY(form.grab().save(QString::fromLocal8Bit(folder) + "/main-window-en.png"));
        bool saved = false;
        onNextDialog<TForm3>([&](TForm3& editor) {
            QVERIFY(clickTab(editor.findChild<QTabWidget*>("PageControl1"), 0));
            QTest::qWait(100);
            saved = editor.grab().save(QString::fromLocal8Bit(folder) + "/room-editor-en.png");
            editor.accept();
        });
        QVERIFY(clickControl(form.findChild<QPushButton*>("Button3")));
        QVERIFY(saved);
    }

private:
    QTemporaryDir configHome_;
};

QTEST_MAIN(TranslationTest)
#include "translation_test.moc"
