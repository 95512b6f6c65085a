#pragma once
// TForm1, the main window: the plan of rooms, the room list, the position read-out, the progress
// bar, the buttons and the main menu. It is wiring only: the plan is drawn by drawing/plan, the rooms
// are changed by the room operations, files are read and written by the project file
// operations, and levels are made by the build driver.
//
// Controls (objectName: text or hint):
//   SpeedButton1 (picture) "Dodaj nowe pomieszczenie"    SpeedButton2 (picture) "Edytuj właściwości pomieszczenia"
//   Button1 "KLONUJ"  Button2 "USUŃ"  Button3 "EDYCJA"
//   GroupBox1 "   Pozycja" with Label1 (position read-out)
//   ListBox1 (room list)  ScrollBox1 (scrolling plan) holding Image1 (the plan picture control)
//   Label2..Label5 "N", "S", "W", "E"  ProgressBar1 (0..100)
//   menus Plik1 "&Plik", Edycja1 "&Edycja", Informacje1 "&Informacje"; menu items Nowy1, Otworz1,
//   Zapisz1, Zapiszjako1, MakePHD1, Zakoncz1, RecentFile1..RecentFile5, Cofnij1, Ponow1,
//   Dodajpomieszczenie1, Wlasciwosci1, Edytujpomieszczenie1, Wczytajtekstury1, Informacje2; in
//   "&Informacje" the submenu Jezyk1 "Język / Language" (menu JezykMenu1) with Polski1 "Polski" and
//   English1 "English".
// Every text is Polish, through tr(): the English translation replaces them (ui/language.h).
//
// Every change of the project is a step of the undo history (ui/undo_history.h); the project
// has unsaved changes exactly when the history is away from where it was last saved.
#include <QMainWindow>
#include <QMessageBox>
#include <QStringList>
#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "project/project.h"
#include "project/recent_files.h"
#include "project/room_ops.h"
#include "ui/editor_services.h"
#include "ui/file_dialogs.h"
#include "drawing/plan.h"
#include "ui/screen_bitmap.h"

class QAction;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace cw {
struct LevelImage;
}

namespace cw::ui {

class BaseTextureSource;
class PictureControl;
class TForm2;
class TForm3;
class TForm4;
class UndoHistory;
class TForm5;

struct StartupOptions {
    std::filesystem::path programFolder;  // the executable's folder: the data files are looked up there
    std::filesystem::path configFile;     // the recent-files list ("config.cnf")
    QStringList arguments;                // the program's arguments, without the program name
    QString language;                     // the windows' language ("pl", "en"); empty: Polish
};

class TForm1 : public QMainWindow, public RoomView, public EditorServices, public FileAsker {
    Q_OBJECT
public:
    // Creates the main window and, in order, the room properties dialog, the room editor, the
    // about box and the build settings dialog. Throws IoError or FormatError when the program
    // palette "paleta.bmp" cannot be read.
    TForm1(Project& project, const StartupOptions& options, QWidget* parent = nullptr);
    ~TForm1() override;

    Project& project() { return project_; }
    const Plan& plan() const { return plan_; }
    const ScreenBitmap& planBitmap() const { return planBitmap_; }
    bool isModified() const;
    UndoHistory& history() { return *history_; }
    const QString& projectPath() const { return projectPath_; }
    TForm2& roomPropertiesDialog() { return *Form2; }
    TForm5& buildSettingsDialog() { return *Form5; }

    // Sets the progress bar (0..100).
    void setProgress(int value);

    // RoomView: what the room operations update.
    void clearRoomList() override;
    void appendRoomName(const std::string& name) override;
    void replaceRoomName(int index, const std::string& name) override;
    void removeLastRoomName() override;
    void selectRoom(int index) override;
    void setCaption(const std::string& caption) override;
    void stampCurrentRoom() override;
    void redrawAll() override;
    void redrawCurrent() override;
    void showMessage(const std::string& text) override;

    // EditorServices: what the room editor uses.
    const PaletteBlock& programPalette() const override { return *palette_; }
    const std::filesystem::path& programFolder() const override { return programFolder_; }
    ScreenBitmap& topViewBitmap() override { return topViewBitmap_; }
    ScreenBitmap& frontBackBitmap() override { return frontBackBitmap_; }
    ScreenBitmap& leftRightBitmap() override { return leftRightBitmap_; }
    BaseTextureSource& baseTextureSource() override { return *baseTextures_; }
    bool recordEdit(StepKind kind, const std::function<bool()>& edit) override;

