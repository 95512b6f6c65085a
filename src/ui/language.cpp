#include "ui/language.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTranslator>

#include "common/files.h"
#include "ui/paths.h"

namespace cw::ui {

namespace {

const QString kLanguageKey = QStringLiteral("language");
// The installed translation is the application's child of this name; its "language" property
// holds its code.
const QString kTranslatorName = QStringLiteral("cwTranslator");

QTranslator* installedTranslator() {
    QCoreApplication* app = QCoreApplication::instance();
    return app == nullptr ? nullptr : app->findChild<QTranslator*>(kTranslatorName, Qt::FindDirectChildrenOnly);
}

void removeTranslation() {
    if (QTranslator* translator = installedTranslator()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

}  // namespace

const QList<Language>& editorLanguages() {
    static const QList<Language> languages = {{QStringLiteral("pl"), QStringLiteral("Polski")},
                                              {QStringLiteral("en"), QStringLiteral("English")}};
    return languages;
}

bool isEditorLanguage(const QString& code) {
    for (const Language& language : editorLanguages())
        if (language.code == code) return true;
    return false;
}

QString editorLanguageCodes() {
    QStringList codes;
    for (const Language& language : editorLanguages()) codes << language.code;
    return codes.join(QStringLiteral(", "));
}

QString translationFileName(const QString& code) {
    if (code == kPolish || code.isEmpty()) return {};
    return QStringLiteral("cairnwork_") + code + QStringLiteral(".qm");
}

QString settingsFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/cairnwork.conf");
}

QString storedLanguage() {
    const QSettings settings(settingsFilePath(), QSettings::IniFormat);
    const QString code = settings.value(kLanguageKey).toString();
    return isEditorLanguage(code) ? code : QString();
}

std::optional<QString> storeLanguage(const QString& code) {
    const QString path = settingsFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(kLanguageKey, code);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        return QStringLiteral("The language cannot be stored in \"%1\".").arg(QDir::toNativeSeparators(path));
    return std::nullopt;
}

QString startLanguage(const QString& commandLineLanguage) {
    if (isEditorLanguage(commandLineLanguage)) return commandLineLanguage;
    const QString stored = storedLanguage();
    return stored.isEmpty() ? QString(kPolish) : stored;
}

std::optional<QString> applyLanguage(const std::filesystem::path& programFolder, const QString& code) {
    removeTranslation();
    const QString fileName = translationFileName(code);
    if (fileName.isEmpty() || !isEditorLanguage(code)) return std::nullopt;
    const QString file = toQString(findDataFile(programFolder, fileName.toStdString()));
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(file) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return QStringLiteral("The translation \"%1\" cannot be read; the editor shows its Polish texts.")
            .arg(QDir::toNativeSeparators(file));
    }
    translator->setObjectName(kTranslatorName);
    translator->setProperty("language", code);
    return std::nullopt;
}

QString appliedLanguage() {
    const QTranslator* translator = installedTranslator();
    return translator == nullptr ? QString(kPolish) : translator->property("language").toString();
}

}  // namespace cw::ui
