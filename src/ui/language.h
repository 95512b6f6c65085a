#pragma once
// The editor's languages. Its own texts are Polish (the source texts of every tr()); English comes
// from the translation "cairnwork_en.qm", a data file looked up like the others (beside the
// program, then in ../share/cairnwork/). The user's choice is kept in the user's settings
// ("language" in cairnwork.conf of the user's configuration folder) and applies from the next
// start; the command line's --lang overrides it for one run.
#include <QList>
#include <QString>
#include <filesystem>
#include <optional>

namespace cw::ui {

struct Language {
    QString code;  // "pl", "en": what --lang and the settings take
    QString name;  // in the language itself: the language menu shows it in every language
};

// Polish first: the language of the editor's own texts, used when nothing else is asked for.
const QList<Language>& editorLanguages();
inline constexpr QLatin1String kPolish("pl");

// True for a code of editorLanguages().
bool isEditorLanguage(const QString& code);

// The codes of editorLanguages(), as a user reads them: "pl, en".
QString editorLanguageCodes();

// The translation file of a language ("cairnwork_en.qm"); empty for Polish, which needs none.
QString translationFileName(const QString& code);

// The user's settings file (cairnwork.conf in the user's configuration folder).
QString settingsFilePath();

// The language stored in the user's settings; empty when none is stored or the stored one is not
// an editor language.
QString storedLanguage();

// Stores the language in the user's settings. Returns the message to show when the settings
// cannot be written.
std::optional<QString> storeLanguage(const QString& code);

// The language the editor starts in: the command line's when given, else the stored one, else
// Polish.
QString startLanguage(const QString& commandLineLanguage);

// Makes the application's texts those of `code`: installs its translation, read from the program's
// data files (Polish and an unknown code: removes the one installed). Call before the windows are
// made. Returns the message to show when the translation cannot be read; the texts then stay Polish.
std::optional<QString> applyLanguage(const std::filesystem::path& programFolder, const QString& code);

// The language whose texts the application shows now ("pl" when no translation is installed).
QString appliedLanguage();

}  // namespace cw::ui
