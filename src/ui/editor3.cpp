#include "ui/editor3.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>
#include <exception>
#include <utility>

#include "raster/draw.h"
#include "ui/base_textures.h"
#include "ui/messages.h"
#include "ui/picture_control.h"
#include "ui/room_view_3d.h"
#include "ui/screen_bitmap.h"
#include "ui/texts.h"
#include "ui/texture_fields.h"

namespace cw::ui {

// The control numbers and texts of one side view page.
struct TForm3::SidePageLayout {
    SideView view;
    const char* picture;
    const char* scroll;
    QRect scrollGeometry;
    QString pictureHint;
    QString leftLabel;
    QString rightLabel;
    const char* line;
    QString lineLabel;
    QString lineHint;
    const char* lineCount;
    const char* above;
    const char* beside;
    const char* below;
    std::array<const char*, 5> floorTextures;
    std::array<const char*, 5> floorLights;
    std::array<const char*, 5> ceilingTextures;
    std::array<const char*, 5> ceilingLights;
    std::array<std::pair<const char*, int>, 10> shapeButtons;  // objectName, ShapeTable entry
    const char* okButton;
    std::array<const char*, 2> trackBars;
};

namespace {

constexpr int kMaxTexture = 9999;
constexpr int kMaxLight = 32;
constexpr int kMaxRoomField = 254;

// Translated where they are shown (TForm3::tr).
const char* const kFaceNames[5] = {QT_TRANSLATE_NOOP("cw::ui::TForm3", "Przód"), QT_TRANSLATE_NOOP("cw::ui::TForm3", "Tył"),
                                   QT_TRANSLATE_NOOP("cw::ui::TForm3", "Lewa"), QT_TRANSLATE_NOOP("cw::ui::TForm3", "Prawa"),
                                   QT_TRANSLATE_NOOP("cw::ui::TForm3", "Góra")};

template <typename W>
W* make(QWidget* parent, const char* name, QRect geometry) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

QSpinBox* makeSpin(QWidget* parent, const char* name, QRect geometry, int minimum, int maximum, int value,
                   const QString& hint = {}) {
    auto* spin = make<QSpinBox>(parent, name, geometry);
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    if (!hint.isEmpty()) spin->setToolTip(hint);
    return spin;
}

QLabel* makeLabel(QWidget* parent, const QString& text, QRect geometry, Qt::Alignment align = Qt::AlignLeft) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

// "Editing " and the room's name (Windows-1250), cut as the caption's field allows.
std::string editingCaption(const EditorRoom& room) {
    std::string caption = "Editing " + room.name.str();
    caption = caption.substr(0, 28) + "  ";
    return caption.substr(0, 30);
}

// A picture of a shape for its button: the floor glyph over the view background.
QIcon shapePicture(const IndexedImage& glyph, const PaletteBlock& palette) {
    if (!IsValidImage(glyph)) return {};
    IndexedImage cell;
    CreateImage(cell, glyph.Width, glyph.Height);
    FillImage(cell, kViewBackground);
    PutImageXor(glyph, cell, 0, 0);
    cell.Palette = std::make_shared<PaletteBlock>(palette);
    ScreenBitmap bitmap;
    ImageToBitmap(cell, bitmap);
    return QIcon(QPixmap::fromImage(bitmap.image.scaled(2 * bitmap.image.width(), 2 * bitmap.image.height())));
}

}  // namespace

TForm3::TForm3(Project& project, EditorServices& services, QWidget* parent)
    : QDialog(parent), project_(project), services_(services) {
    setObjectName(QStringLiteral("Form3"));
    // Opened maximised; where the window is shown at its own size (a window system that does not
    // maximise, or the window restored) that size still leaves the 3D view its place beside the pages.
    resize(1200, 600);
    setWindowState(Qt::WindowMaximized);

    // Wide enough for the side pages' face fields with the thumbnails beside their textures.
    PageControl1 = make<QTabWidget>(this, "PageControl1", QRect(0, 0, 648, 417));
    PageControl1->setToolTip(tr("Kliknij do edycji podłogi i sufitu"));
    auto* tab1 = new QWidget;
    tab1->setObjectName(QStringLiteral("TabSheet1"));
    auto* tab2 = new QWidget;
    tab2->setObjectName(QStringLiteral("TabSheet2"));
    auto* tab3 = new QWidget;
    tab3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(tab1, tr("Widok góra/dół"));
    PageControl1->addTab(tab2, tr("Widok tył/przód"));
    PageControl1->addTab(tab3, tr("Widok lewy/prawy"));

    buildTopPage(tab1);
    buildSidePage(
        tab2, frontBack_,
        SidePageLayout{.view = SideView::FrontBack,
                       .picture = "Image3",
                       .scroll = "ScrollBox3",
                       .scrollGeometry = QRect(64, 120, 313, 242),
                       .pictureHint = tr("Kliknij dla wybrania wysokości podłogi/sufitu"),
                       .leftLabel = tr("Zachód"),
                       .rightLabel = tr("Wschód"),
                       .line = "SpinEdit46",
                       .lineLabel = tr("Rząd"),
                       .lineHint = tr("Zaznacz rząd do edycji"),
                       .lineCount = "SpinEdit45",
                       .above = "SpinEdit24",
                       .beside = "SpinEdit47",
                       .below = "SpinEdit48",
                       .floorTextures = {"SpinEdit25", "SpinEdit26", "SpinEdit27", "SpinEdit28", "SpinEdit29"},
                       .floorLights = {"SpinEdit30", "SpinEdit31", "SpinEdit32", "SpinEdit33", "SpinEdit34"},
                       .ceilingTextures = {"SpinEdit35", "SpinEdit36", "SpinEdit37", "SpinEdit38", "SpinEdit39"},
                       .ceilingLights = {"SpinEdit44", "SpinEdit43", "SpinEdit42", "SpinEdit41", "SpinEdit40"},
                       .shapeButtons = {{{"SpeedButton1", 1},
                                         {"SpeedButton12", 2},
                                         {"SpeedButton13", 3},
                                         {"SpeedButton14", 4},
                                         {"SpeedButton15", 11},
                                         {"SpeedButton16", 12},
                                         {"SpeedButton17", 13},
                                         {"SpeedButton18", 14},
                                         {"SpeedButton19", 15},
                                         {"SpeedButton20", 16}}},
                       .okButton = "Button3",
                       .trackBars = {"TrackBar1", "TrackBar2"}});
    buildSidePage(
        tab3, leftRight_,
        SidePageLayout{.view = SideView::LeftRight,
                       .picture = "Image2",
                       .scroll = "ScrollBox2",
                       .scrollGeometry = QRect(64, 120, 319, 242),
                       .pictureHint = QString(),
                       .leftLabel = tr("Północ"),
                       .rightLabel = tr("Południe"),
                       .line = "SpinEdit1",
                       .lineLabel = tr("Kolumna"),
                       .lineHint = tr("Zaznacz kolumnę do edycji"),
                       .lineCount = "SpinEdit2",
                       .above = "SpinEdit53",
                       .beside = "SpinEdit52",
                       .below = "SpinEdit23",
                       .floorTextures = {"SpinEdit3", "SpinEdit4", "SpinEdit5", "SpinEdit6", "SpinEdit7"},
                       .floorLights = {"SpinEdit8", "SpinEdit9", "SpinEdit10", "SpinEdit11", "SpinEdit12"},
                       .ceilingTextures = {"SpinEdit13", "SpinEdit14", "SpinEdit15", "SpinEdit16", "SpinEdit17"},
                       .ceilingLights = {"SpinEdit18", "SpinEdit19", "SpinEdit20", "SpinEdit21", "SpinEdit22"},
                       .shapeButtons = {{{"SpeedButton2", 1},
                                         {"SpeedButton3", 2},
                                         {"SpeedButton4", 3},
                                         {"SpeedButton5", 4},
                                         {"SpeedButton6", 5},
                                         {"SpeedButton7", 6},
                                         {"SpeedButton8", 7},
                                         {"SpeedButton9", 8},
                                         {"SpeedButton10", 9},
                                         {"SpeedButton11", 10}}},
                       .okButton = "Button2",
                       .trackBars = {"TrackBar3", "TrackBar4"}});
    PageControl1->setCurrentWidget(tab2);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm3::PageControl1Change);

