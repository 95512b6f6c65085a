#include "ui/editor2.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/text_fields.h"
#include "ui/texts.h"
#include "ui/texture_fields.h"

namespace cw::ui {

namespace {

QSpinBox* makeNumber(QWidget* parent, const char* name, int minimum, int maximum, int value, const QString& hint) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    if (!hint.isEmpty()) spin->setToolTip(hint);
    return spin;
}

// A height field: changed only by its arrows (or the arrow keys), one sector height at a time.
QSpinBox* makeHeight(QWidget* parent, const char* name, int value) {
    QSpinBox* spin = makeNumber(parent, name, 1, 220, value, QString());
    spin->setSingleStep(4);
    if (auto* edit = spin->findChild<QLineEdit*>()) edit->setReadOnly(true);
    return spin;
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& text, const QString& hint) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setToolTip(hint);
    return box;
}

// A label above its field.
QVBoxLayout* labelled(QWidget* parent, const QString& text, QWidget* field) {
    auto* column = new QVBoxLayout;
    auto* label = new QLabel(text, parent);
    label->setBuddy(field);
    column->addWidget(label);
    column->addWidget(field);
    return column;
}

}  // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(tr("Właściwości pomieszczenia"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    SpinEdit1 = makeNumber(this, "SpinEdit1", 3, 32, 10, tr("Długoćś pomieszczenia Z"));
    SpinEdit2 = makeNumber(this, "SpinEdit2", 3, 32, 10, tr("Długość pomieszczenia X"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setToolTip(tr("Opis pomieszczenia"));
    limitToCp1250(Edit1, decltype(EditorRoom::name)::capacity);  // the room keeps no more of the name
    CheckBox1 = makeCheck(this, "CheckBox1", tr("Woda"), tr("Tworzy pomieszczenie zalane wodą"));
    CheckBox2 = makeCheck(this, "CheckBox2", tr("Wiatr/Deszcz "),
                          tr("Tworzy powiewy wiatru TR2 i padający deszczTR3"));
    CheckBox3 = makeCheck(this, "CheckBox3", tr("Bagno"), tr("Tworzy pomieszczenie zalane bagnem"));
    CheckBox4 = makeCheck(this, "CheckBox4", tr("Niebo"), tr("Tworzy horyzont"));
    SpinEdit3 = makeHeight(this, "SpinEdit3", 127);
    SpinEdit4 = makeHeight(this, "SpinEdit4", 139);
    SpinEdit5 = makeNumber(this, "SpinEdit5", 0, 32, 16, tr("Oświetlenie przedmiotów w pomieszczeniu"));
    SpinEdit6 = makeNumber(this, "SpinEdit6", 0, 32, 16, tr("Oświetlenie podłogi/ścian"));

    const QString textureHint = tr("Domyślny numer textury");
    static constexpr std::array<const char*, 5> floorNames = {"SpinEdit7", "SpinEdit8", "SpinEdit9", "SpinEdit10",
                                                              "SpinEdit11"};
    static constexpr std::array<const char*, 5> ceilingNames = {"SpinEdit12", "SpinEdit13", "SpinEdit14",
                                                                "SpinEdit15", "SpinEdit16"};
    for (std::size_t i = 0; i < 5; ++i) {
        floorTextureFields[i] = makeNumber(this, floorNames[i], 0, 2500, 1, textureHint);
        ceilingTextureFields[i] = makeNumber(this, ceilingNames[i], 0, 2500, 1, textureHint);
    }

    auto* BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    auto* BitBtn2 = new QPushButton(tr("ODWOŁAJ"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    auto* sizes = new QHBoxLayout;
    sizes->addLayout(labelled(this, tr("Długość"), SpinEdit1));
    sizes->addLayout(labelled(this, tr("Szeokość"), SpinEdit2));

    auto* flags = new QHBoxLayout;
    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4}) flags->addWidget(box);

    auto* heights = new QHBoxLayout;
    heights->addLayout(labelled(this, tr("Domyślna wysokość podłogi"), SpinEdit3));
    heights->addLayout(labelled(this, tr("Domyślna wysokość sufitu"), SpinEdit4));

    auto* lights = new QHBoxLayout;
    lights->addLayout(labelled(this, tr("Oświetlenie Lary"), SpinEdit5));
    lights->addLayout(labelled(this, tr("Oświetlenie pomieszczenia"), SpinEdit6));

    // Each texture field with the thumbnail of its texture beside it.
    const auto thumbnail = [this](QSpinBox* field, std::size_t slot) {
        auto* t = new TextureThumbnail(field, nullptr, field->sizeHint().height(), this);
        t->setObjectName(field->objectName() + QStringLiteral("Thumbnail"));
        thumbnails_[slot] = t;
        return t;
    };
    auto* textures = new QGridLayout;
    textures->addWidget(new QLabel(tr("Podłoga"), this), 0, 1, 1, 2);
    textures->addWidget(new QLabel(tr("Sufit"), this), 0, 3, 1, 2);
    const std::array<QString, 5> rowLabels = {tr("Textura przodu"), tr("Textura tyłu"),
                                              tr("Textura lewa"), tr("Textura prawa"),
                                              tr("Texura góry/dołu")};
    for (std::size_t i = 0; i < 5; ++i) {
        const int row = static_cast<int>(i) + 1;
        textures->addWidget(new QLabel(rowLabels[i], this), row, 0);
        textures->addWidget(floorTextureFields[i], row, 1);
        textures->addWidget(thumbnail(floorTextureFields[i], i), row, 2);
        textures->addWidget(ceilingTextureFields[i], row, 3);
        textures->addWidget(thumbnail(ceilingTextureFields[i], 5 + i), row, 4);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sizes);
    layout->addLayout(labelled(this, tr("Nazwa pomieszczenia"), Edit1));
    layout->addLayout(flags);
    layout->addLayout(heights);
    layout->addLayout(lights);
    layout->addLayout(textures);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed dialog frame
}

std::optional<QString> TForm2::applyLightPreset(const QStringList& arguments) {
    if (arguments.isEmpty()) return std::nullopt;
    const QString& argument = arguments.constFirst();
    bool ok = false;
    const int light = argument.trimmed().toInt(&ok, 10);
    if (!ok) return QStringLiteral("'") + argument + QStringLiteral("' is not a valid integer value");
    SpinEdit5->setValue(light);
    SpinEdit6->setValue(light);
    return std::nullopt;
}

RoomProperties TForm2::values() const {
    RoomProperties v;
    v.rows = SpinEdit1->value();
    v.columns = SpinEdit2->value();
    v.name = toCp1250(Edit1->text());
    v.water = CheckBox1->isChecked();
    v.windRain = CheckBox2->isChecked();
    v.swamp = CheckBox3->isChecked();
    v.sky = CheckBox4->isChecked();
    v.floorLevel = SpinEdit3->value();
    v.ceilingLevel = SpinEdit4->value();
    v.itemLight = SpinEdit5->value();
    v.roomLight = SpinEdit6->value();
    for (std::size_t i = 0; i < 5; ++i) {
        v.floorTextures[i] = floorTextureFields[i]->value();
        v.ceilingTextures[i] = ceilingTextureFields[i]->value();
    }
    return v;
}

void TForm2::setValues(const RoomProperties& v) {
    SpinEdit1->setValue(v.rows);
    SpinEdit2->setValue(v.columns);
    Edit1->setText(fromCp1250(v.name));
    CheckBox1->setChecked(v.water);
    CheckBox2->setChecked(v.windRain);
    CheckBox3->setChecked(v.swamp);
    CheckBox4->setChecked(v.sky);
    SpinEdit3->setValue(v.floorLevel);
    SpinEdit4->setValue(v.ceilingLevel);
    SpinEdit5->setValue(v.itemLight);
    SpinEdit6->setValue(v.roomLight);
    for (std::size_t i = 0; i < 5; ++i) {
        floorTextureFields[i]->setValue(v.floorTextures[i]);
        ceilingTextureFields[i]->setValue(v.ceilingTextures[i]);
    }
}

void TForm2::setRoomName(const QString& name) { Edit1->setText(name); }

void TForm2::setTextureSource(BaseTextureSource* source) {
    for (TextureThumbnail* t : thumbnails_) t->setSource(source);
}

}  // namespace cw::ui
