// The room editor's 3D view: it follows every edit at once, marks the side views' selections,
// turns, pans and zooms with the mouse and comes back with Home; offscreen it draws a real base
// level's texture where the floor is and the background where a face is left out; `cairnwork
// --render` writes that picture or refuses with status 1. Without OpenGL the view says so and the
// editor works as before.
//
// CTest runs this program twice: on the offscreen platform (no OpenGL widget: the cases that need
// one are skipped, the words are checked) and on xcb under a private Xvfb (Mesa's software
// OpenGL: the cases without OpenGL are skipped).
#include <QLabel>
#include <QProcess>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>

#include "drawing/level_textures.h"
#include "project/project_file.h"
#include "project/sample_projects.h"
#include "support/controls.h"
#include "support/message_catcher.h"
#include "support/room_editor_fixture.h"
#include "ui/base_textures.h"
#include "ui/editor3.h"
#include "ui/picture_control.h"
#include "ui/room_render.h"
#include "ui/room_view_3d.h"

using namespace cw;
using cw::test::clickAt;
using cw::test::FakeEditorServices;
using cw::test::MessageCatcher;
using cw::ui::RoomView3D;
using cw::ui::TForm3;

namespace {

const std::filesystem::path kLevels = CW_TEST_LEVELS_DIR;

// A picture's colour at a place of the room (view coordinates), as the camera projects it.
QPoint projected(const QMatrix4x4& matrix, QVector3D place, QSize size) {
    const QVector3D ndc = matrix.map(place);
    return {int((ndc.x() + 1) / 2 * float(size.width())), int((1 - ndc.y()) / 2 * float(size.height()))};
}

// The colours of an object texture's texels, as 0xRRGGBB.
std::set<QRgb> textureColours(const BaseTextures& textures, int index) {
    const ObjectTextureInfo& t = textures.objects[std::size_t(index)];
    int c0 = 255, c1 = 0, r0 = 255, r1 = 0;
    for (const auto& corner : t.corners) {
        c0 = std::min<int>(c0, corner[0]);
        c1 = std::max<int>(c1, corner[0]);
        r0 = std::min<int>(r0, corner[1]);
        r1 = std::max<int>(r1, corner[1]);
    }
    std::set<QRgb> colours;
    const ColourPicture& page = textures.pages[t.page];
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) colours.insert(page.argb[std::size_t(r * page.width + c)] & 0xFFFFFF);
    return colours;
}

// The first opaque rectangle texture of at least 16 x 16 texels with more than one colour.
int plainTexture(const BaseTextures& textures) {
    for (std::size_t i = 0; i < textures.objects.size(); ++i) {
        const ObjectTextureInfo& t = textures.objects[i];
        if (t.attribute != kTextureOpaque || t.triangle || t.page >= textures.pages.size()) continue;
        const int width = std::abs(int(t.corners[2][0]) - int(t.corners[0][0]));
        const int height = std::abs(int(t.corners[2][1]) - int(t.corners[0][1]));
        if (width >= 15 && height >= 15 && textureColours(textures, int(i)).size() > 4) return int(i);
    }
    return -1;
}

bool near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 && std::abs(qBlue(a) - qBlue(b)) <= 2;
}

}  // namespace

