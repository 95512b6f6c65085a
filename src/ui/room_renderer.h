#pragma once
// Drawing a room scene (scene/room_scene.h) with OpenGL: the one renderer of the room editor's
// 3D view and of `cairnwork --render`. Its shaders are written for OpenGL ES 2 and are given the
// header of the context they run in (GLSL ES 1.00, GLSL 1.20, or GLSL 3.30 core), so it draws on
// a designer's GPU and on Mesa's software OpenGL alike.
//
// Every call but the camera's needs the context current.
#include <QColor>
#include <QMatrix4x4>
#include <QSize>
#include <QString>
#include <memory>

#include "scene/room_scene.h"

class QOffscreenSurface;
class QOpenGLBuffer;
class QOpenGLContext;
class QOpenGLShaderProgram;
class QOpenGLTexture;
class QOpenGLVertexArrayObject;

namespace cw::ui {

// Makes a new OpenGL context and makes it current on a new offscreen surface (both the caller's,
// the context to be created here): for drawing without a window, or to learn whether the window
// system gives OpenGL at all. False, with the reason, when it gives none or one that cannot be used.
bool makeOffscreenContextCurrent(QOpenGLContext& context, QOffscreenSurface& surface, QString& why);

// The background behind the room (a face left out shows it).
inline constexpr QRgb kViewBackground3D = 0xFF26303C;

// Where the view looks from: round the centre of the room's box (moved by pan), from yaw degrees
// round the vertical (0: from the south) and pitch degrees above the horizontal, at zoom times
// the distance that shows the whole room.
struct ViewCamera {
    float yaw = 30.0F;
    float pitch = 35.0F;
    float zoom = 1.0F;  // 1: the whole room in sight
    QVector3D pan;

    void orbit(float dxDegrees, float dyDegrees);
    // Moves the centre by a drag of (dx, dy) pixels in a view of the given size.
    void panBy(float dx, float dy, QSize view, const RoomScene& scene);
    void zoomBy(float wheelSteps);
};

// The projection and view of the scene for a picture of that size.
QMatrix4x4 cameraMatrix(const ViewCamera& camera, const RoomScene& scene, QSize size);

class RoomRenderer {
public:
    RoomRenderer();
    ~RoomRenderer();
    RoomRenderer(const RoomRenderer&) = delete;
    RoomRenderer& operator=(const RoomRenderer&) = delete;

    // Compiles the shaders and makes the buffers. False, with the reason, when it cannot.
    bool initialize(QString& why);
    // The texture atlas (buildTextureAtlas); an empty picture removes it. False when the atlas
    // is larger than the context takes (the faces are then to be filled without textures).
    bool setAtlas(const ColourPicture& atlas);
    void setBuffers(const SceneBuffers& buffers);
    void draw(const QMatrix4x4& matrix, QSize pixels);
    // Frees the OpenGL objects (the context must be current).
    void release();

private:
    std::unique_ptr<QOpenGLShaderProgram> program_;
    std::unique_ptr<QOpenGLBuffer> faces_;
    std::unique_ptr<QOpenGLBuffer> lines_;
    std::unique_ptr<QOpenGLVertexArrayObject> vao_;
    std::unique_ptr<QOpenGLTexture> atlas_;
    int faceVertices_ = 0;
    int lineVertices_ = 0;
};

}  // namespace cw::ui
