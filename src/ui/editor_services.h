#pragma once
// What the room editor window uses of the main window: the program palette and folder, the
// three screen bitmaps of the room views (owned by the main window), the base level's textures
// and the unsaved-changes mark.
#include <filesystem>

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
    // Called after every edit of the project.
    virtual void markModified() = 0;
};

}  // namespace cw::ui
