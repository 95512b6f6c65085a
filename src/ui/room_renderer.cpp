#include "ui/room_renderer.h"

#include <QGuiApplication>
#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLBuffer>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QOpenGLTexture>
#include <QOpenGLVertexArrayObject>
#include <QtMath>
#include <algorithm>
#include <cstddef>

namespace cw::ui {

namespace {

constexpr float kFieldOfView = 45.0F;

// Written in GLSL ES 1.00; the header of the context's language goes before it.
const char* const kVertexShader = R"(
attribute vec3 position;
attribute vec2 texCoord;
attribute vec3 colour;
attribute float brightness;
attribute float textured;
uniform mat4 matrix;
varying vec2 vTexCoord;
varying vec3 vColour;
varying float vBrightness;
varying float vTextured;
void main() {
    gl_Position = matrix * vec4(position, 1.0);
    vTexCoord = texCoord;
    vColour = colour;
    vBrightness = brightness;
    vTextured = textured;
}
)";

const char* const kFragmentShader = R"(
uniform sampler2D atlas;
varying vec2 vTexCoord;
varying vec3 vColour;
varying float vBrightness;
varying float vTextured;
void main() {
    vec4 texel = vec4(1.0);
    if (vTextured > 0.5) {
        texel = texture2D(atlas, vTexCoord);
        if (vTextured > 1.5 && texel.a < 0.5) discard;
    }
    gl_FragColor = vec4(min(texel.rgb * vColour * vBrightness, vec3(1.0)), 1.0);
}
)";

bool coreProfile(const QOpenGLContext& context) {
    const QSurfaceFormat f = context.format();
    return !context.isOpenGLES() && f.profile() == QSurfaceFormat::CoreProfile;
}

QByteArray shaderSource(const QOpenGLContext& context, bool vertex) {
    QByteArray header;
    if (context.isOpenGLES()) {
        header = "#version 100\nprecision mediump float;\n";
    } else if (coreProfile(context)) {
        header = vertex ? "#version 330 core\n#define attribute in\n#define varying out\n"
                        : "#version 330 core\n#define varying in\n#define texture2D texture\n"
                          "out vec4 fragColour;\n#define gl_FragColor fragColour\n";
    } else {
        header = "#version 120\n";
    }
    return header + (vertex ? kVertexShader : kFragmentShader);
}

float sceneRadius(const RoomScene& scene) {
    const QVector3D size(scene.high[0] - scene.low[0], scene.high[1] - scene.low[1], scene.high[2] - scene.low[2]);
    return std::max(size.length() / 2.0F, 1024.0F);
}

QVector3D sceneCentre(const RoomScene& scene) {
    return {(scene.low[0] + scene.high[0]) / 2, (scene.low[1] + scene.high[1]) / 2, (scene.low[2] + scene.high[2]) / 2};
}

// How far the camera stands from the centre in a view of this size: at zoom 1 the sphere round the
// room just fits the narrower of the view's two angles, so the whole room is in sight.
float cameraDistance(const ViewCamera& camera, const RoomScene& scene, QSize size) {
    const float aspect = float(std::max(1, size.width())) / float(std::max(1, size.height()));
    const float halfHeight = qDegreesToRadians(kFieldOfView / 2);
    const float halfWidth = std::atan(aspect * std::tan(halfHeight));
    return camera.zoom * sceneRadius(scene) / std::sin(std::min(halfHeight, halfWidth));
}

}  // namespace

bool makeOffscreenContextCurrent(QOpenGLContext& context, QOffscreenSurface& surface, QString& why) {
    if (!context.create()) {
        const QString platform = QGuiApplication::platformName();
        why = QStringLiteral("the window system (Qt platform \"%1\") gives no OpenGL context").arg(platform);
        if (platform == QLatin1String("offscreen"))
            why += QStringLiteral(" (the offscreen platform needs an X display for OpenGL: run under an X server, "
                                  "such as xvfb-run)");
        return false;
    }
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface)) {
        why = QStringLiteral("an OpenGL context was made but cannot be used offscreen");
        return false;
    }
    return true;
}

