#pragma once
// The 3D view drawn offscreen, without a window: `cairnwork --render PROJECT.cwp --room N --out
// FILE.png [--size WxH] [--base LEVEL]`, for thumbnails, documentation and tests. The picture is
// the room editor's 3D view of the room at its starting camera, drawn by the same renderer into
// an offscreen framebuffer.
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

#include "drawing/level_textures.h"
#include "project/project.h"
#include "scene/room_scene.h"
#include "ui/room_renderer.h"

namespace cw::ui {

struct RenderRequest {
    QString project;
    QString room;  // as given; a room number of the project
    QString out;
    QString size;  // "WxH"; empty: 800x600
    QString base;  // empty: the project's base level, when it names one
};

// Draws the scene offscreen. Empty image, with the reason, when no OpenGL context can be made.
QImage renderScene(const RoomScene& scene, const BaseTextures& textures, QSize size, const ViewCamera& camera,
                   QString& why);

// Runs the --render command: 0 when the picture was written; 1, with the reason on standard
// error, when anything is refused (the project, the room, the size, the base level, no OpenGL
// context, the output). Notes (the project's base level missing) go to standard error too.
int runRenderCommand(const RenderRequest& request);

}  // namespace cw::ui
