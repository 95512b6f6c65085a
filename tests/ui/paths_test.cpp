// File names between Qt and the core: the same file seen from both sides, for names outside
// ASCII too.
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <string>

#include "ui/paths.h"

using namespace cw::ui;

class PathsTest : public QObject {
    Q_OBJECT
private slots:
    void sameFileFromBothSides_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("ASCII") << QStringLiteral("level.cwp");
        QTest::newRow("Windows-1250 letters") << QStringLiteral("Łąka żółw.cwp");
        QTest::newRow("beyond Windows-1250") << QStringLiteral("日本 ﬀ €.cwp");
        QTest::newRow("blanks and dots") << QStringLiteral(" a . b .cwp");
    }
    void sameFileFromBothSides() {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString qtPath = dir.filePath(name);

        // Made by Qt, found and read by the core.
        QFile file(qtPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("qt");
        file.close();
        const std::filesystem::path path = toPath(qtPath);
        QVERIFY(std::filesystem::exists(path));
        std::ifstream in(path, std::ios::binary);
        std::string content;
        in >> content;
        QCOMPARE(QString::fromStdString(content), QStringLiteral("qt"));

        // Listed by the core, named the same to Qt.
        bool listed = false;
        for (const auto& entry : std::filesystem::directory_iterator(toPath(dir.path()))) {
            if (toQString(entry.path()) == qtPath) listed = true;
        }
        QVERIFY(listed);
        QCOMPARE(toQString(path), qtPath);

        // Made by the core, found by Qt.
        const std::filesystem::path second = toPath(dir.filePath(QStringLiteral("2 ") + name));
        std::ofstream(second, std::ios::binary) << "core";
        QVERIFY(QFileInfo::exists(toQString(second)));
        QCOMPARE(QFileInfo(toQString(second)).fileName(), QStringLiteral("2 ") + name);
    }
};

QTEST_GUILESS_MAIN(PathsTest)
#include "paths_test.moc"
