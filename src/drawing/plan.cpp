#include "drawing/plan.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "raster/draw.h"

namespace cw {

namespace {

void drawGrid(IndexedImage& image) {
    DrawGrid(kPlanCell, kPlanCell, kPlanSectors, kPlanSectors, kPlanGridLine, kPlanBackground, image);
}

}  // namespace

void createPlan(Plan& plan, const std::shared_ptr<PaletteBlock>& palette) {
    MakeGrid(kPlanCell, kPlanCell, kPlanSectors, kPlanSectors, kPlanGridLine, kPlanBackground, plan.planImage);
    plan.planImage.Palette = palette;
    MakeGrid(kPlanCell, kPlanCell, kPlanSectors, kPlanSectors, kPlanGridLine, kPlanBackground, plan.gridImage);
    CreateImage(plan.workingImage, plan.planImage.Width, plan.planImage.Height);
    plan.workingImage.Palette = palette;
    CopyPixels(plan.planImage, plan.workingImage);
}

void makeRoomPicture(IndexedImage& picture, int rows, int columns) {
    if (!roomSizeFits(columns, rows)) {
        throw std::invalid_argument("A room picture is of 3 to 32 rows and columns, not " + std::to_string(rows) +
                                    " x " + std::to_string(columns));
    }
    MakeGrid(kPlanCell, kPlanCell, static_cast<std::uint8_t>(rows), static_cast<std::uint8_t>(columns), kPlanGridLine,
             kRoomPictureBackground, picture);
}

const IndexedImage& roomPicture(Plan& plan, const EditorRoom& room) {
    static const IndexedImage none;
    const int rows = room.numZ(), columns = room.numX();
    if (!roomSizeFits(columns, rows)) return none;
    IndexedImage& picture =
        plan.roomPictures[static_cast<std::size_t>((rows - kMinRoomSide) * kRoomSizes + (columns - kMinRoomSide))];
    if (!IsValidImage(picture)) makeRoomPicture(picture, rows, columns);
    return picture;
}

void stampRoom(Plan& plan, const EditorRoom& room) {
    const IndexedImage& picture = roomPicture(plan, room);
    PutImageXor(picture, plan.planImage, room.posX, room.posY);
    PutImageAnd(picture, plan.planImage, room.posX, room.posY);
}

void redrawPlan(Plan& plan, const Project& project) {
    drawGrid(plan.planImage);
    for (int n = 1; n <= project.roomCount && n <= kMaxRooms; ++n) {
        if (n == project.currentRoom) continue;
        stampRoom(plan, project.room(n));
    }
    redrawCurrentRoom(plan, project);
}

void redrawCurrentRoom(Plan& plan, const Project& project) {
    CopyPixels(plan.planImage, plan.workingImage);
    if (project.roomCount == 0 || project.currentRoom < 1 || project.currentRoom > project.roomCount) return;
    const IndexedImage& picture = roomPicture(plan, project.current());
    if (!IsValidImage(picture)) return;
    // The room over the grid it covers (the part of it on the plan), then that in front of the
    // rooms beneath.
    if (plan.currentRoom.Width != picture.Width || plan.currentRoom.Height != picture.Height)
        CreateImage(plan.currentRoom, picture.Width, picture.Height);
    const std::int64_t x = project.planX, y = project.planY;
    const std::int64_t left = std::max<std::int64_t>(x, 0), top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(x + picture.Width, plan.gridImage.Width) - 1;
    const std::int64_t bottom = std::min<std::int64_t>(y + picture.Height, plan.gridImage.Height) - 1;
    if (left > right || top > bottom) return;  // wholly off the plan
    CopyImageRect(plan.gridImage, plan.currentRoom, double(left), double(top), double(right), double(bottom),
                  double(left - x), double(top - y));
    PutImageXor(picture, plan.currentRoom, 0, 0);
    CopyImageRect(plan.currentRoom, plan.workingImage, double(left - x), double(top - y), double(right - x),
                  double(bottom - y), double(left), double(top));
}

int roomAtPlanPoint(const Project& project, int x, int y) {
    for (int n = 1; n <= project.roomCount && n <= kMaxRooms; ++n) {
        const EditorRoom& room = project.room(n);
        const PlanSize size = roomPlanSize(room);
        const auto width = static_cast<std::int64_t>(size.width);
        const auto height = static_cast<std::int64_t>(size.height);
        if (room.posX <= x && x <= room.posX + width && room.posY <= y && y <= room.posY + height) return n;
    }
    return 0;
}

std::string positionText(int x, int y, int pictureHeight) {
    const WorldOrigin origin = roomWorldOrigin(x, y, pictureHeight);
    return "X=" + std::to_string(origin.x / 1024) + "  Z=" + std::to_string(origin.z / 1024);
}

}  // namespace cw
