// The editor's command line: help, version, the optional LIGHT and refused options.
#include <QtTest>

#include "ui/editor_app.h"

using namespace cw::ui;
using Action = CommandLine::Action;

Q_DECLARE_METATYPE(CommandLine::Action)

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QCoreApplication::setApplicationName(QStringLiteral("cairnwork"));
        QCoreApplication::setApplicationVersion(QStringLiteral("9.8.7"));
    }

    void readsTheCommandLine_data() {
        QTest::addColumn<QStringList>("arguments");  // after the program's name
        QTest::addColumn<Action>("action");
        QTest::addColumn<QStringList>("operands");
        QTest::newRow("nothing") << QStringList() << Action::Start << QStringList();
        QTest::newRow("light") << QStringList{"24"} << Action::Start << QStringList{"24"};
        QTest::newRow("not a number stays for the light preset to report")
            << QStringList{"bright"} << Action::Start << QStringList{"bright"};
        QTest::newRow("negative light") << QStringList{"-5"} << Action::Start << QStringList{"-5"};
        QTest::newRow("negative light after --") << QStringList{"--", "-5"} << Action::Start << QStringList{"-5"};
        QTest::newRow("--help") << QStringList{"--help"} << Action::ShowHelp << QStringList();
        QTest::newRow("-h after the light") << QStringList{"24", "-h"} << Action::ShowHelp << QStringList();
        QTest::newRow("help beside an unknown option")
            << QStringList{"--frobnicate", "--help"} << Action::ShowHelp << QStringList();
        QTest::newRow("--version") << QStringList{"--version"} << Action::ShowVersion << QStringList();
        QTest::newRow("-v") << QStringList{"-v"} << Action::ShowVersion << QStringList();
        QTest::newRow("unknown long option") << QStringList{"--frobnicate"} << Action::Refuse << QStringList();
        QTest::newRow("unknown short option") << QStringList{"24", "-x"} << Action::Refuse << QStringList();
        QTest::newRow("-5 is no option after the light") << QStringList{"24", "-5"} << Action::Start
                                                         << QStringList{"24", "-5"};
        QTest::newRow("--lang en") << QStringList{"--lang", "en", "24"} << Action::Start << QStringList{"24"};
        QTest::newRow("--lang=pl") << QStringList{"--lang=pl"} << Action::Start << QStringList();
        QTest::newRow("--lang without its language") << QStringList{"--lang"} << Action::Refuse << QStringList();
    }
    void readsTheCommandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(Action, action);
        QFETCH(QStringList, operands);
        const CommandLine line = readCommandLine(QStringList{"/usr/bin/cairnwork"} + arguments);
        QCOMPARE(line.action, action);
        QCOMPARE(line.arguments, operands);
        switch (action) {
        case Action::Start:
            QVERIFY(line.text.isEmpty());
            break;
        case Action::ShowHelp:
            QVERIFY2(line.text.startsWith("Usage: cairnwork [options] [LIGHT]\n"), qPrintable(line.text));
            for (const char* word : {"-h, --help", "-v, --version", "--lang <LANGUAGE>", "LIGHT", "share/cairnwork"})
                QVERIFY2(line.text.contains(QLatin1String(word)), word);
            QVERIFY(line.text.endsWith('\n'));
            break;
        case Action::ShowVersion:
            QCOMPARE(line.text, QStringLiteral("cairnwork 9.8.7\n"));
            break;
        case Action::Refuse:
            // The option, quoted (an unknown one without its dashes).
            QVERIFY2(line.text.contains(QString(arguments.last()).remove(QRegularExpression("^-+")) + "'"),
                     qPrintable(line.text));
            QVERIFY(line.text.endsWith("Try 'cairnwork --help'.\n"));
            break;
        case Action::Render:
            QVERIFY(line.text.isEmpty());
            break;
        }
    }

    // --lang takes the editor's languages, and only them.
    void readsTheLanguage_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("language");  // empty: refused
        QTest::newRow("not given") << QStringList() << QString();
        QTest::newRow("en") << QStringList{"--lang", "en"} << "en";
        QTest::newRow("pl") << QStringList{"--lang=pl"} << "pl";
        QTest::newRow("after the light") << QStringList{"24", "--lang", "en"} << "en";
        QTest::newRow("de") << QStringList{"--lang", "de"} << QString();
        QTest::newRow("English spelt out") << QStringList{"--lang", "English"} << QString();
        QTest::newRow("upper case") << QStringList{"--lang", "EN"} << QString();
    }
    void readsTheLanguage() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, language);
        const CommandLine line = readCommandLine(QStringList{"cairnwork"} + arguments);
        if (language.isEmpty() && !arguments.isEmpty()) {
            QCOMPARE(line.action, Action::Refuse);
            QCOMPARE(line.text, "cairnwork: Unknown language '" + arguments.last() +
                                    "'; the languages are pl, en.\nTry 'cairnwork --help'.\n");
            return;
        }
        QCOMPARE(line.action, Action::Start);
        QCOMPARE(line.language, language);
    }

    // --render and its options: every value taken as given (the command checks them); the
    // options of --render alone are refused; help lists them.
    void readsTheRenderCommand() {
        const CommandLine line = readCommandLine({"/usr/bin/cairnwork", "--render", "a b.cwp", "--room", "3", "--out",
                                                  "x.png", "--size", "640x480", "--base", "/l/TR2.TR2"});
        QCOMPARE(line.action, Action::Render);
        QCOMPARE(line.render.project, QStringLiteral("a b.cwp"));
        QCOMPARE(line.render.room, QStringLiteral("3"));
        QCOMPARE(line.render.out, QStringLiteral("x.png"));
        QCOMPARE(line.render.size, QStringLiteral("640x480"));
        QCOMPARE(line.render.base, QStringLiteral("/l/TR2.TR2"));
        const CommandLine least = readCommandLine({"/usr/bin/cairnwork", "--render", "p.cwp"});
        QCOMPARE(least.action, Action::Render);
        QVERIFY(least.render.room.isEmpty() && least.render.size.isEmpty() && least.render.base.isEmpty());

        for (const char* option : {"--room", "--out", "--size", "--base"}) {
            const CommandLine alone = readCommandLine({"/usr/bin/cairnwork", option, "1"});
            QCOMPARE(alone.action, Action::Refuse);
            QVERIFY2(alone.text.contains("go with --render"), qPrintable(alone.text));
        }
        const CommandLine help = readCommandLine({"/usr/bin/cairnwork", "--help"});
        for (const char* word : {"--render <PROJECT.cwp>", "--room <N>", "--out <FILE.png>", "--size <WxH>", "--base <LEVEL>"})
            QVERIFY2(help.text.contains(QLatin1String(word)), word);
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