    Image1->setBitmap(&services_.topViewBitmap());
    frontBack_.picture->setBitmap(&services_.frontBackBitmap());
    leftRight_.picture->setBitmap(&services_.leftRightBitmap());

    view3d_ = new RoomView3D(this);
    BaseTextureSource& textures = services_.baseTextureSource();
    view3d_->setTextures(&textures.textures());
    connect(&textures, &BaseTextureSource::texturesChanged, this, [this] {
        view3d_->setTextures(&services_.baseTextureSource().textures());
        // The game kind decides the build's double-sided ceilings; a closed editor shows the
        // room again when it opens.
        if (isVisible()) showRoomIn3D();
    });
    for (SidePage* side : {&frontBack_, &leftRight_})
        connect(side->lineCount, &QSpinBox::valueChanged, this, [this] { showRoomIn3D(); });

    FormCreate();
}

void TForm3::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (view3d_ == nullptr) return;
    // Beside the pages when there is room for it, else below them.
    const QRect pages = PageControl1->geometry();
    const QRect beside(pages.right() + 6, 4, width() - pages.right() - 10, height() - 8);
    const QRect below(4, pages.bottom() + 6, width() - 8, height() - pages.bottom() - 10);
    view3d_->setGeometry(beside.width() >= 200 || beside.width() >= below.height() ? beside : below);
}

