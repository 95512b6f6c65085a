#pragma once
// Window tests: a temporary program folder holding the data files the editor reads at start-up,
// and a main window whose questions (file dialogs, the unsaved-changes prompt) the test answers.
#include <QList>
#include <QMessageBox>
#include <QPoint>
#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>

#include "project/project.h"
#include "raster/image.h"
#include "ui/editor1.h"

namespace cw::test {

// A palette whose every entry differs: entry i = (i % 64, (i / 4) % 64, 63 - i % 64).
PaletteBlock testPalette();
// Writes a 2 x 2 BMP carrying the palette.
void writePaletteBmp(const std::filesystem::path& path, const PaletteBlock& palette);

class ProgramFolder {
public:
    // With paleta.bmp (the test palette) unless told otherwise; floor.dat, the glyph strips
    // shapes1.bmp and shapes2.bmp and the translation cairnwork_en.qm are copied from the build's
    // program folder when they are there.
    explicit ProgramFolder(bool withPalette = true);
    std::filesystem::path path() const;
    std::filesystem::path file(const char* name) const { return path() / name; }
    ui::StartupOptions options(const QStringList& arguments = {}, const QString& language = {}) const;

private:
    QTemporaryDir dir_;
};

// TForm1 with scripted answers.
class ScriptedForm1 : public ui::TForm1 {
public:
    ScriptedForm1(Project& project, const ui::StartupOptions& options) : TForm1(project, options) {}

    // Answers to the file dialogs, in order; an empty text cancels. Asked when none is left: cancel.
    QStringList fileAnswers;
    QList<ui::FileDialogSettings> askedDialogs;
    // Answers to "Save changes to the current project?", in order; Cancel when none is left.
    QList<QMessageBox::StandardButton> saveAnswers;
    int saveQuestions = 0;
    QList<QPoint> warps;

    QString askFileName(const ui::FileDialogSettings& fileDialog) override {
        askedDialogs << fileDialog;
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }

protected:
    QMessageBox::StandardButton askSaveChanges() override {
        ++saveQuestions;
        return saveAnswers.isEmpty() ? QMessageBox::Cancel : saveAnswers.takeFirst();
    }
    void warpPointer(const QPoint& screenPoint) override {
        warps << screenPoint;
        TForm1::warpPointer(screenPoint);
    }
};

// A Project on the heap (it is large) and a scripted main window on it, in a program folder. The
// window is shown.
struct EditorFixture {
    // `language`: the language the window is told it shows (the test installs its translation).
    explicit EditorFixture(const QStringList& arguments = {}, const QString& language = {});
    ~EditorFixture();
    ProgramFolder folder;
    std::unique_ptr<Project> project;
    std::unique_ptr<ScriptedForm1> form;

    template <class T>
    T* widget(const char* objectName) const {
        return form->findChild<T*>(QLatin1String(objectName));
    }
    // The entries of the room list ("ListBox1"), in order.
    QStringList roomListNames() const;
};

}  // namespace cw::test
