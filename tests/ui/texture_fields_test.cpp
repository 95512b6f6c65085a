// The thumbnails beside the texture number fields and the texture picker, driven with real key
// presses and mouse clicks: the room editor's side pages, the room properties dialog, and the main
// window reading a real base level.
#include <QtTest>

#include <QListView>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <memory>

#include "drawing/level_textures.h"
#include "levelfile/level_image.h"
#include "support/controls.h"
#include "support/dialog_driver.h"
#include "support/program_folder.h"
#include "support/room_editor_fixture.h"
#include "ui/base_textures.h"
#include "ui/editor2.h"
#include "ui/editor3.h"
#include "ui/editor5.h"
#include "ui/texture_fields.h"

using namespace cw;
using namespace cw::ui;
using cw::test::clickAt;
using cw::test::clickControl;

namespace {

// One page of four quadrant colours and `count` object textures, texture k (0-based) one texel
// of quadrant k % 4 wide, so neighbouring numbers show different colours.
BaseTextures quadrantTextures(int count) {
    BaseTextures t;
    t.kind = kKindTR2;
    ColourPicture page;
    page.width = page.height = 256;
    page.argb.resize(256 * 256);
    const std::uint32_t colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) page.argb[std::size_t(y * 256 + x)] = colours[(y / 128) * 2 + x / 128];
    t.pages.push_back(page);
    for (int k = 0; k < count; ++k) {
        ObjectTextureInfo o;
        const auto c = std::uint8_t((k % 2) * 128 + k % 100);
        const auto r = std::uint8_t(((k / 2) % 2) * 128 + k % 100);
        o.corners = {{{c, r}, {c, r}, {c, r}, {c, r}}};
        t.objects.push_back(o);
    }
    return t;
}

// What a thumbnail of number `number` must show.
QImage expectedPicture(const BaseTextures& textures, int number, int side) {
    return toQImage(objectTextureThumbnail(textures, number - 1, side));
}

// Replaces the field's number as a user does: a click into it, select all, the digits typed.
void typeNumber(QSpinBox* field, int number) {
    QVERIFY(clickControl(field));
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    cw::test::typeText(field, QString::number(number));
}

TextureThumbnail* thumbnailOf(QWidget& window, const char* field) {
    auto* t = window.findChild<TextureThumbnail*>(QLatin1String(field) + QStringLiteral("Thumbnail"));
    if (t == nullptr) qFatal("no thumbnail of %s", field);
    return t;
}

// Clicks entry `row` of the picker's grid where the grid shows it, once the grid has laid it
// out and scrolled it into view.
bool clickGridCell(QListView* grid, int row) {
    const QModelIndex index = grid->model()->index(row, 0);
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        grid->scrollTo(index);
        QTest::qWait(10);
        const QRect cell = grid->visualRect(index);
        if (cell.isValid() && grid->viewport()->rect().contains(cell.center())) return clickAt(grid->viewport(), cell.center());
    }
    qWarning("grid cell %d is not shown", row);
    return false;
}

}  // namespace

class TextureFieldsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Project> project;
    std::unique_ptr<cw::test::FakeEditorServices> services;
    std::unique_ptr<TForm3> editor;

    void openEditor(const BaseTextures& textures) {
        project = cw::test::makeProject(1, 4, 4);
        services = std::make_unique<cw::test::FakeEditorServices>();
        services->textures.setTextures(textures, "base.tr2");
        editor = std::make_unique<TForm3>(*project, *services);
        editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
    }
    void showPage(const char* name) {
        auto* pages = editor->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        const int index = pages->indexOf(editor->findChild<QWidget*>(QLatin1String(name)));
        QVERIFY(clickAt(pages->tabBar(), pages->tabBar()->tabRect(index).center()));
    }