TForm3::~TForm3() = default;

void TForm3::buildTopPage(QWidget* page) {
    auto* group = make<QGroupBox>(page, "GroupBox1", QRect(4, 0, 400, 68));
    group->setTitle(tr("Widok portali"));
    struct Direction {
        const char* name;
        QString caption;
        QString hint;
    };
    const std::array<Direction, 6> directions = {{
        {.name = "RadioButton1",
         .caption = tr("Przód"),
         .hint = tr("Widok z portalu przy północnej ścianie")},
        {.name = "RadioButton2",
         .caption = tr("Tył"),
         .hint = tr("Widok z portalu przy południowej ścianie")},
        {.name = "RadioButton3",
         .caption = tr("Lewa"),
         .hint = tr("Widok z portalu przy zachodniej ścianie")},
        {.name = "RadioButton4",
         .caption = tr("Prawa"),
         .hint = tr("Widok z portalu przy wschodniej ścianie")},
        {.name = "RadioButton5",
         .caption = tr("Góra"),
         .hint = tr("Widok z portalu na suficie")},
        {.name = "RadioButton6",
         .caption = tr("Dół"),
         .hint = tr("Widok z portalu na podłodze")},
    }};
    for (int i = 0; i < 6; ++i) {
        const Direction& d = directions[std::size_t(i)];
        auto* radio = make<QRadioButton>(group, d.name, QRect(6 + 65 * i, 16, 64, 20));
        radio->setText(d.caption);
        radio->setToolTip(d.hint);
        connect(radio, &QRadioButton::clicked, this, [this, i] { RadioButtonClick(i + 1); });
        RadioButtons[std::size_t(i)] = radio;
    }
    RadioButtons[0]->setChecked(true);
    makeLabel(group, QStringLiteral("Room#"), QRect(6, 40, 44, 24));
    SpinEdit51 = makeSpin(group, "SpinEdit51", QRect(50, 40, 60, 24), 1, kMaxRoomField, 1,
                          tr("Widok z portalu do pomieszczenia nr."));
    makeLabel(group, tr("Szer."), QRect(124, 40, 40, 24));
    SpinEdit49 = makeSpin(group, "SpinEdit49", QRect(164, 40, 56, 24), 1, kMaxSectorsPerSide, 1,
                          tr("Szerokość portalu"));
    makeLabel(group, tr("Dł./Wys."), QRect(234, 40, 60, 24));
    SpinEdit50 = makeSpin(group, "SpinEdit50", QRect(294, 40, 56, 24), 1, kMaxSectorsPerSide, 1,
                          tr("Długość/Wysokość portalu"));

    ListBox1 = make<QListWidget>(page, "ListBox1", QRect(410, 4, 108, 78));
    ListBox1->setToolTip(tr("Zaznacz portal"));
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!filling_) ListBox1Click();
    });
    connect(ListBox1, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });

    struct ButtonLayout {
        const char* name;
        QString caption;
        QString hint;
        void (TForm3::*handler)();
    };
    const std::array<ButtonLayout, 3> buttons = {{
        {.name = "Button1",
         .caption = tr("Dodaj widok"),
         .hint = tr("Dodaj nowy portal z aktualnymi wartościami"),
         .handler = &TForm3::Button1Click},
        {.name = "Button5",
         .caption = tr("Zamień"),
         .hint = tr("Zamień właściwości portalu na aktualne wartości"),
         .handler = &TForm3::Button5Click},
        {.name = "Button4",
         .caption = tr("Usuń widok"),
         .hint = tr("Usuń ostatni portal z listy"),
         .handler = &TForm3::Button4Click},
    }};
    for (int i = 0; i < 3; ++i) {
        const ButtonLayout& b = buttons[std::size_t(i)];
        auto* button = make<QPushButton>(page, b.name, QRect(522, 4 + 27 * i, 92, 25));
        button->setText(b.caption);
        button->setToolTip(b.hint);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, b.handler);
    }

    ScrollBox1 = make<QScrollArea>(page, "ScrollBox1", QRect(39, 88, 531, 273));
    Image1 = new PictureControl;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setToolTip(tr("Wciśnij Shift i kliknij w miejscu gdzie ma być portal"));
    ScrollBox1->setWidget(Image1);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(Image1, &PictureControl::mousePressed, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) { Image1MouseDown(b, m, x, y); });
    connect(Image1, &PictureControl::mouseMoved, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, int x, int y) { Image1MouseMove(x, y); });

    // "Północ" stands centred over the picture in the gap left of the portal list and its
    // buttons, which reach down to y = 82: it must not lie over them and swallow their clicks.
    makeLabel(page, tr("Północ"), QRect(39 + 531 / 2 - 100, 68, 200, 20), Qt::AlignHCenter);
    makeLabel(page, tr("Południe"), QRect(39, 362, 531, 20), Qt::AlignHCenter);
    // Only 39 pixels stand left of the top view's scroll box: its side labels are set smaller.
    QFont small = page->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    makeLabel(page, tr("Zachód"), QRect(0, 214, 39, 20), Qt::AlignHCenter)->setFont(small);
    makeLabel(page, tr("Wschód"), QRect(571, 214, 48, 20), Qt::AlignHCenter)->setFont(small);
}

