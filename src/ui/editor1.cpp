#include "ui/editor1.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCursor>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

#include "builder/build_driver.h"
#include "common/errors.h"
#include "common/files.h"
#include "levelfile/level_image.h"
#include "project/project_file.h"
#include "raster/bmp.h"
#include "ui/base_textures.h"
#include "ui/editor2.h"
#include "ui/editor3.h"
#include "ui/editor4.h"
#include "ui/editor5.h"
#include "ui/language.h"
#include "ui/messages.h"
#include "ui/paths.h"
#include "ui/picture_control.h"
#include "ui/pictures.h"
#include "ui/texts.h"
#include "ui/undo_history.h"

namespace cw::ui {

namespace {

const QString kProjectCaption = QStringLiteral("Vellorn's Cairnwork - ");
const QString kNoPosition = QStringLiteral("X:=    Z:=");
// Shown alike in every language.
const QString kLanguageMenuTitle = QStringLiteral("Język / Language");
const QString kLanguageChangeMessage =
    QStringLiteral("Język zmieni się przy następnym uruchomieniu edytora.\n"
                   "The language changes when the editor is next started.");

QLabel* compassLetter(const char* name, const QString& letter, QWidget* parent) {
    auto* label = new QLabel(letter, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignCenter);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// The six build settings texts of the project.
std::array<std::string, 6> settingsTexts(const Project& p) {
    return {p.levelDescription.str(), p.comment.str(),      p.baseLevelPath.str(),
            p.outputLevelPath.str(),  p.itemsFilePath.str(), p.lightsFilePath.str()};
}

}  // namespace

TForm1::TForm1(Project& project, const StartupOptions& options, QWidget* parent)
    : QMainWindow(parent),
      project_(project),
      programFolder_(options.programFolder),
      configFile_(options.configFile),
      language_(isEditorLanguage(options.language) ? options.language : QString(kPolish)) {
    setObjectName(QStringLiteral("Form1"));
    // The plan: the empty grid, its working copy and the one program palette block they share.
    palette_ = std::make_shared<PaletteBlock>();
    createPlan(plan_, palette_);
    clearProject(project_);
    LoadPalette(findDataFile(programFolder_, "paleta.bmp"), *palette_);
    ImageToBitmap(plan_.workingImage, planBitmap_);
    planBitmap_.ignorePalette = true;

    history_ = new UndoHistory(project_, this);
    connect(history_, &UndoHistory::projectRestored, this, &TForm1::showRestoredProject);
    createControls();
    createMenu();
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    // The base level's textures, read in the background; the windows follow them.
    baseTextures_ = new BaseTextureSource(this);
    connect(baseTextures_, &BaseTextureSource::progressChanged, this, &TForm1::setProgress);
    // Its notes are quiet: one never takes the place of another message (what a build did).
    connect(baseTextures_, &BaseTextureSource::note, this, [this](const QString& text) {
        const QString shown = statusBar()->currentMessage();
        if (!shown.isEmpty() && shown != baseTexturesNote_) return;
        statusBar()->showMessage(text);
        baseTexturesNote_ = text;
    });
    showCurrentRoom();
    setWindowTitle(tr("Vellorn's Cairnwork v.PL"));
    setWindowIcon(cairnworkIcon());
    // Maximised; a display without a window manager ignores that, so the window also starts
    // with the screen's size.
    if (QScreen* display = screen()) resize(display->availableGeometry().size());
    setWindowState(windowState() | Qt::WindowMaximized);
    keepPlanSouthWest();
    recentFiles_.load(configFile_);
    updateRecentFileMenu();

    // The dialogs, in the program's start-up order.
    Form2 = new TForm2(this);
    Form2->setTextureSource(baseTextures_);
    if (auto error = Form2->applyLightPreset(options.arguments)) cw::ui::showMessage(this, *error);
    createRoomEditor();
    Form4 = new TForm4(this);
    Form5 = new TForm5(*this, this);
}

TForm1::~TForm1() = default;

void TForm1::createControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Panel0"));
    setCentralWidget(central);

    // The side panel: buttons, position, room list, progress.
    auto* side = new QWidget(central);
    side->setObjectName(QStringLiteral("Panel1"));
    side->setFixedWidth(210);