private slots:
    void cleanup() {
        editor.reset();
        services.reset();
        project.reset();
    }

    // Every texture field of both side pages: its thumbnail follows the number typed, shows a
    // "none" mark with the count past the last texture, and an empty face for 0.
    void roomEditorThumbnailsFollowTheirFields() {
        const BaseTextures textures = quadrantTextures(6);
        openEditor(textures);
        struct Page {
            const char* tab;
            std::array<const char*, 10> fields;
        };
        const Page pages[] = {
            {"TabSheet2", {"SpinEdit25", "SpinEdit26", "SpinEdit27", "SpinEdit28", "SpinEdit29", "SpinEdit35",
                           "SpinEdit36", "SpinEdit37", "SpinEdit38", "SpinEdit39"}},
            {"TabSheet3", {"SpinEdit3", "SpinEdit4", "SpinEdit5", "SpinEdit6", "SpinEdit7", "SpinEdit13", "SpinEdit14",
                           "SpinEdit15", "SpinEdit16", "SpinEdit17"}},
        };
        for (const Page& page : pages) {
            showPage(page.tab);
            int number = 1;
            for (const char* name : page.fields) {
                auto* field = editor->findChild<QSpinBox*>(QLatin1String(name));
                TextureThumbnail* thumb = thumbnailOf(*editor, name);
                QVERIFY2(thumb->isVisible(), name);
                // The room's defaults are shown (1..10) when the editor opens.
                QCOMPARE(thumb->shows(), field->value() <= 6 ? TextureThumbnail::Shows::Texture
                                                             : TextureThumbnail::Shows::PastEnd);
                number = number % 6 + 1;
                typeNumber(field, number);
                QCOMPARE(field->value(), number);
                QCOMPARE(thumb->shows(), TextureThumbnail::Shows::Texture);
                QCOMPARE(thumb->picture(), expectedPicture(textures, number, thumb->pictureSide()));
            }
        }
        // Past the end, and no face.
        auto* field = editor->findChild<QSpinBox*>(QStringLiteral("SpinEdit17"));
        TextureThumbnail* thumb = thumbnailOf(*editor, "SpinEdit17");
        typeNumber(field, 7);
        QCOMPARE(thumb->shows(), TextureThumbnail::Shows::PastEnd);
        QVERIFY2(thumb->toolTip().contains(QStringLiteral("ma 6 tekstur")), qPrintable(thumb->toolTip()));
        const QImage none = thumb->picture();
        QVERIFY(none != expectedPicture(textures, 6, thumb->pictureSide()));
        typeNumber(field, 0);
        QCOMPARE(thumb->shows(), TextureThumbnail::Shows::NoFace);
        QVERIFY(thumb->picture() != none);
        // Neighbouring textures differ: the thumbnail shows the number's own texture.
        typeNumber(field, 2);
        const QImage second = thumb->picture();
        typeNumber(field, 3);
        QVERIFY(thumb->picture() != second);
    }

    // The thumbnails follow the base level: none read gives flat grey, a read puts the textures in.
    void thumbnailsFollowTheBaseLevel() {
        openEditor(BaseTextures{});
        showPage("TabSheet2");
        TextureThumbnail* thumb = thumbnailOf(*editor, "SpinEdit25");
        QCOMPARE(thumb->shows(), TextureThumbnail::Shows::NoTextures);
        const BaseTextures textures = quadrantTextures(3);
        services->textures.setTextures(textures, "base.tr2");
        QCOMPARE(thumb->shows(), TextureThumbnail::Shows::Texture);
        QCOMPARE(thumb->picture(), expectedPicture(textures, thumb->field()->value(), thumb->pictureSide()));
    }

    // A click on a thumbnail opens the picker at the field's texture; a click on a cell of its
    // grid sets the field.
    void pickerSetsTheField() {
        const BaseTextures textures = quadrantTextures(2500);
        openEditor(textures);
        showPage("TabSheet3");
        auto* field = editor->findChild<QSpinBox*>(QStringLiteral("SpinEdit14"));
        typeNumber(field, 2000);
        int rows = 0, currentRow = -1, made = -1;
        bool currentShown = false;
        cw::test::onNextDialog<TexturePicker>([&](TexturePicker& picker) {
            // Checked after the picker has closed (a failed check here would leave it open).
            if (QTest::qWaitForWindowExposed(&picker)) {
                rows = picker.grid()->model()->rowCount();
                const QModelIndex current = picker.grid()->currentIndex();
                currentRow = current.row();
                currentShown = picker.grid()->viewport()->rect().contains(picker.grid()->visualRect(current).center());
            }
            if (!clickGridCell(picker.grid(), 1233)) picker.reject();
            made = picker.model().madeIcons();
        });
        QVERIFY(clickControl(thumbnailOf(*editor, "SpinEdit14")));
        QCOMPARE(rows, 2500);
        QCOMPARE(currentRow, 1999);
        QVERIFY(currentShown);
        QCOMPARE(field->value(), 1234);
        TextureThumbnail* thumb = thumbnailOf(*editor, "SpinEdit14");
        QCOMPARE(thumb->picture(), expectedPicture(textures, 1234, thumb->pictureSide()));
        QVERIFY2(made > 0 && made < 500, qPrintable(QString::number(made)));  // only the icons shown are made
    }

    // The room properties dialog: ten thumbnails that follow their fields; the picker sets one.
    void roomPropertiesThumbnails() {
        const BaseTextures textures = quadrantTextures(40);
        BaseTextureSource source;
        source.setTextures(textures, "base.phd");
        TForm2 dialog;
        dialog.setTextureSource(&source);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (int i = 7; i <= 16; ++i) {
            const QByteArray name = "SpinEdit" + QByteArray::number(i);
            auto* field = dialog.findChild<QSpinBox*>(QString::fromLatin1(name));
            typeNumber(field, 30 + i);
            TextureThumbnail* thumb = thumbnailOf(dialog, name.constData());
            QCOMPARE(thumb->shows(), 30 + i <= 40 ? TextureThumbnail::Shows::Texture : TextureThumbnail::Shows::PastEnd);
            if (30 + i <= 40) QCOMPARE(thumb->picture(), expectedPicture(textures, 30 + i, thumb->pictureSide()));
            else QVERIFY(thumb->toolTip().contains(QStringLiteral("ma 40 tekstur")));
        }
        cw::test::onNextDialog<TexturePicker>([](TexturePicker& picker) {
            if (!QTest::qWaitForWindowExposed(&picker) || !clickGridCell(picker.grid(), 4)) picker.reject();
        });
        QVERIFY(clickControl(thumbnailOf(dialog, "SpinEdit12")));
        QCOMPARE(dialog.values().ceilingTextures[0], 5);
    }

    // The main window reads the base level the build settings name, on demand, in the background;
    // the room properties dialog's thumbnails then show its textures. A missing level is a note.
    void mainWindowReadsTheBaseLevel() {
        const QString level = QStringLiteral(CW_TEST_LEVELS_DIR "/TR2-TEST1.TR2");
        if (!QFileInfo::exists(level)) QSKIP("no real levels");
        cw::test::EditorFixture f;
        BaseTextureSource& source = f.form->baseTextureSource();
        QCOMPARE(source.textures().kind, kKindNone);
        BuildSettingsFields settings;
        settings.baseLevel = QStringLiteral("/no/such/base.tr2");
        f.form->buildSettingsDialog().setFields(settings);
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Wczytajtekstury1"));
        QVERIFY(f.form->statusBar()->currentMessage().contains(QStringLiteral("not found")));
        QCOMPARE(source.textures().kind, kKindNone);

        settings.baseLevel = level;
        f.form->buildSettingsDialog().setFields(settings);
        QVERIFY(cw::test::chooseMenuItem(f.form.get(), "Wczytajtekstury1"));
        QVERIFY(source.isLoading());  // the read runs in the background
        QTRY_VERIFY_WITH_TIMEOUT(!source.isLoading(), 20000);
        QCOMPARE(source.textures().kind, kKindTR2);
        QVERIFY(source.textures().objects.size() > 100);
        QVERIFY(f.form->statusBar()->currentMessage().contains(QStringLiteral("object textures")));
        TextureThumbnail* thumb = thumbnailOf(f.form->roomPropertiesDialog(), "SpinEdit7");
        QCOMPARE(thumb->shows(), TextureThumbnail::Shows::Texture);
        QCOMPARE(thumb->picture(), expectedPicture(source.textures(), thumb->field()->value(), thumb->pictureSide()));
    }
};

QTEST_MAIN(TextureFieldsTest)
#include "texture_fields_test.moc"
