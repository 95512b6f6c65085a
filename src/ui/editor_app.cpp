#include "ui/editor_app.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <stdexcept>

#include "ui/messages.h"
#include "ui/paths.h"

namespace cw::ui {

std::filesystem::path executableFolder() { return toPath(QCoreApplication::applicationDirPath()); }

bool isWritableFolder(const std::filesystem::path& folder) {
    QTemporaryFile probe(toQString(folder / "cw-write-test-XXXXXX"));
    return probe.open();
}

std::filesystem::path configFileLocation(const std::filesystem::path& programFolder) {
    if (isWritableFolder(programFolder)) return programFolder / "config.cnf";
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(userFolder);
    return toPath(userFolder) / "config.cnf";
}

StartupOptions startupOptions(const std::filesystem::path& programFolder, const QStringList& arguments) {
    return {.programFolder = programFolder, .configFile = configFileLocation(programFolder), .arguments = arguments};
}

std::unique_ptr<TForm1> createMainWindow(Project& project, const StartupOptions& options) {
    try {
        return std::make_unique<TForm1>(project, options);
    } catch (const std::exception& e) {
        showMessage(nullptr, QString::fromUtf8(e.what()));
        return nullptr;
    }
}

}  // namespace cw::ui
