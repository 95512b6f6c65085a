#include "ui/editor5.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

#include "project/project.h"
#include "ui/file_dialogs.h"
#include "ui/messages.h"
#include "ui/text_fields.h"

namespace cw::ui {

namespace {

QString tooLongPathMessage(const QString& path, std::size_t capacity) {
    return QStringLiteral("The path \"%1\" is longer than the %2 characters a project keeps of it. "
                          "Choose a file with a shorter path.")
        .arg(path)
        .arg(capacity);
}

}  // namespace

TForm5::TForm5(FileAsker& files, QWidget* parent) : QDialog(parent), files_(files) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(tr("Plik Budowy Levelu"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    auto* GroupBox1 = new QGroupBox(tr("Pliki Pomocnicze"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(GroupBox1);

    // Each field holds no more than the project keeps of its text.
    auto makeEdit = [&](const char* name, const QString& label, int row, std::size_t capacity) {
        auto* edit = new QLineEdit(GroupBox1);
        edit->setObjectName(QLatin1String(name));
        limitToCp1250(edit, capacity);
        edit->setMinimumWidth(360);
        auto* text = new QLabel(label, GroupBox1);
        text->setBuddy(edit);
        grid->addWidget(text, row, 0);
        grid->addWidget(edit, row, 1);
        return edit;
    };
    auto makeBrowse = [&](const char* name, QLineEdit* edit, int row, std::function<FileDialogSettings()> fileDialog) {
        auto* button = new QPushButton(tr("Szukaj"), GroupBox1);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        grid->addWidget(button, row, 2);
        connect(button, &QPushButton::clicked, this, [this, edit, fileDialog] {
            const QString path = files_.askFileName(fileDialog());
            if (path.isEmpty()) return;
            const auto* limit = qobject_cast<const Cp1250Capacity*>(edit->validator());
            if (limit != nullptr && !fitsCp1250(path, limit->capacity())) {
                showMessage(this, tooLongPathMessage(path, limit->capacity()));
                return;
            }
            edit->setText(path);
        });
        return button;
    };

    Edit1 = makeEdit("Edit1", tr("Opis levelu"), 0, decltype(Project::levelDescription)::capacity);
    Edit2 = makeEdit("Edit2", tr("Komentarz"), 1, decltype(Project::comment)::capacity);
    Edit3 = makeEdit("Edit3", tr("Level bazowy"), 2, decltype(Project::baseLevelPath)::capacity);
    QPushButton* Button1 = makeBrowse("Button1", Edit3, 2, &baseLevelDialog);
    Edit4 = makeEdit("Edit4", tr("Ust. przedmiotów"), 3, decltype(Project::itemsFilePath)::capacity);
    QPushButton* Button2 = makeBrowse("Button2", Edit4, 3, &itemsFileDialog);
    Edit5 = makeEdit("Edit5", tr("Ust. świateł/textur"), 4, decltype(Project::lightsFilePath)::capacity);
    QPushButton* Button3 = makeBrowse("Button3", Edit5, 4, &lightsFileDialog);
    Edit6 = makeEdit("Edit6", tr("Nazwa pliku"), 5, decltype(Project::outputLevelPath)::capacity);
    // A level name typed without an extension gets the base level's, when the filter allows it.
    QPushButton* Button4 =
        makeBrowse("Button4", Edit6, 5, [this] { return levelSaveDialog(QFileInfo(Edit3->text().trimmed()).suffix()); });

    auto* Button5 = new QPushButton(tr("Buduj Level"), this);
    Button5->setObjectName(QStringLiteral("Button5"));
    Button5->setDefault(true);
    auto* Button6 = new QPushButton(tr("Odwołaj"), this);
    Button6->setObjectName(QStringLiteral("Button6"));
    Button6->setAutoDefault(false);
    connect(Button5, &QPushButton::clicked, this, &TForm5::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button5);
    buttons->addWidget(Button6);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget* order[] = {Edit1, Edit2, Edit3, Button1, Edit4, Button2, Edit5, Button3, Edit6, Button4, Button5, Button6};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

BuildSettingsFields TForm5::fields() const {
    return {.description = Edit1->text(),
            .comment = Edit2->text(),
            .baseLevel = Edit3->text(),
            .itemsFile = Edit4->text(),
            .lightsFile = Edit5->text(),
            .outputLevel = Edit6->text()};
}

void TForm5::setFields(const BuildSettingsFields& f) {
    Edit1->setText(f.description);
    Edit2->setText(f.comment);
    Edit3->setText(f.baseLevel);
    Edit4->setText(f.itemsFile);
    Edit5->setText(f.lightsFile);
    Edit6->setText(f.outputLevel);
}

void TForm5::Button5Click() {
    if (!Edit6->text().trimmed().isEmpty()) accept();
}

}  // namespace cw::ui
