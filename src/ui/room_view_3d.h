#pragma once
// The room editor's 3D view of the current room: the room's faces as the build makes them
// (scene/room_scene.h), textured with the base level's object textures and shaded with the
// vertex light, flat colours by facing without a base level; the portals outlined and the side
// views' selected rows and columns boxed.
//
// Mouse: left drag orbits, middle drag or Shift + left drag pans, the wheel zooms; Home or R
// (with the view focused) puts the camera back. When no OpenGL context can be made the view is
// a text saying so, and everything else of the editor works as before.
//
// RoomView3D (objectName "RoomView3D") holds either the OpenGL widget ("RoomView3DGL") or the
// text ("RoomView3DMessage").
#include <QImage>
#include <QString>
#include <QWidget>
#include <memory>

#include "scene/room_scene.h"
#include "ui/room_renderer.h"

class QLabel;

namespace cw::ui {

class RoomGLWidget;

// Whether the window system shows OpenGL widgets in its windows.
bool platformShowsOpenGLWidgets();
// Whether this process can make an OpenGL context (an offscreen surface made current), and why
// not when it cannot.
bool canMakeOpenGLContext(QString* why);

class RoomView3D : public QWidget {
    Q_OBJECT
public:
    explicit RoomView3D(QWidget* parent = nullptr);
    ~RoomView3D() override;

    // Makes the scene of the room anew and redraws: called after every edit and selection change.
    void showRoom(const EditorRoom& room, int roomNumber, const SceneSelection& selection);
    // The base level's textures (kind 0: none, flat colours); the view keeps a pointer. The
    // next paint uses them; showRoom after it when the game kind may have changed.
    void setTextures(const BaseTextures* textures);
    void resetView();

    bool hasOpenGL() const { return gl_ != nullptr; }
    QString unavailableReason() const { return reason_; }
    const RoomScene& scene() const { return *scene_; }
    const SceneBuffers& buffers() const { return buffers_; }
    ViewCamera& camera() { return camera_; }
    // The picture drawn (empty without OpenGL).
    QImage grabView();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class RoomGLWidget;
    void refill();

    std::unique_ptr<SceneWork> work_;
    std::unique_ptr<RoomScene> scene_;
    SceneBuffers buffers_;
    const BaseTextures* textures_ = nullptr;
    bool atlasRefused_ = false;  // the textures' atlas is too large for the GPU: flat colours
    BaseTextures noTextures_;
    ViewCamera camera_;
    bool buffersChanged_ = true;
    bool texturesChanged_ = true;
    RoomGLWidget* gl_ = nullptr;
    QLabel* message_ = nullptr;  // why there is no view, or why the build would refuse the mesh
    QString reason_;
};

}  // namespace cw::ui