    SpeedButton1 = new QToolButton(side);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setIcon(addRoomIcon());
    SpeedButton1->setIconSize(QSize(32, 32));
    SpeedButton1->setToolTip(tr("Dodaj nowe pomieszczenie"));
    SpeedButton2 = new QToolButton(side);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setIcon(roomPropertiesIcon());
    SpeedButton2->setIconSize(QSize(32, 32));
    SpeedButton2->setToolTip(tr("Edytuj właściwości pomieszczenia"));

    Button1 = new QPushButton(tr("KLONUJ"), side);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setToolTip(tr("Klonuj aktualne pomieszczenie"));
    Button2 = new QPushButton(tr("USUŃ"), side);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setToolTip(tr("Usuń ostatni pokój"));

    GroupBox1 = new QGroupBox(tr("   Pozycja"), side);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Label1 = new QLabel(kNoPosition, GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    auto* groupLayout = new QVBoxLayout(GroupBox1);
    groupLayout->addWidget(Label1);

    Button3 = new QPushButton(tr("EDYCJA"), side);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setToolTip(tr("Edytuj zaznaczone pomieszczenie"));

    ListBox1 = new QListWidget(side);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setToolTip(tr("Wybierz pomieszczenie"));

    ProgressBar1 = new QProgressBar(side);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);

    auto* pictureButtons = new QHBoxLayout;
    pictureButtons->addWidget(SpeedButton1);
    pictureButtons->addWidget(SpeedButton2);
    pictureButtons->addStretch(1);
    auto* roomButtons = new QHBoxLayout;
    roomButtons->addWidget(Button1);
    roomButtons->addWidget(Button2);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addLayout(pictureButtons);
    sideLayout->addLayout(roomButtons);
    sideLayout->addWidget(GroupBox1);
    sideLayout->addWidget(Button3);
    sideLayout->addWidget(ListBox1, 1);
    sideLayout->addWidget(ProgressBar1);

    // The plan with the four compass letters around it.
    ScrollBox1 = new QScrollArea(central);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    Image1 = new PictureControl;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setToolTip(tr("Lewym przyciskiem myszy przesuń pomieszczenie"));
    Image1->setBitmap(&planBitmap_);
    ScrollBox1->setWidget(Image1);

    // The scroll box grows no larger than the plan, so the letters stay beside it.
    const int frame = 2 * ScrollBox1->frameWidth();
    ScrollBox1->setMaximumSize(planBitmap_.image.width() + frame, planBitmap_.image.height() + frame);

    auto* planLayout = new QGridLayout;
    planLayout->addWidget(compassLetter("Label2", QStringLiteral("N"), central), 0, 1, Qt::AlignHCenter);
    planLayout->addWidget(compassLetter("Label4", QStringLiteral("W"), central), 1, 0, Qt::AlignVCenter);
    planLayout->addWidget(ScrollBox1, 1, 1);
    planLayout->addWidget(compassLetter("Label5", QStringLiteral("E"), central), 1, 2, Qt::AlignVCenter);
    planLayout->addWidget(compassLetter("Label3", QStringLiteral("S"), central), 2, 1, Qt::AlignHCenter);
    planLayout->setRowStretch(1, 1);
    planLayout->setColumnStretch(1, 1);
    // Space beyond the plan's size goes below and right of it.
    auto* planColumn = new QVBoxLayout;
    planColumn->addLayout(planLayout, 1);
    planColumn->addStretch(0);

