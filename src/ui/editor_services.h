#pragma once
// What the room editor window uses of the main window: the program palette and folder, the
// three screen bitmaps of the room views (owned by the main window), the base level's textures
// and the undo history that every edit goes through.
#include <filesystem>
#include <functional>

#include "project/project_history.h"

#include "raster/image.h"
#include "ui/screen_bitmap.h"

namespace cw::ui {

class BaseTextureSource;

class EditorServices {
public:
    virtual ~EditorServices() = default;
    virtual const PaletteBlock& programPalette() const = 0;
    virtual const std::filesystem::path& programFolder() const = 0;
    virtual ScreenBitmap& topViewBitmap() = 0;
    virtual ScreenBitmap& frontBackBitmap() = 0;
    virtual ScreenBitmap& leftRightBitmap() = 0;
    // The textures of the project's base level (kind 0 while there are none).
    virtual BaseTextureSource& baseTextureSource() = 0;
    // Makes every edit of the project: runs `edit` (true when it changed the project) as one
    // step of the undo history, named by `kind`, and returns what it returned.
    virtual bool recordEdit(StepKind kind, const std::function<bool()>& edit) = 0;
};

}  // namespace cw::ui
