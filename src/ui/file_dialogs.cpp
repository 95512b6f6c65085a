#include "ui/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>

#include "ui/messages.h"

namespace cw::ui {

namespace {

const FileFilter kProjectFilter{QStringLiteral("Cairnwork (*.cwp)"), QStringLiteral("*.cwp")};
const FileFilter kAllFiles{QStringLiteral("All files (*.*)"), QStringLiteral("*.*")};

}  // namespace

FileDialogSettings openProjectDialog() {
    return {QStringLiteral("Open CWP file"), {kProjectFilter}, QStringLiteral("cwp"), false, false};
}

FileDialogSettings saveProjectDialog() {
    return {QStringLiteral("Save CWP file"), {kProjectFilter}, QStringLiteral("cwp"), true, false};
}

FileDialogSettings baseLevelDialog() {
    return {QStringLiteral("Open TR base file"),
            {{QStringLiteral("All Tomb Raiders Files (*.phd,*.tub,*.tr2)"), QStringLiteral("*.phd;*.tub;*.tr2")}},
            QString(),
            false,
            false};
}

FileDialogSettings itemsFileDialog() {
    return {QStringLiteral("Open ITM file"),
            {{QStringLiteral("Items table Files (*.Itm)"), QStringLiteral("*.itm")}, kAllFiles},
            QStringLiteral("itm"),
            false,
            false};
}

FileDialogSettings lightsFileDialog() {
    return {QStringLiteral("Open MSH file"),
            {{QStringLiteral("Mesh File (*.Msh)"), QStringLiteral("*.msh")}, kAllFiles},
            QStringLiteral("msh"),
            false,
            false};
}

FileDialogSettings levelSaveDialog(const QString& preferredSuffix) {
    return {QString(),
            {{QStringLiteral("All Tomb Raider files (*.phd,*.tub,*.tr2)"), QStringLiteral("*.phd;*.tub;*.tr2")},
             {QStringLiteral("Tomb Raider 1 (*.Phd)"), QStringLiteral("*.phd")},
             {QStringLiteral("Tomb Raider 1 Gold (*.tub)"), QStringLiteral("*.tub")},
             {QStringLiteral("Tomb Raider 2 & 3 (*.tr2)"), QStringLiteral("*.tr2")}},
            preferredSuffix.toLower(),
            true,
            true,
            true};
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