    auto* layout = new QHBoxLayout(central);
    layout->addWidget(side);
    layout->addLayout(planColumn, 1);
    layout->addStretch(0);

    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(ListBox1, &QListWidget::currentRowChanged, this, &TForm1::ListBox1Click);
    connect(Image1, &PictureControl::mousePressed, this, &TForm1::Image1MouseDown);
    connect(Image1, &PictureControl::mouseMoved, this, &TForm1::Image1MouseMove);
    connect(Image1, &PictureControl::mouseReleased, this, &TForm1::Image1MouseUp);
}

void TForm1::createMenu() {
    auto action = [this](QMenu* menu, const char* name, const QString& text, const QKeySequence& shortcut,
                         auto handler) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QLatin1String(name));
        if (!shortcut.isEmpty()) a->setShortcut(shortcut);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };

    Plik1 = menuBar()->addMenu(tr("&Plik"));
    Plik1->setObjectName(QStringLiteral("Plik1"));
    action(Plik1, "Nowy1", tr("&Nowy"), QKeySequence(), &TForm1::Nowy1Click);
    action(Plik1, "Otworz1", tr("&Otwórz"), QKeySequence(Qt::Key_F3), &TForm1::Otworz1Click);
    action(Plik1, "Zapisz1", tr("&Zapisz"), QKeySequence(Qt::CTRL | Qt::Key_S), &TForm1::Zapisz1Click);
    action(Plik1, "Zapiszjako1", tr("Zapisz &jako"), QKeySequence(), &TForm1::Zapiszjako1Click);
    Plik1->addSeparator();
    action(Plik1, "MakePHD1", tr("&Buduj Level"), QKeySequence(Qt::Key_F10), &TForm1::MakePHD1Click);
    Plik1->addSeparator();
    action(Plik1, "Zakoncz1", tr("Z&akończ"), QKeySequence(Qt::CTRL | Qt::Key_X), &QWidget::close);
    // The separator added at start-up; the recent-file entries follow it.
    Plik1->addSeparator();

    QMenu* Edycja1 = menuBar()->addMenu(tr("&Edycja"));
    Edycja1->setObjectName(QStringLiteral("Edycja1"));
    Edycja1->setToolTipsVisible(true);  // the undo and redo hints name the step
    Edycja1->addAction(history_->undoAction());
    Edycja1->addAction(history_->redoAction());
    Edycja1->addSeparator();
    action(Edycja1, "Dodajpomieszczenie1", tr("&Dodaj pomieszczenie"), QKeySequence(Qt::Key_Insert),
           &TForm1::SpeedButton1Click);
    Wlasciwosci1 = action(Edycja1, "Wlasciwosci1", tr("&Właściwości"),
                          QKeySequence(Qt::SHIFT | Qt::Key_Insert), &TForm1::SpeedButton2Click);
    Edycja1->addSeparator();
    Edytujpomieszczenie1 = action(Edycja1, "Edytujpomieszczenie1", tr("&Edytuj pomieszczenie"),
                                  QKeySequence(Qt::CTRL | Qt::Key_Insert), &TForm1::Button3Click);
    Edycja1->addSeparator();
    action(Edycja1, "Wczytajtekstury1", tr("Wczytaj &tekstury poziomu bazowego"), QKeySequence(),
           &TForm1::Wczytajtekstury1Click);

    QMenu* Informacje1 = menuBar()->addMenu(tr("&Informacje"));
    Informacje1->setObjectName(QStringLiteral("Informacje1"));
    action(Informacje1, "Informacje2", tr("&Informacje..."), QKeySequence(), &TForm1::Informacje2Click);

    // The language: titled in both languages and each language by its own name, so that a reader
    // of either finds it. The language shown now is ticked; a choice applies from the next start.
    QMenu* languages = Informacje1->addMenu(kLanguageMenuTitle);
    languages->setObjectName(QStringLiteral("JezykMenu1"));
    languages->menuAction()->setObjectName(QStringLiteral("Jezyk1"));
    auto* group = new QActionGroup(languages);
    for (const Language& language : editorLanguages()) {
        QAction* item = languages->addAction(language.name);
        item->setObjectName(language.name + QLatin1Char('1'));
        item->setCheckable(true);
        item->setChecked(language.code == language_);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, code = language.code] { chooseLanguage(code); });
    }
}

void TForm1::chooseLanguage(const QString& code) {
    if (const auto error = storeLanguage(code)) {
        cw::ui::showMessage(this, *error);
        return;
    }
    if (code != language_) cw::ui::showMessage(this, kLanguageChangeMessage);
}

// The room editor (TForm3) is created here, in the start-up order, and opened by openRoomEditor.
// The undo and redo shortcuts work in it too.
void TForm1::createRoomEditor() {
    roomEditor_ = new TForm3(project_, *this, this);
    history_->serveWindow(roomEditor_);
}

