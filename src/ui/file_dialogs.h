#pragma once
// The editor's file dialogs: what each one is titled, filters and adds as extension, and the one
// place where a file name is asked for (FileAsker), so that window tests can answer instead of
// the user.
#include <QList>
#include <QString>

class QFileDialog;
class QWidget;

namespace cw::ui {

struct FileFilter {
    QString description;  // what the dialog shows
    QString patterns;     // ";"-separated, e.g. "*.phd;*.tub;*.tr2"
};

struct FileDialogSettings {
    QString title;               // empty: the platform's default
    QList<FileFilter> filters;   // in the order shown
    QString defaultSuffix;       // added when the typed name has none; empty: nothing added
    bool save = false;           // a save dialog: asks before overwriting an existing file
    bool refuseReadOnly = false; // a save dialog that does not accept a read-only file
    // The extension added to a typed name without one is the chosen filter's (filterSuffix, with
    // defaultSuffix preferred where the filter offers several).
    bool suffixFromFilter = false;
};

FileDialogSettings openProjectDialog();   // "Open CWP file"
FileDialogSettings saveProjectDialog();   // "Save CWP file"
FileDialogSettings baseLevelDialog();     // "Open TR base file"
FileDialogSettings itemsFileDialog();     // "Open ITM file"
FileDialogSettings lightsFileDialog();    // "Open MSH file"
// The output level; a typed name without an extension gets the chosen filter's. Where the filter
// offers several, `preferredSuffix` (the base level's extension, say) when it is one of them.
FileDialogSettings levelSaveDialog(const QString& preferredSuffix = QString());

// The extension a name typed under `filter` gets: `preferred` when it is one of the filter's
// patterns "*.ext", else the first pattern's; empty for a filter without a plain extension ("*.*").
QString filterSuffix(const FileFilter& filter, const QString& preferred = QString());

// The platform's filter strings: each description followed by its patterns in parentheses
// (the dialog is told to show the descriptions only).
QStringList qtNameFilters(const FileDialogSettings& fileDialog);

// Gives a QFileDialog the settings' title, filters, suffix, mode and options.
void configureFileDialog(QFileDialog& dialog, const FileDialogSettings& fileDialog);

// Shows the dialog modally; the chosen path, or an empty text when the user cancels.
QString runFileDialog(QWidget* parent, const FileDialogSettings& fileDialog);

class FileAsker {
public:
    virtual ~FileAsker() = default;
    // The chosen path, or an empty text when the user cancels.
    virtual QString askFileName(const FileDialogSettings& fileDialog) = 0;
};

}  // namespace cw::ui