void TForm3::buildSidePage(QWidget* page, SidePage& side, const SidePageLayout& pageLayout) {
    side.view = pageLayout.view;
    const QRect box = pageLayout.scrollGeometry;

    makeLabel(page, pageLayout.lineLabel, QRect(4, 4, 52, 24));
    side.line = makeSpin(page, pageLayout.line, QRect(56, 4, 50, 24), 1, 1, 1, pageLayout.lineHint);
    connect(side.line, &QSpinBox::valueChanged, this, [this] { SpinEdit1Change(); });
    makeLabel(page, tr("Zazn."), QRect(4, 32, 52, 24));
    side.lineCount = makeSpin(page, pageLayout.lineCount, QRect(56, 32, 50, 24), 1, kMaxSectorsPerSide, 1,
                              tr("Zaznacz ile rzędów chcesz edytować w tym samym czasie"));

    // The shape buttons: one group, the first button down.
    auto* shapes = make<QGroupBox>(page, pageLayout.view == SideView::FrontBack ? "GroupBox2" : "GroupBox3",
                                   QRect(112, 0, 290, 58));
    shapes->setTitle(tr("Podłoga/Sufit"));
    shapes->setToolTip(tr("Kształt podłogi/sufitu"));
    side.shapes = new QButtonGroup(this);
    side.shapes->setExclusive(true);
    for (int i = 0; i < 10; ++i) {
        const auto [name, shape] = pageLayout.shapeButtons[std::size_t(i)];
        auto* button = make<QToolButton>(shapes, name, QRect(6 + 28 * i, 20, 27, 34));
        button->setCheckable(true);
        button->setToolTip(tr("Kształt podłogi/sufitu"));
        button->setText(QString::number(shape));
        button->setIconSize(QSize(22, 22));
        side.shapes->addButton(button, shape);
    }
    side.shapes->buttons().first()->setChecked(true);
    connect(side.shapes, &QButtonGroup::idClicked, this, [&side](int shape) { side.shape = shape; });

    // The room link fields.
    struct LinkLayout {
        const char* name;
        QString label;
        QString hint;
        QSpinBox** field;
        bool beside;
    };
    const std::array<LinkLayout, 3> links = {{
        {.name = pageLayout.above,
         .label = tr("Pom. powyżej"),
         .hint = tr("Sektor jest niezgodny z numerem pomieszczenia powyżej"),
         .field = &side.above,
         .beside = false},
        {.name = pageLayout.beside,
         .label = tr("Pom. z boku"),
         .hint = tr("Sektor jest niezgodny z numerem pomieszczenia z boku"),
         .field = &side.beside,
         .beside = true},
        {.name = pageLayout.below,
         .label = tr("Pom. poniżej"),
         .hint = tr("Sektor jest niezgodny z numerem pomieszczenia poniżej"),
         .field = &side.below,
         .beside = false},
    }};
    for (int i = 0; i < 3; ++i) {
        const LinkLayout& l = links[std::size_t(i)];
        makeLabel(page, l.label, QRect(4 + 130 * i, 58, 100, 18));
        *l.field = makeSpin(page, l.name, QRect(4 + 130 * i, 76, 60, 22), 0, kMaxRoomField, 0, l.hint);
        connect(*l.field, &QSpinBox::valueChanged, this,
                [this, &side, beside = l.beside] { linkFieldChanged(side, beside); });
    }

    // The picture, its scroll box, the direction labels around it and the two track bars.
    side.scroll = make<QScrollArea>(page, pageLayout.scroll, box);
    side.picture = new PictureControl;
    side.picture->setObjectName(QString::fromLatin1(pageLayout.picture));
    if (!pageLayout.pictureHint.isEmpty()) side.picture->setToolTip(pageLayout.pictureHint);
    side.scroll->setWidget(side.picture);
    side.scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(side.picture, &PictureControl::mousePressed, this,
            [this, &side](Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) { sideViewMouseDown(side, b, m, x, y); });
    connect(side.picture, &PictureControl::mouseMoved, this,
            [this, &side](Qt::MouseButtons, Qt::KeyboardModifiers, int x, int y) { sideViewMouseMove(side, x, y); });
    makeLabel(page, tr("Góra"), QRect(box.left(), box.top() - 22, box.width(), 20), Qt::AlignHCenter);
    makeLabel(page, tr("Dół"), QRect(box.left(), box.bottom() + 2, box.width(), 20), Qt::AlignHCenter);
    makeLabel(page, pageLayout.leftLabel, QRect(18, box.center().y() - 10, box.left() - 18, 20), Qt::AlignHCenter);
    makeLabel(page, pageLayout.rightLabel, QRect(box.right() + 2, box.center().y() - 10, 56, 20), Qt::AlignLeft);
    auto* track1 = make<QSlider>(page, pageLayout.trackBars[0], QRect(0, box.top(), 18, box.height()));
    track1->setOrientation(Qt::Vertical);
    auto* track2 = make<QSlider>(page, pageLayout.trackBars[1], QRect(box.right() + 58, box.top(), 18, box.height()));
    track2->setOrientation(Qt::Vertical);

    // The face fields: "Podłoga" and "Sufit", each with its five faces from front to surface;
    // beside each texture number the thumbnail of its texture, which opens the texture picker.
    const int left = box.right() + 80;
    const auto faceTable = [&](const QString& heading, int top, const std::array<const char*, 5>& textures,
                               const std::array<const char*, 5>& lights, std::array<QSpinBox*, 5>& textureFields,
                               std::array<QSpinBox*, 5>& lightFields) {
        makeLabel(page, heading, QRect(left, top, 150, 18));
        makeLabel(page, tr("Textura"), QRect(left + 42, top + 18, 60, 18));
        makeLabel(page, tr("Światło"), QRect(left + 129, top + 18, 50, 18));
        for (int f = 0; f < 5; ++f) {
            const int y = top + 36 + 24 * f;
            makeLabel(page, tr(kFaceNames[f]), QRect(left, y, 42, 23));
            QSpinBox* texture = makeSpin(page, textures[std::size_t(f)], QRect(left + 42, y, 60, 23), 0, kMaxTexture, 0);
            textureFields[std::size_t(f)] = texture;
            auto* thumbnail = new TextureThumbnail(texture, &services_.baseTextureSource(), 23, page);
            thumbnail->setObjectName(texture->objectName() + QStringLiteral("Thumbnail"));
            thumbnail->move(left + 103, y);
            lightFields[std::size_t(f)] = makeSpin(page, lights[std::size_t(f)], QRect(left + 129, y, 46, 23), 0, kMaxLight, 0);
        }
    };
    faceTable(tr("Podłoga"), 0, pageLayout.floorTextures, pageLayout.floorLights, side.floorTextures, side.floorLights);
    faceTable(tr("Sufit"), 160, pageLayout.ceilingTextures, pageLayout.ceilingLights, side.ceilingTextures,
              side.ceilingLights);

    auto* ok = make<QPushButton>(page, pageLayout.okButton, QRect(left + 95, 328, 80, 28));
    ok->setText(QStringLiteral("Ok."));
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

// --- Creation, showing, activation ------------------------------------------------------------

void TForm3::FormCreate() {
    try {
        loadShapeGlyphs(services_.programFolder(), glyphs_);
    } catch (const std::exception& e) {
        showMessage(this, QString::fromUtf8(e.what()));
    }
    // Set even when a glyph file failed, so that no selection is ever 0.
    frontBack_.shape = 1;
    leftRight_.shape = 1;
    portalDirection_ = 1;
    makeShapeButtonPictures();
}

void TForm3::makeShapeButtonPictures() {
    for (SidePage* side : {&frontBack_, &leftRight_}) {
        for (QAbstractButton* button : side->shapes->buttons()) {
            const QIcon icon = shapePicture(glyphs_.floor[std::size_t(side->shapes->id(button))], services_.programPalette());
            if (icon.isNull()) continue;
            button->setIcon(icon);
            static_cast<QToolButton*>(button)->setToolButtonStyle(Qt::ToolButtonIconOnly);
        }
    }
}

void TForm3::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;  // the window coming back from minimised is no new opening
    FormShow();
    FormActivate();
}

