// One frame of the room editor's 3D view of the largest room (32 x 32 sectors, 1998 vertices,
// textured with TR2-TEST1.TR2) drawn by the view's renderer into a 1024 x 768 offscreen
// framebuffer and finished (glFinish): the frame time on whatever OpenGL the machine has (Mesa's
// llvmpipe under Xvfb). Beside it the same frame after an edit: the scene made anew, the vertex
// arrays filled and uploaded, and drawn. Skipped when no OpenGL context can be made (the
// offscreen platform needs an X display, e.g. xvfb-run).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <filesystem>
#include <memory>

#include "largest_room.h"
#include "ui/base_textures.h"
#include "ui/room_render.h"
#include "ui/room_renderer.h"

namespace {

const std::filesystem::path kBaseLevel = std::filesystem::path(CW_BENCH_LEVELS_DIR) / "TR2-TEST1.TR2";
const QSize kFrame(1024, 768);

struct Frame {
    QOpenGLContext context;
    QOffscreenSurface surface;
    std::unique_ptr<QOpenGLFramebufferObject> target;
    cw::ui::RoomRenderer renderer;
    std::unique_ptr<cw::Project> project = std::make_unique<cw::Project>();
    cw::BaseTextures textures;
    std::unique_ptr<cw::SceneWork> work = std::make_unique<cw::SceneWork>();
    std::unique_ptr<cw::RoomScene> scene = std::make_unique<cw::RoomScene>();
    cw::SceneBuffers buffers;
    QString why;
    bool ready = false;

    Frame() {
        cw::bench::shapeLargestRoom(project->rooms[0]);
        if (std::filesystem::exists(kBaseLevel)) (void)cw::ui::loadBaseTextures(kBaseLevel.string(), textures);
        if (!context.create()) {
            why = QStringLiteral("no OpenGL context on the platform ") + QGuiApplication::platformName();
            return;
        }
        surface.setFormat(context.format());
        surface.create();
        if (!context.makeCurrent(&surface)) {
            why = QStringLiteral("the context cannot be made current");
            return;
        }
        QOpenGLFramebufferObjectFormat format;
        format.setAttachment(QOpenGLFramebufferObject::Depth);
        target = std::make_unique<QOpenGLFramebufferObject>(kFrame, format);
        if (!renderer.initialize(why)) return;
        target->bind();
        cw::ColourPicture atlas;
        cw::buildTextureAtlas(textures, atlas);
        renderer.setAtlas(atlas);
        update();
        ready = true;
    }
    ~Frame() {
        if (context.makeCurrent(&surface)) {
            renderer.release();
            target.reset();
            context.doneCurrent();
        }
    }
    void update() {
        cw::buildRoomScene(project->rooms[0], 1, false, cw::SceneSelection{}, *work, *scene);
        cw::fillSceneBuffers(*scene, textures, buffers);
        renderer.setBuffers(buffers);
    }
    void draw() {
        renderer.draw(cw::ui::cameraMatrix(cw::ui::ViewCamera{}, *scene, kFrame), kFrame);
        context.functions()->glFinish();
    }
};

// Made on first use, ended before the application (an OpenGL context must not outlive it).
std::unique_ptr<Frame>& frameSlot() {
    static std::unique_ptr<Frame> f;
    return f;
}
Frame& frame() {
    if (!frameSlot()) frameSlot() = std::make_unique<Frame>();
    return *frameSlot();
}

void BM_RoomView3DFrame_LargestRoom(benchmark::State& state) {
    Frame& f = frame();
    if (!f.ready) {
        state.SkipWithError(f.why.toStdString().c_str());
        return;
    }
    for (auto _ : state) f.draw();
    state.SetLabel(f.context.functions()->glGetString(GL_RENDERER) != nullptr
                       ? reinterpret_cast<const char*>(f.context.functions()->glGetString(GL_RENDERER))
                       : "");
}
BENCHMARK(BM_RoomView3DFrame_LargestRoom)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RoomView3DEditAndFrame_LargestRoom(benchmark::State& state) {
    Frame& f = frame();
    if (!f.ready) {
        state.SkipWithError(f.why.toStdString().c_str());
        return;
    }
    for (auto _ : state) {
        f.update();
        f.draw();
    }
}
BENCHMARK(BM_RoomView3DEditAndFrame_LargestRoom)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    // No window: the offscreen platform, which draws with OpenGL on the X display when there is one.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    frameSlot().reset();
    return 0;
}
