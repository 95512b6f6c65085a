#include "drawing/plan.h"

#include <algorithm>
#include <cstdint>

#include "raster/draw.h"

namespace cw {

namespace {

constexpr int kPlanBottom = kPlanCell * kPlanSectors + kPlanCell;  // 970: the plan-to-world rule

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

void redrawPlan(Plan& plan, const Project& project) {
    drawGrid(plan.planImage);
    for (int n = 1; n <= project.roomCount && n <= kMaxRooms; ++n) {
        if (n == project.currentRoom) continue;
        const EditorRoom& room = project.room(n);
        PutImageXor(room.planPicture, plan.planImage, room.posX, room.posY);
        PutImageAnd(room.planPicture, plan.planImage, room.posX, room.posY);
    }
    redrawCurrentRoom(plan, project);
}

void redrawCurrentRoom(Plan& plan, const Project& project) {
    CopyPixels(plan.planImage, plan.workingImage);
    if (project.roomCount == 0 || project.currentRoom < 1 || project.currentRoom > project.roomCount) return;
    const IndexedImage& picture = project.current().planPicture;
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
        const auto width = static_cast<std::int64_t>(room.planPicture.Width);
        const auto height = static_cast<std::int64_t>(room.planPicture.Height);
        if (room.posX <= x && x <= room.posX + width && room.posY <= y && y <= room.posY + height) return n;
    }
    return 0;
}

std::string positionText(int x, int y, int pictureHeight) {
    return "X=" + std::to_string(x / kPlanCell) + "  Z=" + std::to_string((kPlanBottom - y - pictureHeight) / kPlanCell);
}

}  // namespace cw