void TForm3::FormShow() { setWindowTitle(fromCp1250(editingCaption(room()))); }

void TForm3::PageControl1Change() {
    setWindowTitle(fromCp1250(editingCaption(room())));
    applyPendingScroll();
}

EditorRoom& TForm3::room() {
    if (project_.currentRoom < 1 || project_.currentRoom > kMaxRooms) return spareRoom_;
    return project_.current();
}

void TForm3::showRoom() {
    const EditorRoom& r = room();
    filling_ = true;
    // The selectors keep their values; a room without sectors still offers line 1.
    leftRight_.line->setRange(1, std::max<int>(1, r.numX()));
    frontBack_.line->setRange(1, std::max<int>(1, r.numZ()));
    filling_ = false;

    makeRoomViewImages(r, services_.programPalette(), views_);
    ImageToBitmap(views_.topView, services_.topViewBitmap());
    ImageToBitmap(views_.leftRight, services_.leftRightBitmap());
    ImageToBitmap(views_.frontBack, services_.frontBackBitmap());
    RedrawRoomViews();
}

void TForm3::fillPortalList() {
    filling_ = true;
    ListBox1->clear();
    for (int k = 1; k <= portalsInUse(room()); ++k) ListBox1->addItem(QStringLiteral("Door #") + QString::number(k));
    ListBox1->setCurrentRow(-1);
    ListBox1->clearSelection();
    filling_ = false;
}