class RoomView3DTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Project> project;
    std::unique_ptr<FakeEditorServices> services;
    std::unique_ptr<TForm3> form;
    std::unique_ptr<MessageCatcher> catcher;

    void open(int rows = 6, int columns = 10) {
        project = cw::test::makeProject(3, rows, columns);
        services = std::make_unique<FakeEditorServices>();
        form = std::make_unique<TForm3>(*project, *services);
        form->resize(1200, 700);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    RoomView3D* view() { return form->roomView3D(); }
    template <typename T>
    T* w(const char* name) {
        T* child = form->findChild<T*>(QString::fromLatin1(name));
        if (child == nullptr) qFatal("no child %s", name);
        return child;
    }
    void page(const char* name) {
        auto* pages = w<QTabWidget>("PageControl1");
        const int index = pages->indexOf(w<QWidget>(name));
        QVERIFY2(clickAt(pages->tabBar(), pages->tabBar()->tabRect(index).center()), name);
    }
    void clickFrontBack(int x, int cell) {
        page("TabSheet2");
        QTest::mouseClick(w<cw::ui::PictureControl>("Image3"), Qt::LeftButton, {},
                          QPoint(16 * (x - 1) + 8, 1026 - 16 * cell + 8));
    }
    void clickTop(int x, int z, Qt::MouseButton button = Qt::LeftButton) {
        page("TabSheet1");
        auto* picture = w<cw::ui::PictureControl>("Image1");
        const int height = picture->bitmap()->image.height();
        QTest::mouseClick(picture, button, {}, QPoint(20 * (x - 1) + 10, height - 20 * (z - 1) - 10));
    }
    // The height (view y) of the floor triangles over the sector, from the faces handed to
    // OpenGL; nothing there gives -1e9.
    float floorAt(int x, int z) {
        float top = -1e9F;
        const auto& faces = view()->buffers().faces;
        for (std::size_t t = 0; t + 2 < faces.size(); t += 3) {
            const FaceVertex &a = faces[t], &b = faces[t + 1], &c = faces[t + 2];
            if (facingOf({a.x, a.y, a.z}, {b.x, b.y, b.z}, {c.x, c.y, c.z}) != Facing::Up) continue;
            const float cx = (a.x + b.x + c.x) / 3, cz = -(a.z + b.z + c.z) / 3;
            if (cx > float(x - 1) * 1024 && cx < float(x) * 1024 && cz > float(z - 1) * 1024 && cz < float(z) * 1024)
                top = std::max({top, a.y, b.y, c.y});
        }
        return top;
    }

private slots:
    void init() { catcher = std::make_unique<MessageCatcher>(); }
    void cleanup() {
        form.reset();
        catcher.reset();
    }

    void viewStandsBesideThePagesAndCoversNoControl() {
        open();
        const QRect pages = w<QTabWidget>("PageControl1")->geometry();
        QVERIFY(view()->isVisible());
        QVERIFY(!view()->geometry().intersects(pages));
        QVERIFY(view()->width() >= 200);
        for (QWidget* child : form->findChildren<QWidget*>())
            if (child->isVisible() && child->parentWidget() == form.get() && child != view())
                QVERIFY2(!child->geometry().intersects(view()->geometry()), qPrintable(child->objectName()));
    }

    void followsEveryEditAtOnce() {
        open();
        // A floor click in row 2 (the front/back view's line) raises sector (4, 2).
        w<QSpinBox>("SpinEdit46")->setValue(2);
        const float before = floorAt(4, 2);
        QVERIFY(before > -1e9F);
        const QImage first = view()->grabView();
        clickFrontBack(4, 40);
        QVERIFY(floorAt(4, 2) > before);
        if (view()->hasOpenGL()) QVERIFY(view()->grabView() != first);
        // Closing a sector in the top view takes its floor away; opening it brings it back.
        clickTop(5, 3, Qt::LeftButton);
        QCOMPARE(floorAt(5, 3), -1e9F);
        clickTop(5, 3, Qt::RightButton);
        QVERIFY(floorAt(5, 3) > -1e9F);
    }

    // The base level's textures, once read, texture the faces; without them the faces are flat.
    void followsTheBaseLevelsTextures() {
        open();
        const auto textured = [this] {
            int count = 0;
            for (const FaceVertex& v : view()->buffers().faces) count += v.textured != FaceVertex::kFlat ? 1 : 0;
            return count;
        };
        QCOMPARE(textured(), 0);
        BaseTextures textures;
        textures.kind = kKindTR2;
        textures.pages.resize(1);
        textures.pages[0].width = textures.pages[0].height = kTexturePageSide;
        textures.pages[0].argb.assign(std::size_t(kTexturePageSide) * kTexturePageSide, 0xFF808080u);
        textures.objects.resize(10);  // the room's textures are shown as 1..10
        services->textures.setTextures(textures, "fake.tr2");
        QCOMPARE(textured(), int(view()->buffers().faces.size()));
        if (view()->hasOpenGL()) QVERIFY(!view()->grabView().isNull());
        services->textures.setTextures(BaseTextures{});
        QCOMPARE(textured(), 0);
    }

    void selectedRowsAndColumnsAreBoxed() {
        open();
        page("TabSheet2");
        auto* line = w<QSpinBox>("SpinEdit46");
        auto* count = w<QSpinBox>("SpinEdit45");
        line->setFocus();
        line->selectAll();
        QTest::keyClicks(line, "3");
        count->setFocus();
        count->selectAll();
        QTest::keyClicks(count, "2");
        const RoomScene& scene = view()->scene();
        float low = 1e9F, high = -1e9F;
        int rowLines = 0;
        for (std::size_t i = 0; i < scene.lineCount; ++i) {
            if (scene.lines[i].kind != LineKind::SelectedRows) continue;
            ++rowLines;
            for (const auto& p : {scene.lines[i].from, scene.lines[i].to}) {
                low = std::min(low, -p[2]);
                high = std::max(high, -p[2]);
            }
        }
        QCOMPARE(rowLines, 12);
        QCOMPARE(low, 2048.0F);   // rows 3 and 4: from z = 2 sectors
        QCOMPARE(high, 4096.0F);  // to z = 4 sectors
    }

    void mouseTurnsPansZoomsAndHomeResets() {
        open();
        if (!view()->hasOpenGL()) QSKIP(qPrintable(QStringLiteral("no OpenGL view: ") + view()->unavailableReason()));
        QWidget* gl = view()->findChild<QWidget*>(QStringLiteral("RoomView3DGL"));
        QVERIFY(gl != nullptr);
        const QPoint centre = gl->rect().center();
        const QImage start = view()->grabView();
        const float yaw = view()->camera().yaw;
        QTest::mousePress(gl, Qt::LeftButton, {}, centre);
        QTest::mouseMove(gl, centre + QPoint(60, 0));
        QTest::mouseRelease(gl, Qt::LeftButton, {}, centre + QPoint(60, 0));
        QVERIFY(view()->camera().yaw != yaw);
        QVERIFY(view()->grabView() != start);

        QTest::mousePress(gl, Qt::LeftButton, Qt::ShiftModifier, centre);
        QTest::mouseMove(gl, centre + QPoint(0, 40));
        QTest::mouseRelease(gl, Qt::LeftButton, Qt::ShiftModifier, centre + QPoint(0, 40));
        QVERIFY(!view()->camera().pan.isNull());

        const float zoom = view()->camera().zoom;
        QWheelEvent wheel(QPointF(centre), gl->mapToGlobal(QPointF(centre)), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(gl, &wheel);
        QVERIFY(view()->camera().zoom < zoom);

        QTest::keyClick(gl, Qt::Key_Home);
        QCOMPARE(view()->camera().yaw, cw::ui::ViewCamera{}.yaw);
        QVERIFY(view()->camera().pan.isNull());
        QCOMPARE(view()->grabView(), start);
    }

    void withoutOpenGLTheViewSaysSoAndTheEditorWorks() {
        open();
        if (view()->hasOpenGL()) QSKIP("OpenGL is available here");
        auto* message = view()->findChild<QLabel*>(QStringLiteral("RoomView3DMessage"));
        QVERIFY(message != nullptr && message->isVisible());
        QVERIFY2(message->text().contains(QStringLiteral("OpenGL")), qPrintable(message->text()));
        w<QSpinBox>("SpinEdit46")->setValue(2);
        const std::int8_t floor = gameSectorAt(project->current().grid, 4, 2).floor;
        clickFrontBack(4, 40);
        QVERIFY(gameSectorAt(project->current().grid, 4, 2).floor != floor);
        QCOMPARE(services->modifiedCount, 1);
    }

    // A 3 x 4 room of two open sectors seen from above: the textured floor of (2, 2) shows the
    // texture's colours, the floor of (3, 2), left out (texture 0), the background.
    void renderedFloorShowsTheBaseLevelsTexture_data() {
        QTest::addColumn<QString>("level");
        for (const char* name : {"TR1-TEST1.PHD", "TR2-TEST1.TR2", "TR3-TEST1.TR2"}) QTest::newRow(name) << name;
    }
    void renderedFloorShowsTheBaseLevelsTexture() {
        QFETCH(QString, level);
        const std::filesystem::path path = kLevels / level.toStdString();
        if (!std::filesystem::exists(path)) QSKIP(qPrintable("no level " + QString::fromStdString(path.string())));
        BaseTextures textures;
        const auto failure = cw::ui::loadBaseTextures(path.string(), textures);
        QVERIFY2(!failure, failure ? qPrintable(*failure) : "");
        const int texture = plainTexture(textures);
        QVERIFY(texture >= 0);

        auto rooms = cw::test::makeTestProject();
        EditorRoom& room = cw::test::addTestRoom(*rooms, 3, 4, 127, 139, texture, 16);
        sectorAt(room, 3, 2).floorTexture(Face::Surface) = -1;
        auto work = std::make_unique<SceneWork>();
        auto scene = std::make_unique<RoomScene>();
        buildRoomScene(room, 1, false, SceneSelection{}, *work, *scene);
        cw::ui::ViewCamera above;
        above.yaw = 0;
        above.pitch = 89.5F;
        const QSize size(400, 300);
        QString why;
        const QImage picture = cw::ui::renderScene(*scene, textures, size, above, why);
        if (picture.isNull()) QSKIP(qPrintable("no OpenGL context: " + why));

        const QMatrix4x4 matrix = cw::ui::cameraMatrix(above, *scene, size);
        const float floorY = -float(scene->mesh.vertices[0].y);
        const std::set<QRgb> colours = textureColours(textures, texture);
        for (const QVector3D place : {QVector3D(1536, 0, -1536), QVector3D(1300, 0, -1200), QVector3D(1800, 0, -1900)}) {
            const QPoint p = projected(matrix, QVector3D(place.x(), floorY, place.z()), size);
            const QRgb got = picture.pixel(p) & 0xFFFFFF;
            const bool inTexture = std::any_of(colours.begin(), colours.end(), [&](QRgb c) { return near(c, got); });
            QVERIFY2(inTexture, qPrintable(QStringLiteral("floor pixel %1 at (%2, %3)").arg(got, 6, 16, QLatin1Char('0')).arg(p.x()).arg(p.y())));
        }
        const QPoint hole = projected(matrix, QVector3D(2560, floorY, -1536), size);
        QCOMPARE(picture.pixel(hole) & 0xFFFFFF, cw::ui::kViewBackground3D & 0xFFFFFF);
    }

    // The camera a view starts with (and Home goes back to) has the whole room in sight, in a
    // wide, a square and a tall view, for a small, a long and a large, tall room.
    void startingCameraShowsTheWholeRoom() {
        auto rooms = cw::test::makeTestProject();
        const struct {
            int rows, columns, floor, ceiling;
        } shapes[] = {{3, 3, 127, 139}, {3, 32, 100, 200}, {16, 24, 100, 160}};
        for (const auto& shape : shapes) {
            const EditorRoom& room = cw::test::addTestRoom(*rooms, shape.rows, shape.columns, shape.floor, shape.ceiling, 1, 16);
            auto work = std::make_unique<SceneWork>();
            auto scene = std::make_unique<RoomScene>();
            buildRoomScene(room, 1, false, SceneSelection{}, *work, *scene);
            QVERIFY2(scene->refusal.empty(), scene->refusal.c_str());
            for (const QSize size : {QSize(800, 300), QSize(500, 500), QSize(260, 700)}) {
                const QMatrix4x4 matrix = cw::ui::cameraMatrix(cw::ui::ViewCamera{}, *scene, size);
                for (int corner = 0; corner < 8; ++corner) {
                    const QVector3D place((corner & 1 ? scene->high : scene->low)[0],
                                          (corner & 2 ? scene->high : scene->low)[1],
                                          (corner & 4 ? scene->high : scene->low)[2]);
                    const QVector3D ndc = matrix.map(place);
                    QVERIFY2(std::abs(ndc.x()) <= 1 && std::abs(ndc.y()) <= 1,
                             qPrintable(QStringLiteral("%1 x %2 room in a %3 x %4 view: corner %5 at (%6, %7)")
                                            .arg(shape.columns).arg(shape.rows).arg(size.width()).arg(size.height())
                                            .arg(corner).arg(ndc.x()).arg(ndc.y())));
                }
            }
        }
    }

    // Saves the room editor with its 3D view of the example's hall on each real level into
    // $CW_SCREENSHOT_DIR as room-editor-3d-tr1.png, -tr2.png, -tr3.png (only when it is set).
    void screenshotsOnEachGame() {
        const QByteArray folder = qgetenv("CW_SCREENSHOT_DIR");
        if (folder.isEmpty()) QSKIP("CW_SCREENSHOT_DIR not set");
        const struct {
            const char* level;
            const char* name;
        } games[] = {{"TR1-TEST1.PHD", "tr1"}, {"TR2-TEST1.TR2", "tr2"}, {"TR3-TEST1.TR2", "tr3"}};
        for (const auto& game : games) {
            project = std::make_unique<Project>();
            loadProject(std::filesystem::path(CW_TEST_SOURCE_DIR) / "examples" / "example.cwp", *project);
            project->currentRoom = 1;
            BaseTextures textures;
            const auto failure = cw::ui::loadBaseTextures((kLevels / game.level).string(), textures);
            if (failure) QSKIP(qPrintable(*failure));
            // Floors, walls and ceilings each in one of the level's plain textures.
            std::vector<int> plain;
            for (std::size_t i = 0; i < textures.objects.size() && plain.size() < 40; ++i) {
                const ObjectTextureInfo& t = textures.objects[i];
                if (t.attribute == kTextureOpaque && !t.triangle && t.corners[2][0] - t.corners[0][0] >= 63) plain.push_back(int(i));
            }
            QVERIFY(plain.size() >= 3);
            EditorRoom& hall = project->current();
            for (int x = 1; x <= hall.numX(); ++x)
                for (int z = 1; z <= hall.numZ(); ++z) {
                    Sector& s = sectorAt(hall, x, z);
                    for (Face f : kAllFaces) {
                        if (s.floorTexture(f) >= 0) s.floorTexture(f) = plain[f == Face::Surface ? 0 : plain.size() / 2];
                        if (s.ceilingTexture(f) >= 0) s.ceilingTexture(f) = plain[f == Face::Surface ? plain.size() - 1 : plain.size() / 2];
                    }
                }
            services = std::make_unique<FakeEditorServices>();
            services->textures.setTextures(textures, (kLevels / game.level).string());
            form = std::make_unique<TForm3>(*project, *services);
            form->resize(1280, 720);
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            if (!view()->hasOpenGL()) QSKIP(qPrintable(view()->unavailableReason()));
            w<QSpinBox>("SpinEdit46")->setValue(4);
            QApplication::processEvents();
            const QPixmap shot = form->grab();
            QVERIFY(shot.save(QString::fromLocal8Bit(folder) + "/room-editor-3d-" + game.name + ".png"));
            form.reset();
        }
    }

    // The command itself: a picture of the example's hall, and refusals with status 1.
    void renderCommandWritesThePictureOrRefuses() {
        QTemporaryDir folder;
        const QString program = QStringLiteral(CW_TEST_BIN_DIR "/cairnwork");
        const QString example = QStringLiteral(CW_TEST_SOURCE_DIR "/examples/example.cwp");
        const QString out = folder.filePath(QStringLiteral("hall.png"));
        const auto run = [&](const QStringList& arguments, QString* errors = nullptr) {
            QProcess process;
            process.start(program, arguments);
            process.waitForFinished(60000);
            if (errors) *errors = QString::fromLocal8Bit(process.readAllStandardError());
            return process.exitCode();
        };
        QString errors;
        const struct {
            QStringList arguments;
            const char* says;
        } refusals[] = {
            {{"--render", example, "--room", "9", "--out", out}, "is not a room of the project"},
            {{"--render", example, "--room", "1", "--out", out, "--size", "12x9000"}, "--size"},
            {{"--render", example, "--room", "1", "--out", out, "--base", folder.filePath("none.tr2")}, "not found"},
            {{"--render", folder.filePath("none.cwp"), "--room", "1", "--out", out}, "none.cwp"},
            {{"--render", example, "--room", "1"}, "--out"},
        };
        for (const auto& r : refusals) {
            QCOMPARE(run(r.arguments, &errors), 1);
            QVERIFY2(errors.contains(QLatin1String(r.says)), qPrintable(errors));
            QVERIFY(!QFile::exists(out));
        }
        const int status = run({"--render", example, "--room", "1", "--out", out, "--size", "320x200"}, &errors);
        if (status == 1 && errors.contains(QLatin1String("OpenGL"))) QSKIP(qPrintable(errors));
        QCOMPARE(status, 0);
        const QImage picture(out);
        QCOMPARE(picture.size(), QSize(320, 200));
        QVERIFY(picture.pixel(160, 100) != (cw::ui::kViewBackground3D | 0xFF000000u));
    }
};

QTEST_MAIN(RoomView3DTest)
#include "room_view_3d_test.moc"
