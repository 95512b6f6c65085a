// The English translation file, translations/cairnwork_en.ts: every message translated, none left
// over, the translation keeping what the program relies on, and the file current with the tr()
// texts of the windows (what `cmake --build <dir> --target cw_update_translations` makes of it).
#include <QtTest>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "support/translation_file.h"

using cw::test::TranslationMessage;

namespace {

QString describe(const TranslationMessage& m) { return m.context + QStringLiteral(" \"") + m.source + QLatin1Char('"'); }

// The %1, %2, ... of a text, sorted.
QStringList placeholders(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%\\d+"));
    QStringList found;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text)) found << match.captured();
    found.sort();
    return found;
}

// How many access keys ("&" before a character other than "&") a menu or button text has.
int accessKeys(const QString& text) {
    int count = 0;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) continue;
        if (text[i + 1] != QLatin1Char('&')) ++count;
        ++i;  // "&&" is a plain "&"
    }
    return count;
}

QString leadingSpace(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) ++i;
    return text.left(i);
}

QString trailingSpace(const QString& text) {
    qsizetype i = text.size();
    while (i > 0 && text[i - 1].isSpace()) --i;
    return text.mid(i);
}

const QRegularExpression kPolishLetters(QStringLiteral("[ąćęłńóśźżĄĆĘŁŃÓŚŹŻ]"));

QList<TranslationMessage> readOrFail(const QString& path) {
    QString error;
    QList<TranslationMessage> messages = cw::test::readTranslationFile(path, error);
    if (!error.isEmpty()) qWarning("%s", qPrintable(error));
    return messages;
}

}  // namespace

class TranslationFileTest : public QObject {
    Q_OBJECT
private slots:
    // A message lupdate added and nobody translated is "unfinished"; one whose tr() is gone is
    // "obsolete" or "vanished": none may stay in the file.
    void everyMessageIsTranslated() {
        const QList<TranslationMessage> messages = readOrFail(cw::test::englishTranslationFile());
        QVERIFY(!messages.isEmpty());
        QStringList faults;
        for (const TranslationMessage& m : messages) {
            if (!m.type.isEmpty()) faults << describe(m) + QStringLiteral(" is ") + m.type;
            else if (m.translation.isEmpty()) faults << describe(m) + QStringLiteral(" has no translation");
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // What the program builds around a text stays: its placeholders, its access key, the spaces
    // around it that lay it out, a closing "..."; and the English text is English.
    void translationsKeepTheirForm() {
        QStringList faults;
        for (const TranslationMessage& m : readOrFail(cw::test::englishTranslationFile())) {
            if (m.translation.isEmpty()) continue;  // reported above
            const QString what = describe(m) + QStringLiteral(" -> \"") + m.translation + QStringLiteral("\": ");
            if (placeholders(m.source) != placeholders(m.translation)) faults << what + QStringLiteral("other placeholders");
            if (accessKeys(m.source) != accessKeys(m.translation)) faults << what + QStringLiteral("other access keys");
            if (leadingSpace(m.source) != leadingSpace(m.translation) || trailingSpace(m.source) != trailingSpace(m.translation))
                faults << what + QStringLiteral("other spaces around the text");
            if (m.source.endsWith(QStringLiteral("...")) != m.translation.endsWith(QStringLiteral("...")))
                faults << what + QStringLiteral("\"...\" added or lost");
            if (m.translation.contains(kPolishLetters)) faults << what + QStringLiteral("Polish letters in the English text");
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // lupdate, run on a copy of the file as cw_update_translations runs it, changes nothing: every
    // tr() text of the windows is in the file and the file holds nothing else.
    void isCurrentWithTheSources() {
        const QString original = cw::test::englishTranslationFile();
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString copy = dir.filePath(QFileInfo(original).fileName());
        QVERIFY(QFile::copy(original, copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);

        const QString sources = QStringLiteral(CW_TEST_UI_SOURCES);
        QStringList arguments = QStringLiteral(CW_TEST_LUPDATE_OPTIONS).split(QLatin1Char('|'), Qt::SkipEmptyParts);
        arguments << QStringLiteral("-I") << QFileInfo(sources).dir().path() << sources << QStringLiteral("-ts") << copy;
        QProcess lupdate;
        lupdate.setProcessChannelMode(QProcess::MergedChannels);
        lupdate.start(QStringLiteral(CW_TEST_LUPDATE), arguments);
        QVERIFY2(lupdate.waitForFinished(120000), qPrintable(lupdate.errorString()));
        const QString output = QString::fromLocal8Bit(lupdate.readAll());
        QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0, qPrintable(output));

        QFile before(original), after(copy);
        QVERIFY(before.open(QIODevice::ReadOnly) && after.open(QIODevice::ReadOnly));
        if (before.readAll() == after.readAll()) return;

        // Say what changed: texts new in the sources, texts no longer there.
        auto keys = [](const QList<TranslationMessage>& messages, bool current) {
            QStringList list;
            for (const TranslationMessage& m : messages)
                if (!current || (m.type != QLatin1String("obsolete") && m.type != QLatin1String("vanished")))
                    list << describe(m);
            return list;
        };
        const QStringList had = keys(readOrFail(original), false);
        const QStringList has = keys(readOrFail(copy), true);
        QStringList changes;
        for (const QString& key : has)
            if (!had.contains(key)) changes << QStringLiteral("new in the sources: ") + key;
        for (const QString& key : had)
            if (!has.contains(key)) changes << QStringLiteral("gone from the sources: ") + key;
        if (changes.isEmpty()) changes << QStringLiteral("the file's layout differs from lupdate's");
        QFAIL(qPrintable(QStringLiteral("translations/cairnwork_en.ts is not current with the tr() texts of src/ui. "
                                        "Refresh it (cmake --build <build> --target cw_update_translations) and "
                                        "translate what is new:\n") +
                         changes.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TranslationFileTest)
#include "translation_file_test.moc"
