#pragma once
// What stands beside a texture number field: a thumbnail of the base level's object texture the
// field names, as the game draws it (drawing/level_textures), and the texture picker, a grid of
// every object texture of the base level that sets the field. A field's number is the object
// texture's index + 1; 0 is no face.
#include <QAbstractButton>
#include <QAbstractListModel>
#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <vector>

#include "drawing/level_textures.h"

class QListView;
class QSpinBox;

namespace cw::ui {

class BaseTextureSource;

// A colour picture of the core as a QImage (a copy).
QImage toQImage(const ColourPicture& picture);

// The thumbnail beside a texture number field: a button the size of the field's height showing
// the texture; a click opens the texture picker. It follows the field's value as it changes and
// the source's textures when they change.
class TextureThumbnail : public QAbstractButton {
    Q_OBJECT
public:
    enum class Shows {
        NoTextures,  // no base level read: a flat grey square
        NoFace,      // number 0: an empty face, outlined
        Texture,     // the texture
        PastEnd,     // a number past the base level's object textures: a red "none" mark
    };

    // A side x side thumbnail for `field`; the source may be set later.
    TextureThumbnail(QSpinBox* field, BaseTextureSource* source, int side, QWidget* parent);

    void setSource(BaseTextureSource* source);
    QSpinBox* field() const { return field_; }
    Shows shows() const { return shows_; }
    // What the thumbnail shows inside its 1-pixel frame: (side - 2) x (side - 2).
    const QImage& picture() const { return picture_; }
    int pictureSide() const { return side_ - 2; }

    QSize sizeHint() const override { return {side_, side_}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();
    void pick();

    QSpinBox* field_;
    QPointer<BaseTextureSource> source_;
    QMetaObject::Connection sourceConnection_;
    int side_;
    Shows shows_ = Shows::NoTextures;
    QImage picture_;
};

// Every object texture of a base level for a list view: the number as text and hint, the
// thumbnail as icon, made when the view first asks for it.
class ObjectTextureModel : public QAbstractListModel {
    Q_OBJECT
public:
    ObjectTextureModel(BaseTextureSource& source, int iconSide, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Thumbnails made so far (the view asks only for those it shows).
    int madeIcons() const { return made_; }

private:
    void reset();

    BaseTextureSource& source_;
    int iconSide_;
    mutable std::vector<QPixmap> icons_;
    mutable int made_ = 0;
};

// The texture picker: a scrolling grid of every object texture of the base level; a click on
// one closes it with that texture chosen.
class TexturePicker : public QDialog {
    Q_OBJECT
public:
    // `current` is the field's number: its texture is selected and scrolled to.
    TexturePicker(BaseTextureSource& source, int current, QWidget* parent = nullptr);

    // The number chosen (index + 1), 0 while none is.
    int chosen() const { return chosen_; }
    QListView* grid() const { return grid_; }
    const ObjectTextureModel& model() const { return *model_; }

    static constexpr int kIconSide = 64;

private:
    QListView* grid_ = nullptr;
    ObjectTextureModel* model_ = nullptr;
    int chosen_ = 0;
};

}  // namespace cw::ui
