#include "ui/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>

#include "ui/messages.h"

namespace cw::ui {

namespace {

const FileFilter kProjectFilter{.description = QStringLiteral("Cairnwork (*.cwp)"),
                                .patterns = QStringLiteral("*.cwp")};
const FileFilter kAllFiles{.description = QStringLiteral("All files (*.*)"), .patterns = QStringLiteral("*.*")};

}  // namespace

FileDialogSettings openProjectDialog() {
    return {
        .title = QStringLiteral("Open CWP file"), .filters = {kProjectFilter}, .defaultSuffix = QStringLiteral("cwp")};
}

FileDialogSettings saveProjectDialog() {
    return {.title = QStringLiteral("Save CWP file"),
            .filters = {kProjectFilter},
            .defaultSuffix = QStringLiteral("cwp"),
            .save = true};
}

FileDialogSettings baseLevelDialog() {
    return {.title = QStringLiteral("Open TR base file"),
            .filters = {{.description = QStringLiteral("All Tomb Raiders Files (*.phd,*.tub,*.tr2)"),
                         .patterns = QStringLiteral("*.phd;*.tub;*.tr2")}},
            .defaultSuffix = QString()};
}

FileDialogSettings itemsFileDialog() {
    return {
        .title = QStringLiteral("Open ITM file"),
        .filters = {{.description = QStringLiteral("Items table Files (*.Itm)"), .patterns = QStringLiteral("*.itm")},
                    kAllFiles},
        .defaultSuffix = QStringLiteral("itm")};
}

FileDialogSettings lightsFileDialog() {
    return {.title = QStringLiteral("Open MSH file"),
            .filters = {{.description = QStringLiteral("Mesh File (*.Msh)"), .patterns = QStringLiteral("*.msh")},
                        kAllFiles},
            .defaultSuffix = QStringLiteral("msh")};
}

FileDialogSettings levelSaveDialog(const QString& preferredSuffix) {
    return {
        .title = QString(),
        .filters = {{.description = QStringLiteral("All Tomb Raider files (*.phd,*.tub,*.tr2)"),
                     .patterns = QStringLiteral("*.phd;*.tub;*.tr2")},
                    {.description = QStringLiteral("Tomb Raider 1 (*.Phd)"), .patterns = QStringLiteral("*.phd")},
                    {.description = QStringLiteral("Tomb Raider 1 Gold (*.tub)"), .patterns = QStringLiteral("*.tub")},
                    {.description = QStringLiteral("Tomb Raider 2 & 3 (*.tr2)"), .patterns = QStringLiteral("*.tr2")}},
        .defaultSuffix = preferredSuffix.toLower(),
        .save = true,
        .refuseReadOnly = true,
        .suffixFromFilter = true};
}

QString filterSuffix(const FileFilter& filter, const QString& preferred) {
    QStringList suffixes;
    for (const QString& pattern : filter.patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString p = pattern.trimmed();
        if (!p.startsWith(QStringLiteral("*.")) || p.size() < 3) continue;
        const QString suffix = p.mid(2);
        if (suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?'))) continue;
        suffixes << suffix;
    }
    if (suffixes.isEmpty()) return {};
    if (!preferred.isEmpty() && suffixes.contains(preferred, Qt::CaseInsensitive)) return preferred.toLower();
    return suffixes.constFirst();
}

QStringList qtNameFilters(const FileDialogSettings& fileDialog) {
    QStringList filters;
    for (const FileFilter& f : fileDialog.filters) {
        QString patterns = f.patterns;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << f.description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

void configureFileDialog(QFileDialog& dialog, const FileDialogSettings& fileDialog) {
    if (!fileDialog.title.isEmpty()) dialog.setWindowTitle(fileDialog.title);
    dialog.setAcceptMode(fileDialog.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(fileDialog.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Descriptions are shown as written; the patterns in parentheses are the platform's.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !fileDialog.save);
    const QStringList nameFilters = qtNameFilters(fileDialog);
    dialog.setNameFilters(nameFilters);
    dialog.setDefaultSuffix(fileDialog.defaultSuffix);
    if (fileDialog.suffixFromFilter && !fileDialog.filters.isEmpty()) {
        // The suffix follows the filter the user chooses (the first one to begin with). The
        // dialog names a chosen filter as shown: by its description alone.
        const auto follow = [&dialog, nameFilters, filters = fileDialog.filters,
                             preferred = fileDialog.defaultSuffix](const QString& chosen) {
            for (qsizetype i = 0; i < filters.size(); ++i) {
                if (chosen == filters[i].description || chosen == nameFilters[i]) {
                    dialog.setDefaultSuffix(filterSuffix(filters[i], preferred));
                    return;
                }
            }
        };
        follow(fileDialog.filters.constFirst().description);
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
    }
    dialog.setSizeGripEnabled(true);
}

QString runFileDialog(QWidget* parent, const FileDialogSettings& fileDialog) {
    QFileDialog dialog(parent);
    configureFileDialog(dialog, fileDialog);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        const QString path = dialog.selectedFiles().constFirst();
        const QFileInfo info(path);
        if (fileDialog.refuseReadOnly && info.exists() && !info.isWritable()) {
            showMessage(&dialog, path + QStringLiteral(" is read-only. Choose another file name."));
            continue;
        }
        return path;
    }
}

}  // namespace cw::ui
