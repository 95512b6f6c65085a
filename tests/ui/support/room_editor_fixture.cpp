#include "support/room_editor_fixture.h"

#include <string>

#include "raster/bmp.h"

namespace cw::test {

FakeEditorServices::FakeEditorServices() : FakeEditorServices(std::filesystem::path(CW_TEST_BIN_DIR)) {}

FakeEditorServices::FakeEditorServices(std::filesystem::path programFolder) : folder(std::move(programFolder)) {
    const std::filesystem::path shipped = std::filesystem::path(CW_TEST_BIN_DIR) / "paleta.bmp";
    LoadPalette(shipped, palette);
}

std::unique_ptr<Project> makeProject(int roomCount, int rows, int columns, int current) {
    auto project = std::make_unique<Project>();
    project->roomCount = static_cast<std::uint8_t>(roomCount);
    project->currentRoom = static_cast<std::uint8_t>(current);
    for (int n = 1; n <= roomCount; ++n) {
        EditorRoom& room = project->room(n);
        room.name = "Room #" + std::to_string(n);
        room.floorLevel = 127;
        room.ceilingLevel = 139;
        room.roomLight = 16;
        room.defaultFloorTextures = {0, 1, 2, 3, 4};
        room.defaultCeilingTextures = {5, 6, 7, 8, 9};
        initSectorGrid(room, rows, columns);
    }
    return project;
}

}  // namespace cw::test
