#include "ui/room_render.h"

#include <QBuffer>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QRegularExpression>
#include <cstdio>
#include <exception>
#include <memory>
#include <span>

#include "common/files.h"
#include "project/project_file.h"
#include "ui/base_textures.h"
#include "ui/paths.h"
#include "ui/texts.h"

namespace cw::ui {

namespace {

constexpr int kLargestSide = 8192;

void printError(const QString& text) {
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

}  // namespace

QImage renderScene(const RoomScene& scene, const BaseTextures& textures, QSize size, const ViewCamera& camera,
                   QString& why) {
    QOpenGLContext context;
    QOffscreenSurface surface;
    if (!makeOffscreenContextCurrent(context, surface, why)) return {};
    QImage picture;
    {
        QOpenGLFramebufferObjectFormat format;
        format.setAttachment(QOpenGLFramebufferObject::Depth);
        QOpenGLFramebufferObject frame(size, format);
        RoomRenderer renderer;
        if (!frame.isValid()) {
            why = QStringLiteral("no %1 x %2 framebuffer can be made").arg(size.width()).arg(size.height());
        } else if (renderer.initialize(why)) {
            frame.bind();
            ColourPicture atlas;
            buildTextureAtlas(textures, atlas);
            SceneBuffers buffers;
            if (renderer.setAtlas(atlas)) {
                fillSceneBuffers(scene, textures, buffers);
            } else {
                fillSceneBuffers(scene, BaseTextures{}, buffers);
            }
            renderer.setBuffers(buffers);
            renderer.draw(cameraMatrix(camera, scene, size), size);
            picture = frame.toImage(true).convertToFormat(QImage::Format_RGB32);
            frame.release();
        }
        renderer.release();
    }
    context.doneCurrent();
    return picture;
}

int runRenderCommand(const RenderRequest& request) {
    const auto refuse = [](const QString& text) {
        printError(QStringLiteral("cairnwork --render: ") + text);
        return 1;
    };
    if (request.project.isEmpty()) return refuse(QStringLiteral("give the project file (--render PROJECT.cwp)"));
    if (request.out.isEmpty()) return refuse(QStringLiteral("give the picture to write (--out FILE.png)"));
    if (!request.out.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return refuse(QStringLiteral("the picture \"%1\" must be a .png file").arg(request.out));

    QSize size(800, 600);
    if (!request.size.isEmpty()) {
        static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
        const QRegularExpressionMatch m = pattern.match(request.size);
        size = m.hasMatch() ? QSize(m.captured(1).toInt(), m.captured(2).toInt()) : QSize();
        if (size.width() < 16 || size.height() < 16 || size.width() > kLargestSide || size.height() > kLargestSide)
            return refuse(QStringLiteral("--size \"%1\" is not WIDTHxHEIGHT with each side from 16 to %2")
                              .arg(request.size)
                              .arg(kLargestSide));
    }

    auto project = std::make_unique<Project>();
    try {
        loadProject(toPath(request.project), *project);
    } catch (const std::exception& e) {
        return refuse(QString::fromUtf8(e.what()));
    }
    bool numeric = false;
    const int room = request.room.toInt(&numeric);
    if (request.room.isEmpty()) return refuse(QStringLiteral("give the room to draw (--room N)"));
    if (!numeric || room < 1 || room > project->roomCount)
        return refuse(QStringLiteral("--room \"%1\" is not a room of the project (it has %2)")
                          .arg(request.room)
                          .arg(project->roomCount));

    BaseTextures textures;
    if (!request.base.isEmpty()) {
        if (const auto failure = loadBaseTextures(toCp1250(request.base), textures))
            return refuse(*failure);
    } else if (!project->baseLevelPath.empty()) {
        if (const auto failure = loadBaseTextures(project->baseLevelPath.str(), textures))
            printError(QStringLiteral("cairnwork --render: ") + *failure + QStringLiteral(" Flat colours are drawn."));
    }

    auto work = std::make_unique<SceneWork>();
    auto scene = std::make_unique<RoomScene>();
    const EditorRoom& editorRoom = project->room(room);
    buildRoomScene(editorRoom, room, doubleSidedCeiling(editorRoom, textures.kind), SceneSelection{}, *work, *scene);
    if (!scene->refusal.empty())
        printError(QStringLiteral("cairnwork --render: ") + QString::fromStdString(scene->refusal));

    QString why;
    const QImage picture = renderScene(*scene, textures, size, ViewCamera{}, why);
    if (picture.isNull()) return refuse(why);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) return refuse(QStringLiteral("the picture cannot be encoded as PNG"));
    try {
        writeFileAtomically(toPath(request.out),
                            std::span(reinterpret_cast<const std::uint8_t*>(png.constData()), std::size_t(png.size())));
    } catch (const std::exception& e) {
        return refuse(QString::fromUtf8(e.what()));
    }
    return 0;
}

}  // namespace cw::ui
