#pragma once
// TForm2, the room properties dialog: input for adding a room and for changing the current room.
// It only collects values; the room operations store them. It keeps its values between uses.
//
// Controls (objectName: label):
//   SpinEdit1 "Długość" (rows, numZ)        SpinEdit2 "Szeokość" (columns, numX)
//   Edit1 "Nazwa pomieszczenia"
//   CheckBox1 "Woda"  CheckBox2 "Wiatr/Deszcz "  CheckBox3 "Bagno"  CheckBox4 "Niebo"
//   SpinEdit3 "Domyślna wysokość podłogi"    SpinEdit4 "Domyślna wysokość sufitu"  (arrows only, step 4)
//   SpinEdit5 "Oświetlenie Lary" (itemLight) SpinEdit6 "Oświetlenie pomieszczenia" (roomLight)
//   SpinEdit7..SpinEdit11  "Podłoga" textures: front, back, left, right, surface
//   SpinEdit12..SpinEdit16 "Sufit" textures:   front, back, left, right, surface
//   each texture field with its thumbnail beside it (objectName + "Thumbnail"), which opens the
//   texture picker
//   BitBtn1 "OK" (default button)            BitBtn2 "ODWOŁAJ"
#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "project/room_ops.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace cw::ui {

class BaseTextureSource;
class TextureThumbnail;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    // Presets both light fields from the first program argument. Returns the error to report
    // when that argument is not an integer (the fields then keep their values).
    std::optional<QString> applyLightPreset(const QStringList& arguments);

    // The fields as the dialog shows them (the name as Windows-1250 bytes, not cut).
    RoomProperties values() const;
    // Fills every field; number fields keep to their ranges.
    void setValues(const RoomProperties& values);
    void setRoomName(const QString& name);
    // The base level's textures the thumbnails show (none until set).
    void setTextureSource(BaseTextureSource* source);

private:
    QSpinBox* SpinEdit1;
    QSpinBox* SpinEdit2;
    QLineEdit* Edit1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QSpinBox* SpinEdit3;
    QSpinBox* SpinEdit4;
    QSpinBox* SpinEdit5;
    QSpinBox* SpinEdit6;
    std::array<QSpinBox*, 5> floorTextureFields{};
    std::array<QSpinBox*, 5> ceilingTextureFields{};
    std::array<TextureThumbnail*, 10> thumbnails_{};
};

}  // namespace cw::ui
