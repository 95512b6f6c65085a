#include "ui/texture_fields.h"

#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

#include "levelfile/level_image.h"
#include "ui/base_textures.h"

namespace cw::ui {

namespace {

constexpr QRgb kNoTexturesGrey = 0xFFA0A0A0;
constexpr QRgb kMarkRed = 0xFFD01010;

// The red "none" mark: a circle with a slash on white.
QImage noneMark(int side) {
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor::fromRgba(kMarkRed), std::max(2, side / 8)));
    const QRectF circle(side * 0.15, side * 0.15, side * 0.7, side * 0.7);
    p.drawEllipse(circle);
    p.drawLine(QPointF(circle.left() + side * 0.1, circle.bottom() - side * 0.1),
               QPointF(circle.right() - side * 0.1, circle.top() + side * 0.1));
    return image;
}

// No face: a light square with a dashed outline.
QImage noFaceMark(int side) {
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter p(&image);
    p.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    p.drawRect(QRect(2, 2, side - 5, side - 5));
    return image;
}

QString textureCountText(std::size_t count) { return QString::number(count); }

}  // namespace

QImage toQImage(const ColourPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0) return {};
    QImage image(picture.width, picture.height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(image.scanLine(y), picture.argb.data() + std::size_t(y) * std::size_t(picture.width),
                    std::size_t(picture.width) * sizeof(std::uint32_t));
    return image;
}

// --- The thumbnail ------------------------------------------------------------------------------

TextureThumbnail::TextureThumbnail(QSpinBox* field, BaseTextureSource* source, int side, QWidget* parent)
    : QAbstractButton(parent), field_(field), side_(std::max(side, 6)) {
    setFixedSize(side_, side_);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    connect(field_, &QSpinBox::valueChanged, this, [this] { refresh(); });
    connect(this, &QAbstractButton::clicked, this, &TextureThumbnail::pick);
    setSource(source);
}

void TextureThumbnail::setSource(BaseTextureSource* source) {
    disconnect(sourceConnection_);
    source_ = source;
    if (source_ != nullptr)
        sourceConnection_ = connect(source_, &BaseTextureSource::texturesChanged, this, [this] { refresh(); });
    refresh();
}

void TextureThumbnail::refresh() {
    const int number = field_->value();
    const int side = pictureSide();
    if (source_ == nullptr || source_->textures().kind == kKindNone) {
        shows_ = Shows::NoTextures;
        picture_ = QImage(side, side, QImage::Format_ARGB32);
        picture_.fill(QColor::fromRgba(kNoTexturesGrey));
        setToolTip(tr("Tekstura %1 (tekstury poziomu bazowego nie są wczytane)").arg(number));
    } else if (number <= 0) {
        shows_ = Shows::NoFace;
        picture_ = noFaceMark(side);
        setToolTip(tr("0: bez ściany. Kliknij, aby wybrać teksturę"));
    } else {
        const BaseTextures& textures = source_->textures();
        const std::size_t count = textures.objects.size();
        if (std::size_t(number) > count) {
            shows_ = Shows::PastEnd;
            picture_ = noneMark(side);
            setToolTip(tr("Brak tekstury %1: poziom bazowy ma %2 tekstur (1–%2)")
                           .arg(number)
                           .arg(textureCountText(count)));
        } else {
            shows_ = Shows::Texture;
            picture_ = toQImage(objectTextureThumbnail(textures, number - 1, side));
            setToolTip(tr("Tekstura %1 z %2. Kliknij, aby wybrać inną").arg(number).arg(textureCountText(count)));
        }
    }
    update();
}

void TextureThumbnail::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    const bool marked = hasFocus() || isDown() || underMouse();
    p.setPen(marked ? palette().color(QPalette::Highlight) : palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.drawImage(QPoint(1, 1), picture_);
}

void TextureThumbnail::pick() {
    if (source_ == nullptr) return;
    TexturePicker picker(*source_, field_->value(), window());
    if (picker.exec() == QDialog::Accepted && picker.chosen() > 0) field_->setValue(std::min(picker.chosen(), field_->maximum()));
}

// --- The picker's model -------------------------------------------------------------------------

ObjectTextureModel::ObjectTextureModel(BaseTextureSource& source, int iconSide, QObject* parent)
    : QAbstractListModel(parent), source_(source), iconSide_(iconSide) {
    icons_.resize(source_.textures().objects.size());
    connect(&source_, &BaseTextureSource::texturesChanged, this, &ObjectTextureModel::reset);
}

void ObjectTextureModel::reset() {
    beginResetModel();
    icons_.assign(source_.textures().objects.size(), QPixmap());
    made_ = 0;
    endResetModel();
}

int ObjectTextureModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(icons_.size());
}

QVariant ObjectTextureModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || std::size_t(index.row()) >= icons_.size()) return {};
    const int number = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return QString::number(number);
    case Qt::ToolTipRole:
        return tr("Tekstura %1").arg(number);
    case Qt::DecorationRole: {
        QPixmap& icon = icons_[std::size_t(index.row())];
        if (icon.isNull()) {
            icon = QPixmap::fromImage(toQImage(objectTextureThumbnail(source_.textures(), index.row(), iconSide_)));
            ++made_;
        }
        return icon;
    }
    default:
        return {};
    }
}

// --- The picker ---------------------------------------------------------------------------------

TexturePicker::TexturePicker(BaseTextureSource& source, int current, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TexturePicker"));
    setWindowTitle(tr("Wybierz teksturę"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const std::size_t count = source.textures().objects.size();
    auto* heading = new QLabel(
        count == 0 ? tr("Tekstury poziomu bazowego nie są wczytane.")
                   : tr("Kliknij teksturę, aby ją wybrać (%1 tekstur poziomu bazowego).").arg(count),
        this);
    heading->setObjectName(QStringLiteral("TexturePickerHeading"));

    model_ = new ObjectTextureModel(source, kIconSide, this);
    grid_ = new QListView(this);
    grid_->setObjectName(QStringLiteral("TextureGrid"));
    grid_->setViewMode(QListView::IconMode);
    grid_->setMovement(QListView::Static);
    grid_->setResizeMode(QListView::Adjust);
    grid_->setUniformItemSizes(true);  // a layout of thousands at once, without asking for their icons
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setIconSize(QSize(kIconSide, kIconSide));
    grid_->setGridSize(QSize(kIconSide + 14, kIconSide + 22));
    grid_->setSpacing(2);
    grid_->setModel(model_);
    grid_->setMinimumSize(8 * (kIconSide + 14) + 24, 5 * (kIconSide + 22) + 8);
    connect(grid_, &QListView::clicked, this, [this](const QModelIndex& index) {
        if (!index.isValid()) return;
        chosen_ = index.row() + 1;
        accept();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(grid_, 1);
    resize(8 * (kIconSide + 14) + 48, 8 * (kIconSide + 22));

    // The field's texture, in view when the grid is shown (the view scrolls to its current entry).
    if (current >= 1 && std::size_t(current) <= count) grid_->setCurrentIndex(model_->index(current - 1));
}

}  // namespace cw::ui