void TForm3::showRestoredProject() {
    if (!isVisible()) return;
    if (project_.roomCount == 0) {  // the first room's adding undone: nothing left to edit
        reject();
        return;
    }
    const int selected = selectedPortal();
    showRoom();
    fillPortalList();
    if (selected >= 1 && selected <= portalsInUse(room())) {
        selectPortalEntry(selected);
        ListBox1Click();  // the portal's fields as restored
    }
    setWindowTitle(fromCp1250(editingCaption(room())));
}

void TForm3::FormActivate() {
    EditorRoom& r = room();
    showRoom();

    // Scroll positions: the top view to its south edge, the side views to the middle. A page
    // that is not shown gets its position when it is first shown.
    topScrollPending_ = true;
    frontBack_.scrollPending = true;
    leftRight_.scrollPending = true;
    applyPendingScroll();

    for (SidePage* side : {&frontBack_, &leftRight_}) {
        for (int f = 0; f < 5; ++f) {
            side->floorTextures[std::size_t(f)]->setValue(r.defaultFloorTextures[std::size_t(f)] + 1);
            side->ceilingTextures[std::size_t(f)]->setValue(r.defaultCeilingTextures[std::size_t(f)] + 1);
            side->floorLights[std::size_t(f)]->setValue(r.roomLight);
            side->ceilingLights[std::size_t(f)]->setValue(r.roomLight);
        }
    }
    services_.topViewBitmap().ignorePalette = true;
    services_.leftRightBitmap().ignorePalette = true;
    services_.frontBackBitmap().ignorePalette = true;

    fillPortalList();

    // The link fields keep their values from the last opening; the link modes follow them, so a
    // "Pom. z boku" still shown is still written.
    for (SidePage* side : {&frontBack_, &leftRight_}) side->linkMode = linkModeOf(readSideFields(*side).links);
}

void TForm3::applyPendingScroll() {
    QWidget* page = PageControl1->currentWidget();
    if (topScrollPending_ && page->isAncestorOf(ScrollBox1)) {
        QScrollBar* bar = ScrollBox1->verticalScrollBar();
        bar->setValue(bar->maximum());
        topScrollPending_ = false;
    }
    for (SidePage* side : {&frontBack_, &leftRight_}) {
        if (!side->scrollPending || !page->isAncestorOf(side->scroll)) continue;
        const int content = side->picture->height();
        const int client = side->scroll->viewport()->height();
        side->scroll->verticalScrollBar()->setValue(content / 2 - client / 2);
        side->scrollPending = false;
    }
}

// --- Drawing ----------------------------------------------------------------------------------

void TForm3::RedrawRoomViews() {
    drawTopView(room(), views_);
    DrawSideViews();
    PresentRoomViews();
}

