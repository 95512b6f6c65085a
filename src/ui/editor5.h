#pragma once
// TForm5, the build settings dialog ("Plik Budowy Levelu"). It only collects the six texts of a
// build; the build reads them and stores them in the project, opening a project fills them.
//
// Controls (objectName: label), in tab order:
//   Edit1 "Opis levelu"
//   Edit2 "Komentarz"
//   Edit3 "Level bazowy"          Button1 "Szukaj" (base level open dialog)
//   Edit4 "Ust. przedmiotów"      Button2 "Szukaj" (items open dialog)
//   Edit5 "Ust. świateł/textur"   Button3 "Szukaj" (light/texture open dialog)
//   Edit6 "Nazwa pliku"           Button4 "Szukaj" (level save dialog)
//   Button5 "Buduj Level"         Button6 "Odwołaj"
#include <QDialog>
#include <QString>

class QLineEdit;

namespace cw::ui {

class FileAsker;

struct BuildSettingsFields {
    QString description;  // "Opis levelu"
    QString comment;      // "Komentarz"
    QString baseLevel;    // "Level bazowy"
    QString itemsFile;    // "Ust. przedmiotów"
    QString lightsFile;   // "Ust. świateł/textur"
    QString outputLevel;  // "Nazwa pliku"
    bool operator==(const BuildSettingsFields&) const = default;
};

class TForm5 : public QDialog {
    Q_OBJECT
public:
    // The "Szukaj" buttons ask `files` (the main window's dialogs) for their file names.
    TForm5(FileAsker& files, QWidget* parent = nullptr);

    BuildSettingsFields fields() const;
    void setFields(const BuildSettingsFields& fields);

private:
    void Button5Click();  // "Buduj Level": closes only with a non-blank output file name

    FileAsker& files_;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
};

}  // namespace cw::ui
