#include "ui/plan.h"

#include "raster/draw.h"

namespace cw::ui {

namespace {

constexpr int kPlanBottom = kPlanCell * kPlanSectors + kPlanCell;  // 970: the plan-to-world rule

void drawGrid(IndexedImage& image) {
    DrawGrid(kPlanCell, kPlanCell, kPlanSectors, kPlanSectors, kPlanGridLine, kPlanBackground, image);
}

}  // namespace

void createPlan(Plan& plan, const std::shared_ptr<PaletteBlock>& palette) {
    MakeGrid(kPlanCell, kPlanCell, kPlanSectors, kPlanSectors, kPlanGridLine, kPlanBackground, plan.planImage);
    plan.planImage.Palette = palette;
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
    PutImageXor(project.current().planPicture, plan.workingImage, project.planX, project.planY);
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

}  // namespace cw::ui
