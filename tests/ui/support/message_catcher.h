#pragma once
// Window tests: accepts every message box (and any other modal dialog it is told to) that opens
// while it lives, and records the texts of the message boxes (and the reasons under them) in order.
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace cw::test {

class MessageCatcher : public QObject {
    Q_OBJECT
public:
    MessageCatcher();
    ~MessageCatcher() override;

    QStringList texts;
    QStringList reasons;  // the informative text under each message, in the same order

private:
    void poll();
    QTimer timer_;
};

}  // namespace cw::test
