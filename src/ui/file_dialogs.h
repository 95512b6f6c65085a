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

struct FileDialogSpec {
    QString title;               // empty: the platform's default
    QList<FileFilter> filters;   // in the order shown
    QString defaultSuffix;       // added when the typed name has none; empty: nothing added
    bool save = false;           // a save dialog: asks before overwriting an existing file
    bool refuseReadOnly = false; // a save dialog that does not accept a read-only file
};

FileDialogSpec openProjectDialog();   // "Open CWP file"
FileDialogSpec saveProjectDialog();   // "Save CWP file"
FileDialogSpec baseLevelDialog();     // "Open TR base file"
FileDialogSpec itemsFileDialog();     // "Open ITM file"
FileDialogSpec lightsFileDialog();    // "Open MSH file"
FileDialogSpec levelSaveDialog();     // the output level

// The platform's filter strings: each description followed by its patterns in parentheses
// (the dialog is told to show the descriptions only).
QStringList qtNameFilters(const FileDialogSpec& spec);

// Gives a QFileDialog the spec's title, filters, suffix, mode and options.
void configureFileDialog(QFileDialog& dialog, const FileDialogSpec& spec);

// Shows the dialog modally; the chosen path, or an empty text when the user cancels.
QString runFileDialog(QWidget* parent, const FileDialogSpec& spec);

class FileAsker {
public:
    virtual ~FileAsker() = default;
    // The chosen path, or an empty text when the user cancels.
    virtual QString askFileName(const FileDialogSpec& spec) = 0;
};

}  // namespace cw::ui