void TForm1::openRoomEditor() {
    if (roomEditor_ == nullptr || project_.roomCount == 0) return;
    roomEditor_->exec();
}

void TForm1::keepPlanSouthWest() {
    // The plan starts scrolled to its bottom, so that its south-west corner is in view, and
    // stays at the bottom while the window is resized until the user scrolls.
    QScrollBar* bar = ScrollBox1->verticalScrollBar();
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
        if (planAtBottom_) bar->setValue(maximum);
    });
    connect(bar, &QScrollBar::valueChanged, this, [this, bar](int value) { planAtBottom_ = value == bar->maximum(); });
    bar->setValue(bar->maximum());
}

// --- Services -------------------------------------------------------------------------------

void TForm1::setProgress(int value) { ProgressBar1->setValue(value); }

void TForm1::clearRoomList() {
    const QSignalBlocker block(ListBox1);
    ListBox1->clear();
}

void TForm1::appendRoomName(const std::string& name) {
    const QSignalBlocker block(ListBox1);
    ListBox1->addItem(fromCp1250(name));
}

void TForm1::replaceRoomName(int index, const std::string& name) {
    if (QListWidgetItem* item = ListBox1->item(index)) item->setText(fromCp1250(name));
}

void TForm1::removeLastRoomName() {
    const QSignalBlocker block(ListBox1);
    delete ListBox1->takeItem(ListBox1->count() - 1);
}

void TForm1::selectRoom(int index) {
    const QSignalBlocker block(ListBox1);
    ListBox1->setCurrentRow(index);
}

void TForm1::setCaption(const std::string& caption) { setWindowTitle(fromCp1250(caption)); }

void TForm1::stampCurrentRoom() {
    if (project_.roomCount > 0) stampRoom(plan_, project_.current());
}

void TForm1::redrawAll() {
    redrawPlan(plan_, project_);
    presentPlan();
    showCurrentRoom();
}

void TForm1::redrawCurrent() {
    redrawCurrentRoom(plan_, project_);
    presentPlan();
    showCurrentRoom();
}

void TForm1::showCurrentRoom() {
    const bool hasRoom = project_.roomCount > 0 && project_.currentRoom >= 1 && project_.currentRoom <= project_.roomCount;
    if (hasRoom) {
        const int height = roomPlanSize(project_.current()).height;
        Label1->setText(QString::fromStdString(positionText(project_.planX, project_.planY, height)));
    } else {
        Label1->setText(kNoPosition);
    }
    SpeedButton2->setEnabled(hasRoom);
    Button1->setEnabled(hasRoom);
    Button3->setEnabled(hasRoom);
    Wlasciwosci1->setEnabled(hasRoom);
    Edytujpomieszczenie1->setEnabled(hasRoom);
    Button2->setEnabled(project_.roomCount >= 2);  // the last room is never deleted
}

void TForm1::presentPlan() {
    UpdateBitmapBits(plan_.workingImage, planBitmap_);
    Image1->refresh();
}

// Messages of the core are UTF-8 (project texts in them are converted where they enter).
void TForm1::showMessage(const std::string& text) { cw::ui::showMessage(this, QString::fromStdString(text)); }

QString TForm1::askFileName(const FileDialogSettings& fileDialog) { return runFileDialog(this, fileDialog); }