void TForm3::DrawSideViews() {
    drawSideViews(room(), glyphs_, leftRight_.line->value(), frontBack_.line->value(), views_);
}

void TForm3::PresentRoomViews() {
    UpdateBitmapBits(views_.leftRight, services_.leftRightBitmap());
    UpdateBitmapBits(views_.frontBack, services_.frontBackBitmap());
    drawPortalMarks(room(), views_);
    UpdateBitmapBits(views_.topView, services_.topViewBitmap());
    Image1->setBitmap(&services_.topViewBitmap());
    leftRight_.picture->setBitmap(&services_.leftRightBitmap());
    frontBack_.picture->setBitmap(&services_.frontBackBitmap());
    showRoomIn3D();
}

void TForm3::showRoomIn3D() {
    const SceneSelection selection{.firstRow = frontBack_.line->value(),
                                   .lastRow = frontBack_.line->value() + frontBack_.lineCount->value() - 1,
                                   .firstColumn = leftRight_.line->value(),
                                   .lastColumn = leftRight_.line->value() + leftRight_.lineCount->value() - 1};
    view3d_->showRoom(room(), project_.currentRoom, selection);
}

void TForm3::SpinEdit1Change() {
    if (filling_) return;
    DrawSideViews();
    PresentRoomViews();
}

// --- Side views -------------------------------------------------------------------------------

SideFields TForm3::readSideFields(const SidePage& side) const {
    SideFields f;
    f.links = {.above = side.above->value(),
               .beside = side.beside->value(),
               .below = side.below->value(),
               .mode = side.linkMode};
    for (std::size_t i = 0; i < 5; ++i) {
        f.floor.textures[i] = side.floorTextures[i]->value();
        f.floor.lights[i] = side.floorLights[i]->value();
        f.ceiling.textures[i] = side.ceilingTextures[i]->value();
        f.ceiling.lights[i] = side.ceilingLights[i]->value();
    }
    return f;
}

void TForm3::showLinks(SidePage& side, const LinkFields& links) {
    const QSignalBlocker a(side.above), b(side.beside), c(side.below);
    side.above->setValue(links.above);
    side.beside->setValue(links.beside);
    side.below->setValue(links.below);
    side.linkMode = links.mode;
}

void TForm3::showSideFields(SidePage& side, const SideFields& fields) {
    for (std::size_t i = 0; i < 5; ++i) {
        side.floorTextures[i]->setValue(fields.floor.textures[i]);
        side.floorLights[i]->setValue(fields.floor.lights[i]);
        side.ceilingTextures[i]->setValue(fields.ceiling.textures[i]);
        side.ceilingLights[i]->setValue(fields.ceiling.lights[i]);
    }
    showLinks(side, fields.links);
}

void TForm3::linkFieldChanged(SidePage& side, bool besideField) {
    LinkFields links = readSideFields(side).links;
    if (besideField) besideFieldChanged(links);
    else aboveOrBelowFieldChanged(links);
    showLinks(side, links);
}

void TForm3::sideViewMouseDown(SidePage& side, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int px,
                               int py) {
    const QImage& bitmap = side.picture->bitmap()->image;
    const int index = sideViewIndex(side.view, px, bitmap.width());
    const int cell = sideViewCell(py, bitmap.height());
    const SideView view = side.view;
    const EditorRoom& r = room();
    const int indexLimit = view == SideView::FrontBack ? r.numX() : r.numZ();
    // The picture's outer pixels lie past the grid's last index or its top cell: ignored.
    if (index < 1 || index > indexLimit || cell < 1 || cell > kSideViewRows) return;

    SideEdit edit;
    edit.view = view;
    edit.index = index;
    edit.cell = cell;
    edit.line = side.line->value();
    edit.lineCount = side.lineCount->value();
    edit.shape = side.shape;
    edit.facesOnly = modifiers.testFlag(Qt::ControlModifier);
    edit.fields = readSideFields(side);
    if (const auto message = linkCheckMessage(project_, edit.fields.links)) {
        showMessage(this, QString::fromStdString(*message));
        return;
    }

    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    if (button == Qt::LeftButton && !shift) {
        services_.recordEdit(StepKind::FloorEdit, [&] { return editFloor(room(), edit) > 0; });
        RedrawRoomViews();
    }
    if (button == Qt::RightButton) {
        services_.recordEdit(StepKind::CeilingEdit, [&] { return editCeiling(room(), edit) > 0; });
        RedrawRoomViews();
    }
    if (button == Qt::LeftButton && shift) {
        if (const auto picked = pickUpSector(room(), view, edit.line, index)) showSideFields(side, *picked);
    }
    PresentRoomViews();
}

