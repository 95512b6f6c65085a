#pragma once
// Room editor tests: the main window's services faked (the program folder is the build's bin
// folder with the shipped palette and glyph strips), and projects of plain rooms.
#include <filesystem>
#include <memory>

#include "project/project.h"
#include "ui/base_textures.h"
#include "ui/editor_services.h"

namespace cw::test {

class FakeEditorServices : public cw::ui::EditorServices {
public:
    // The program folder defaults to the build's bin folder; the palette is read from its
    // "paleta.bmp".
    FakeEditorServices();
    explicit FakeEditorServices(std::filesystem::path folder);

    const PaletteBlock& programPalette() const override { return palette; }
    const std::filesystem::path& programFolder() const override { return folder; }
    cw::ui::ScreenBitmap& topViewBitmap() override { return top; }
    cw::ui::ScreenBitmap& frontBackBitmap() override { return frontBack; }
    cw::ui::ScreenBitmap& leftRightBitmap() override { return leftRight; }
    cw::ui::BaseTextureSource& baseTextureSource() override { return textures; }
    // Counts the edits that changed the project, and the kind of the last one.
    bool recordEdit(StepKind kind, const std::function<bool()>& edit) override {
        const bool changed = edit();
        if (changed) {
            ++modifiedCount;
            lastKind = kind;
        }
        return changed;
    }

    PaletteBlock palette{};
    std::filesystem::path folder;
    cw::ui::ScreenBitmap top, frontBack, leftRight;
    cw::ui::BaseTextureSource textures;  // none until a test puts some in place
    int modifiedCount = 0;
    StepKind lastKind = StepKind::BuildSettings;
};

// A project of `roomCount` rooms named "Room #n", each rows x columns with floor level 127,
// ceiling level 139, light 16 and default textures shown as 1..5 (floor) and 6..10 (ceiling);
// `current` is the current room.
std::unique_ptr<Project> makeProject(int roomCount, int rows, int columns, int current = 1);

}  // namespace cw::test