void ViewCamera::orbit(float dxDegrees, float dyDegrees) {
    yaw = std::fmod(yaw + dxDegrees, 360.0F);
    pitch = std::clamp(pitch + dyDegrees, -89.0F, 89.0F);
}

void ViewCamera::panBy(float dx, float dy, QSize view, const RoomScene& scene) {
    // A drag across the whole view moves the centre by the width the view shows at the centre.
    const float distance = cameraDistance(*this, scene, view);
    const float perPixel = 2.0F * distance * std::tan(qDegreesToRadians(kFieldOfView / 2)) / float(std::max(1, view.height()));
    QMatrix4x4 turn;
    turn.rotate(yaw, 0, 1, 0);
    turn.rotate(-pitch, 1, 0, 0);
    const QVector3D right = turn.map(QVector3D(1, 0, 0));
    const QVector3D up = turn.map(QVector3D(0, 1, 0));
    pan += (-dx * right + dy * up) * perPixel;
}

void ViewCamera::zoomBy(float wheelSteps) { zoom = std::clamp(zoom * std::pow(0.85F, wheelSteps), 0.05F, 20.0F); }

QMatrix4x4 cameraMatrix(const ViewCamera& camera, const RoomScene& scene, QSize size) {
    const float radius = sceneRadius(scene);
    const float distance = cameraDistance(camera, scene, size);
    QMatrix4x4 m;
    const float aspect = float(std::max(1, size.width())) / float(std::max(1, size.height()));
    m.perspective(kFieldOfView, aspect, std::max(16.0F, distance - 4 * radius) / 4, distance + 4 * radius);
    m.translate(0, 0, -distance);
    m.rotate(camera.pitch, 1, 0, 0);
    m.rotate(-camera.yaw, 0, 1, 0);
    m.translate(-(sceneCentre(scene) + camera.pan));
    return m;
}

RoomRenderer::RoomRenderer() = default;
RoomRenderer::~RoomRenderer() = default;

bool RoomRenderer::initialize(QString& why) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (context == nullptr) {
        why = QStringLiteral("no OpenGL context is current");
        return false;
    }
    program_ = std::make_unique<QOpenGLShaderProgram>();
    if (!program_->addShaderFromSourceCode(QOpenGLShader::Vertex, shaderSource(*context, true)) ||
        !program_->addShaderFromSourceCode(QOpenGLShader::Fragment, shaderSource(*context, false))) {
        why = QStringLiteral("the shaders do not compile: ") + program_->log();
        return false;
    }
    program_->bindAttributeLocation("position", 0);
    program_->bindAttributeLocation("texCoord", 1);
    program_->bindAttributeLocation("colour", 2);
    program_->bindAttributeLocation("brightness", 3);
    program_->bindAttributeLocation("textured", 4);
    if (!program_->link()) {
        why = QStringLiteral("the shaders do not link: ") + program_->log();
        return false;
    }
    vao_ = std::make_unique<QOpenGLVertexArrayObject>();
    vao_->create();  // needed by a core profile; elsewhere it may not be there, and is not needed
    faces_ = std::make_unique<QOpenGLBuffer>(QOpenGLBuffer::VertexBuffer);
    lines_ = std::make_unique<QOpenGLBuffer>(QOpenGLBuffer::VertexBuffer);
    if (!faces_->create() || !lines_->create()) {
        why = QStringLiteral("no vertex buffer can be made");
        return false;
    }
    faces_->setUsagePattern(QOpenGLBuffer::DynamicDraw);
    lines_->setUsagePattern(QOpenGLBuffer::DynamicDraw);
    return true;
}

