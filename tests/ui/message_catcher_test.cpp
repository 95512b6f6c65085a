#include <QtTest>

#include "support/message_catcher.h"
#include "ui/messages.h"

class MessageCatcherTest : public QObject {
    Q_OBJECT
private slots:
    void recordsAndClosesMessageBoxes() {
        cw::test::MessageCatcher catcher;
        cw::ui::showMessage(nullptr, QStringLiteral("Error Opening the file!"));
        cw::ui::showMessage(nullptr, QStringLiteral(" File not Found! "));
        QCOMPARE(catcher.texts, QStringList({"Error Opening the file!", " File not Found! "}));
    }
};

QTEST_MAIN(MessageCatcherTest)
#include "message_catcher_test.moc"