QMessageBox::StandardButton TForm1::askSaveChanges() {
    QMessageBox box(QMessageBox::Question, windowTitle(), QStringLiteral("Save changes to the current project?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("cwSaveChangesBox"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void TForm1::warpPointer(const QPoint& screenPoint) { QCursor::setPos(screenPoint); }

bool TForm1::isModified() const { return history_->isModified(); }

bool TForm1::recordEdit(StepKind kind, const std::function<bool()>& edit) {
    bool changed = false;
    history_->record(kind, [&] { changed = edit(); });
    return changed;
}

void TForm1::showRooms() {
    clearRoomList();
    for (int n = 1; n <= project_.roomCount; ++n) appendRoomName(project_.room(n).name.str());
    redrawAll();
    if (project_.roomCount > 0) selectRoom(project_.currentRoom - 1);
}

void TForm1::showRestoredProject() {
    showRooms();
    if (settingsTexts(project_) != settingsShown_) {
        showBuildSettings();
        readBaseTextures(false);  // the restored settings may name another base level
    }
    roomEditor_->showRestoredProject();
}

void TForm1::showBuildSettings() {
    Form5->setFields({.description = fromCp1250(project_.levelDescription.view()),
                      .comment = fromCp1250(project_.comment.view()),
                      .baseLevel = fromCp1250(project_.baseLevelPath.view()),
                      .itemsFile = fromCp1250(project_.itemsFilePath.view()),
                      .lightsFile = fromCp1250(project_.lightsFilePath.view()),
                      .outputLevel = fromCp1250(project_.outputLevelPath.view())});
    settingsShown_ = settingsTexts(project_);
}

bool TForm1::confirmDiscard() {
    history_->end();  // a drag still open is a change too
    if (!isModified()) return true;
    switch (askSaveChanges()) {
        case QMessageBox::Yes:
            return saveProjectCommand();
        case QMessageBox::No:
            return true;
        default:
            return false;
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (confirmDiscard()) {
        event->accept();
    } else {
        event->ignore();
    }
}

// --- Room commands --------------------------------------------------------------------------

void TForm1::SpeedButton1Click() {
    if (!canAddRoom(project_, *this)) return;
    Form2->setRoomName(fromCp1250(suggestedRoomName(project_)));
    if (Form2->exec() != QDialog::Accepted) return;
    history_->record(StepKind::AddRoom, [this] { addRoom(project_, Form2->values(), *this); });
}

void TForm1::SpeedButton2Click() {
    if (project_.roomCount == 0 || ListBox1->currentItem() == nullptr) return;
    Form2->setValues(currentRoomProperties(project_, toCp1250(ListBox1->currentItem()->text())));
    const RoomProperties shown = Form2->values();
    if (Form2->exec() != QDialog::Accepted) return;
    history_->record(StepKind::RoomProperties,
                     [&] { applyRoomProperties(project_, shown.rows, shown.columns, Form2->values(), *this); });
}

void TForm1::Button1Click() {
    history_->record(StepKind::CloneRoom, [this] { cloneRoom(project_, *this); });
}

void TForm1::Button2Click() {
    if (project_.roomCount < 2) return;
    history_->record(StepKind::DeleteRoom, [this] { deleteLastRoom(project_, *this); });
}

void TForm1::Button3Click() { openRoomEditor(); }

void TForm1::Nowy1Click() {
    if (!confirmDiscard()) return;
    newProject(project_, *this);
    projectPath_.clear();
    history_->restart();
}

// --- Project files --------------------------------------------------------------------------

void TForm1::updateRecentFileMenu() {
    const std::vector<std::string>& paths = recentFiles_.paths();
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const int index = static_cast<int>(i);
        if (index >= recentFileActions_.size()) {
            QAction* entry = Plik1->addAction(QString());
            entry->setObjectName(QStringLiteral("RecentFile") + QString::number(index + 1));
            connect(entry, &QAction::triggered, this, [this, index] { RecentFileClick(index); });
            recentFileActions_ << entry;
        }
        QString path = fromCp1250(paths[i]);
        path.replace(QLatin1Char('&'), QStringLiteral("&&"));  // shown as written, not as an access key
        recentFileActions_[index]->setText(QLatin1Char('&') + QString::number(index + 1) + QLatin1Char(' ') + path);
    }
}

bool TForm1::openProjectFile(const QString& path) {
    ignoreNextMove_ = true;
    setProgress(10);
    auto loaded = std::make_unique<Project>();
    try {
        loadProject(toPath(path), *loaded, [this](int value) { setProgress(value); });
    } catch (const FormatError& e) {
        // Refused or unreadable: the reader's own reason under the message; the open project
        // is untouched.
        setProgress(0);
        cw::ui::showMessage(this, QStringLiteral("Error Opening the file!"), QString::fromUtf8(e.what()));
        return false;
    } catch (const IoError& e) {
        setProgress(0);
        cw::ui::showMessage(this, QStringLiteral("Error Opening the file!"), QString::fromUtf8(e.what()));
        return false;
    } catch (const std::exception& e) {
        setProgress(0);
        cw::ui::showMessage(this, QString::fromUtf8(e.what()));
        return false;
    }
    adoptProject(project_, *loaded);
    projectPath_ = path;
    project_.projectFileName = toCp1250(path);
    history_->restart();

    showRooms();
    setWindowTitle(kProjectCaption + path);
    showBuildSettings();
    setProgress(100);
    setProgress(0);
    statusBar()->clearMessage();  // what was said of the project before no longer stands
    readBaseTextures(true);
    return true;
}

bool TForm1::saveProjectTo(const QString& path, bool updateCaption) {
    setProgress(10);
    try {
        saveProject(project_, toPath(path), [this](int value) { setProgress(value); });
    } catch (const std::exception& e) {
        setProgress(0);
        cw::ui::showMessage(this, QString::fromUtf8(e.what()));
        return false;
    }
    projectPath_ = path;
    project_.projectFileName = toCp1250(path);
    history_->markSaved();
    // A path that Windows-1250 cannot write would be a dead entry: it is saved, not listed.
    if (recentFiles_.touchFile(path.toStdString())) {
        try {
            recentFiles_.save(configFile_);
        } catch (const std::exception& e) {
            cw::ui::showMessage(this, QString::fromUtf8(e.what()));
        }
        updateRecentFileMenu();
    }
    if (updateCaption) setWindowTitle(kProjectCaption + path);
    setProgress(0);
    return true;
}

bool TForm1::saveProjectCommand() {
    QString path = projectPath_;
    if (path.isEmpty()) path = askFileName(saveProjectDialog());
    if (path.isEmpty()) return false;
    return saveProjectTo(path, true);
}

void TForm1::Otworz1Click() {
    if (!confirmDiscard()) return;
    const QString path = askFileName(openProjectDialog());
    if (!path.isEmpty()) openProjectFile(path);
}

void TForm1::RecentFileClick(int index) {
    const std::vector<std::string>& paths = recentFiles_.paths();
    if (index < 0 || static_cast<std::size_t>(index) >= paths.size()) return;
    const std::filesystem::path file = pathFromBytes(paths[static_cast<std::size_t>(index)]);
    if (!fileExists(file)) {
        cw::ui::showMessage(this, QStringLiteral(" File not Found! "));
        setProgress(0);
        return;
    }
    if (!confirmDiscard()) return;
    openProjectFile(toQString(file));
}

void TForm1::Zapisz1Click() { saveProjectCommand(); }

void TForm1::Zapiszjako1Click() {
    const QString path = askFileName(saveProjectDialog());
    if (!path.isEmpty()) saveProjectTo(path, true);
}

// --- Level build ----------------------------------------------------------------------------

namespace {

// The build reports to the main window: progress bar, message boxes, and the save of a project
// that has a file name once the settings are stored in it.
class WindowBuildObserver : public BuildObserver {
public:
    explicit WindowBuildObserver(std::function<void(int)> progress, std::function<void(const std::string&)> message,
                                 std::function<void()> stored)
        : progress_(std::move(progress)), message_(std::move(message)), stored_(std::move(stored)) {}
    void setProgress(int value) override { progress_(value); }
    void showMessage(const std::string& text) override { message_(text); }
    void settingsStored(Project& /*project*/) override { stored_(); }

private:
    std::function<void(int)> progress_;
    std::function<void(const std::string&)> message_;
    std::function<void()> stored_;
};

// What a build that wrote its level tells in the status bar: where the level went and, when the
// build saved the project, where that went.
QString builtMessage(const QString& outputLevel, const QString& savedProject) {
    QString text = QStringLiteral("The level was written to \"%1\".").arg(QFileInfo(outputLevel).absoluteFilePath());
    if (!savedProject.isEmpty()) text += QStringLiteral(" The project was saved to \"%1\".").arg(savedProject);
    return text;
}

}  // namespace

void TForm1::MakePHD1Click() {
    if (Form5->exec() != QDialog::Accepted) {
        readBaseTextures(false);  // the settings may name another base level now
        return;
    }
    Image1->refresh();
    statusBar()->clearMessage();  // what the last build did no longer stands
    const BuildSettingsFields fields = Form5->fields();
    const BuildSettings settings{.description = toCp1250(fields.description),
                                 .comment = toCp1250(fields.comment),
                                 .baseLevel = toCp1250(fields.baseLevel),
                                 .outputFile = toCp1250(fields.outputLevel),
                                 .itemsFile = toCp1250(fields.itemsFile),
                                 .lightsFile = toCp1250(fields.lightsFile)};
    bool projectSaved = false;
    // The settings the build stores are one step: ended when they are stored, before the save.
    WindowBuildObserver observer([this](int value) { setProgress(value); },
                                 [this](const std::string& text) { showMessage(text); },
                                 [this, &projectSaved] {
                                     history_->end();
                                     settingsShown_ = settingsTexts(project_);
                                     // Saved as the project is; the caption stays.
                                     if (!projectPath_.isEmpty()) projectSaved = saveProjectTo(projectPath_, false);
                                 });
    history_->begin(StepKind::BuildSettings);
    try {
        if (!buildWorkspace_) buildWorkspace_ = std::make_unique<LevelImage>();
        BuildEnvironment environment;
        environment.programFolder = programFolder_;
        environment.workspace = buildWorkspace_.get();
        if (!projectPath_.isEmpty()) environment.projectFile = toPath(projectPath_);
        if (buildLevel(project_, settings, environment, observer) == BuildOutcome::Written)
            statusBar()->showMessage(builtMessage(fields.outputLevel, projectSaved ? projectPath_ : QString()));
    } catch (const std::exception& e) {
        setProgress(0);
        cw::ui::showMessage(this, QString::fromUtf8(e.what()));
    }
    history_->end();
    readBaseTextures(false);  // after the build, which has the progress bar while it runs
}

void TForm1::Informacje2Click() { Form4->exec(); }

// --- Base level textures ----------------------------------------------------------------------

void TForm1::Wczytajtekstury1Click() {
    statusBar()->clearMessage();  // asked for: its note is shown
    readBaseTextures(true);
}

void TForm1::readBaseTextures(bool always) {
    // A blank name names no base level (as for the build).
    const std::string name = toCp1250(Form5->fields().baseLevel);
    const std::string path = trimBlanks(name).empty() ? std::string() : name;
    if (!always && path == baseTexturesAsked_) return;
    baseTexturesAsked_ = path;
    baseTextures_->load(path);
}

// --- Plan mouse handling --------------------------------------------------------------------

void TForm1::ListBox1Click(int row) {
    if (row < 0 || row >= project_.roomCount) return;
    // The current room is saved with the project and is where the player starts: a change.
    history_->record(StepKind::ChooseRoom, [this, row] { chooseRoom(project_, row + 1); });
    redrawAll();
}

void TForm1::Image1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers /*modifiers*/, int x, int y) {
    if (button == Qt::LeftButton) {
        // A drag, however many moves it makes, is one step, ended when the button is released.
        history_->begin(StepKind::MoveRoom);
        // The pointer jumps to the current room's top-left corner, so a drag moves the room by it.
        if (project_.planX >= 0 && project_.planY >= 0)
            warpPointer(Image1->mapToGlobal(QPoint(project_.planX, project_.planY)));
    } else if (button == Qt::RightButton) {
        const int room = roomAtPlanPoint(project_, x, y);
        if (room == 0) return;
        history_->record(StepKind::ChooseRoom, [this, room] { chooseRoom(project_, room); });
        redrawAll();
        selectRoom(room - 1);
    }
}

void TForm1::Image1MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers /*modifiers*/, int x, int y) {
    if (ignoreNextMove_) {
        ignoreNextMove_ = false;
        return;
    }
    if (planBitmap_.image.isNull() || !(buttons & Qt::LeftButton)) return;
    if (project_.roomCount == 0) return;  // nothing to drag
    // The room follows the pointer on the 10-pixel raster, kept on the plan.
    if (!history_->recording()) history_->begin(StepKind::MoveRoom);  // a drag begun outside the plan
    moveCurrentRoom(project_, snapToRaster(x), snapToRaster(y));
    redrawCurrent();
}

void TForm1::Image1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers /*modifiers*/, int /*x*/, int /*y*/) {
    if (button == Qt::LeftButton) history_->end();
}

}  // namespace cw::ui