bool RoomRenderer::setAtlas(const ColourPicture& atlas) {
    atlas_.reset();
    if (atlas.width <= 0 || atlas.height <= 0) return true;
    GLint largest = 0;
    QOpenGLContext::currentContext()->functions()->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (atlas.width > largest || atlas.height > largest) return false;
    // 0xAARRGGBB words are QImage's ARGB32 pixels; the first row is at texture row 0.
    const QImage image(reinterpret_cast<const uchar*>(atlas.argb.data()), atlas.width, atlas.height,
                       atlas.width * 4, QImage::Format_ARGB32);
    atlas_ = std::make_unique<QOpenGLTexture>(QOpenGLTexture::Target2D);
    atlas_->setData(image, QOpenGLTexture::DontGenerateMipMaps);
    atlas_->setMinMagFilters(QOpenGLTexture::Nearest, QOpenGLTexture::Nearest);
    atlas_->setWrapMode(QOpenGLTexture::ClampToEdge);
    return true;
}

void RoomRenderer::setBuffers(const SceneBuffers& buffers) {
    const auto upload = [](QOpenGLBuffer& buffer, const std::vector<FaceVertex>& vertices) {
        buffer.bind();
        buffer.allocate(vertices.data(), static_cast<int>(vertices.size() * sizeof(FaceVertex)));
        buffer.release();
        return static_cast<int>(vertices.size());
    };
    faceVertices_ = upload(*faces_, buffers.faces);
    lineVertices_ = upload(*lines_, buffers.lines);
}

void RoomRenderer::draw(const QMatrix4x4& matrix, QSize pixels) {
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    gl->glViewport(0, 0, pixels.width(), pixels.height());
    gl->glClearColor(float(qRed(kViewBackground3D)) / 255.0F, float(qGreen(kViewBackground3D)) / 255.0F,
                     float(qBlue(kViewBackground3D)) / 255.0F, 1.0F);
    gl->glClearDepthf(1.0F);
    gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!program_) return;

    QOpenGLVertexArrayObject::Binder vaoBinder(vao_.get());
    program_->bind();
    program_->setUniformValue("matrix", matrix);
    program_->setUniformValue("atlas", 0);
    if (atlas_) atlas_->bind(0);

    const auto drawBuffer = [&](QOpenGLBuffer& buffer, GLenum mode, int count) {
        if (count == 0) return;
        buffer.bind();
        constexpr int stride = sizeof(FaceVertex);
        program_->enableAttributeArray(0);
        program_->setAttributeBuffer(0, GL_FLOAT, offsetof(FaceVertex, x), 3, stride);
        program_->enableAttributeArray(1);
        program_->setAttributeBuffer(1, GL_FLOAT, offsetof(FaceVertex, u), 2, stride);
        program_->enableAttributeArray(2);
        program_->setAttributeBuffer(2, GL_FLOAT, offsetof(FaceVertex, r), 3, stride);
        program_->enableAttributeArray(3);
        program_->setAttributeBuffer(3, GL_FLOAT, offsetof(FaceVertex, brightness), 1, stride);
        program_->enableAttributeArray(4);
        program_->setAttributeBuffer(4, GL_FLOAT, offsetof(FaceVertex, textured), 1, stride);
        gl->glDrawArrays(mode, 0, count);
        buffer.release();
    };
    // Faces: the side the game draws (clockwise seen from the front), hidden ones behind.
    gl->glEnable(GL_DEPTH_TEST);
    gl->glDepthFunc(GL_LEQUAL);
    gl->glEnable(GL_CULL_FACE);
    gl->glFrontFace(GL_CW);
    gl->glCullFace(GL_BACK);
    drawBuffer(*faces_, GL_TRIANGLES, faceVertices_);
    // Portal outlines and selection boxes over everything.
    gl->glDisable(GL_DEPTH_TEST);
    gl->glDisable(GL_CULL_FACE);
    drawBuffer(*lines_, GL_LINES, lineVertices_);
    if (atlas_) atlas_->release(0);
    program_->release();
}

void RoomRenderer::release() {
    atlas_.reset();
    faces_.reset();
    lines_.reset();
    vao_.reset();
    program_.reset();
    faceVertices_ = lineVertices_ = 0;
}

}  // namespace cw::ui
