#pragma once
// Window tests: the editor's translation file (Qt Linguist .ts, XML) as a list of its messages.
#include <QList>
#include <QString>

namespace cw::test {

struct TranslationMessage {
    QString context;      // the class of the tr(), e.g. "cw::ui::TForm1"
    QString source;       // the Polish text
    QString translation;  // the English text
    QString type;         // the translation's type: empty when finished, else "unfinished", "obsolete", ...
};

// The messages of the .ts file at `path`, in order; `error` says why when it cannot be read (the
// list is then empty).
QList<TranslationMessage> readTranslationFile(const QString& path, QString& error);

// The .ts file of the English translation in the source tree.
QString englishTranslationFile();

}  // namespace cw::test
