#include "ui/editor4.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/pictures.h"

namespace cw::ui {

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(tr("Informacje"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    auto* Label1 = new QLabel(QStringLiteral("Vellorn's Cairnwork"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.5);
    Label1->setFont(bold);
    Label1->setAlignment(Qt::AlignCenter);

    auto* Label2 = new QLabel(tr("Tłumaczenie zespół Cairnwork"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont small = Label2->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    Label2->setFont(small);
    Label2->setAlignment(Qt::AlignCenter);

    auto* Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(cairnworkPicture(256));
    Image1->setScaledContents(true);  // the picture is scaled to its frame
    Image1->setFixedSize(160, 160);

    auto* Label3 = new QLabel(tr("Wydanie: 2025"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAlignment(Qt::AlignCenter);

    auto* Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(Image1, 0, Qt::AlignHCenter);
    layout->addWidget(Label3);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace cw::ui