    // FileAsker: shows the file dialog (window tests answer instead).
    QString askFileName(const FileDialogSettings& fileDialog) override;

protected:
    // "Save changes to the current project?" with Yes, No and Cancel.
    virtual QMessageBox::StandardButton askSaveChanges();
    // Moves the mouse pointer to a screen point.
    virtual void warpPointer(const QPoint& screenPoint);

    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createMenu();
    void createRoomEditor();
    void openRoomEditor();
    void updateRecentFileMenu();
    void presentPlan();
    // The window follows the current room: the position read-out shows it, and the commands that
    // act on a room are enabled only while there is one to act on.
    void showCurrentRoom();
    void keepPlanSouthWest();
    // The room list, its selection and the plan as the project holds them.
    void showRooms();
    // After an undo or a redo: the room list, the plan, the build settings and the open room
    // editor show the project as restored.
    void showRestoredProject();
    // The build settings dialog shows the project's settings.
    void showBuildSettings();
    // True when the current project may be replaced or closed: it has no unsaved changes, or
    // the user saved it or chose to discard them.
    bool confirmDiscard();
    // "&Zapisz": saves to the project's file, asking for a name when it has none. True when saved.
    bool saveProjectCommand();
    // Saves the project to the file and records it in the recent-files list. True when saved.
    bool saveProjectTo(const QString& path, bool updateCaption);
    // Opens the project file in place of the open project. True when opened.
    bool openProjectFile(const QString& path);

    // Handlers.
    void SpeedButton1Click();  // add room
    void SpeedButton2Click();  // room properties
    void Button1Click();       // clone
    void Button2Click();       // delete the last room
    void Button3Click();       // room editor
    void ListBox1Click(int row);
    void Image1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void Image1MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void Image1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void Nowy1Click();
    void Otworz1Click();
    void Zapisz1Click();
    void Zapiszjako1Click();
    void MakePHD1Click();
    // "Wczytaj tekstury poziomu bazowego": reads the base level of the build settings again.
    void Wczytajtekstury1Click();
    // Reads the textures of the build settings' base level in the background; unless `always`,
    // only when that is another level than the one read last.
    void readBaseTextures(bool always);
    void RecentFileClick(int index);
    void Informacje2Click();
    // "Język / Language": stores the chosen language for the next start.
    void chooseLanguage(const QString& code);

    Project& project_;
    std::filesystem::path programFolder_;
    std::filesystem::path configFile_;
    QString language_;  // the language the windows show: "pl", "en"
    std::shared_ptr<PaletteBlock> palette_;
    Plan plan_;
    ScreenBitmap planBitmap_;
    ScreenBitmap topViewBitmap_;
    ScreenBitmap frontBackBitmap_;
    ScreenBitmap leftRightBitmap_;
    bool ignoreNextMove_ = false;
    UndoHistory* history_ = nullptr;
    std::array<std::string, 6> settingsShown_;  // the project's build settings as the dialog last got them
    bool planAtBottom_ = true;
    // The open project's file as the file system names it (the Project keeps it as
    // Windows-1250 bytes, which cannot name every file); empty for an untitled project.
    QString projectPath_;
    RecentFiles recentFiles_;
    QList<QAction*> recentFileActions_;
    BaseTextureSource* baseTextures_ = nullptr;
    std::string baseTexturesAsked_;  // the base level the last read was asked for
    QString baseTexturesNote_;       // the last note of the base level's textures shown
    // The level image every build of this window works in, made at the first build.
    std::unique_ptr<LevelImage> buildWorkspace_;

    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    PictureControl* Image1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QMenu* Plik1 = nullptr;
    QAction* Wlasciwosci1 = nullptr;
    QAction* Edytujpomieszczenie1 = nullptr;

    TForm2* Form2 = nullptr;
    TForm3* roomEditor_ = nullptr;
    TForm4* Form4 = nullptr;
    TForm5* Form5 = nullptr;
};

}  // namespace cw::ui