void TForm3::sideViewMouseMove(SidePage& side, int px, int py) {
    const QImage& bitmap = side.picture->bitmap()->image;
    const int index = sideViewIndex(side.view, px, bitmap.width());
    const int cell = sideViewCell(py, bitmap.height());
    const int indexLimit = side.view == SideView::FrontBack ? room().numX() : room().numZ();
    // Past the grid there is no cell to read out.
    const bool inGrid = index >= 1 && index <= indexLimit && cell >= 1 && cell <= kSideViewRows;
    setCaptionReadout(inGrid ? sideViewReadout(side.view, index, cell) : std::string());
}

void TForm3::setCaptionReadout(const std::string& readout) {
    setWindowTitle(fromCp1250("Editing " + room().name.str() + "  " + readout));
}

// --- Top view and portals ---------------------------------------------------------------------

void TForm3::Image1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int px, int py) {
    const int x = topViewColumn(px);
    const int z = topViewRow(py, Image1->bitmap()->image.height());
    if (modifiers.testFlag(Qt::ShiftModifier)) {
        if (button != Qt::LeftButton) return;
        if (services_.recordEdit(StepKind::PlacePortal, [&] { return placePortal(room(), selectedPortal(), x, z); }))
            RedrawRoomViews();
        return;
    }
    const bool close = button == Qt::LeftButton;
    if (services_.recordEdit(close ? StepKind::CloseSector : StepKind::OpenSector,
                             [&] { return setSectorClosed(room(), x, z, close); }))
        RedrawRoomViews();
}

void TForm3::Image1MouseMove(int px, int py) {
    const int x = topViewColumn(px);
    const int z = topViewRow(py, Image1->bitmap()->image.height());
    const bool inGrid = x >= 1 && x <= room().numX() && z >= 1 && z <= room().numZ();
    setCaptionReadout(inGrid ? topViewReadout(x, z) : std::string());
}

PortalFields TForm3::readPortalFields() const {
    return {.face = portalDirection_,
            .targetRoom = SpinEdit51->value(),
            .width = SpinEdit49->value(),
            .length = SpinEdit50->value()};
}

int TForm3::selectedPortal() const {
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    if (selected.isEmpty()) return 0;
    return ListBox1->row(selected.first()) + 1;
}

void TForm3::selectPortalEntry(int k) {
    filling_ = true;
    ListBox1->clearSelection();
    ListBox1->setCurrentRow(k - 1);
    if (k >= 1) ListBox1->item(k - 1)->setSelected(true);
    filling_ = false;
}

void TForm3::Button1Click() {
    const PortalFields fields = readPortalFields();
    if (const auto refusal = addPortalRefusal(project_, room(), fields)) {
        showMessage(this, QString::fromStdString(*refusal));
        return;
    }
    int n = 0;
    services_.recordEdit(StepKind::AddPortal, [&] { return (n = addPortal(room(), fields)) > 0; });
    filling_ = true;
    ListBox1->addItem(QStringLiteral("Door #") + QString::number(n));
    filling_ = false;
    selectPortalEntry(n);
    RedrawRoomViews();
}

void TForm3::Button5Click() {
    const int k = selectedPortal();
    if (k == 0) return;  // no portal selected: nothing to replace
    const PortalFields fields = readPortalFields();
    if (const auto refusal = replacePortalRefusal(project_, fields)) {
        showMessage(this, QString::fromStdString(*refusal));
        return;
    }
    if (services_.recordEdit(StepKind::ChangePortal, [&] { return replacePortal(room(), k, fields); }))
        RedrawRoomViews();
}

void TForm3::Button4Click() {
    const int m = ListBox1->count();
    if (m == 0) return;
    filling_ = true;
    delete ListBox1->takeItem(m - 1);
    filling_ = false;
    selectPortalEntry(m - 1);
    services_.recordEdit(StepKind::RemovePortal, [&] {
        const int count = portalsInUse(room());
        return removeLastPortal(room()) != count;
    });
    RedrawRoomViews();
}

void TForm3::ListBox1Click() {
    const auto fields = portalFields(room(), selectedPortal());
    if (!fields) return;
    portalDirection_ = fields->face;
    if (fields->face >= 1 && fields->face <= 6) RadioButtons[std::size_t(fields->face - 1)]->setChecked(true);
    SpinEdit51->setValue(fields->targetRoom);
    SpinEdit49->setValue(fields->width);
    SpinEdit50->setValue(fields->length);
}

void TForm3::RadioButtonClick(int direction) { portalDirection_ = direction; }

}  // namespace cw::ui
