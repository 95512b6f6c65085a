// The shipped example project: reproducible, and as described in the README.
#include "example_project.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "common/files.h"
#include "project/project_file.h"

namespace cw {
namespace {

const std::filesystem::path kExample = std::filesystem::path(CW_TEST_SOURCE_DIR) / "examples" / "example.cwp";

std::unique_ptr<Project> example() {
    auto p = std::make_unique<Project>();
    example::buildExampleProject(*p);
    return p;
}

TEST(ExampleProject, CommittedFileIsTheGeneratorsOutput) {
    ASSERT_TRUE(fileExists(kExample)) << kExample;
    EXPECT_EQ(readFile(kExample), serializeProject(*example()))
        << "regenerate it: cmake --build <dir> --target cw_make_example && <dir>/tools/cw_make_example "
           "examples/example.cwp";
}

TEST(ExampleProject, HasRoomsOfDifferentSizesSlopesPortalsAndARoomAboveAnother) {
    auto p = std::make_unique<Project>();
    ASSERT_EQ(loadProject(kExample, *p), 3);
    ASSERT_EQ(p->roomCount, 4);
    EXPECT_EQ(p->currentRoom, 1);

    // Sizes differ.
    EXPECT_NE(p->room(1).numX() * 100 + p->room(1).numZ(), p->room(2).numX() * 100 + p->room(2).numZ());
    EXPECT_NE(p->room(2).numZ(), p->room(3).numZ());

    // Every room lies on the plan's 10-pixel raster inside the plan; doorways join rooms that
    // overlap by two sectors (each room's wall column on the other's first open column).
    for (int n = 1; n <= p->roomCount; ++n) {
        const EditorRoom& r = p->room(n);
        EXPECT_EQ(r.posX % 10, 0);
        EXPECT_EQ(r.posY % 10, 0);
        EXPECT_LE(r.posY + 10 * r.numZ() + 2, 962);
    }
    const auto origin = [&](int n) {
        const EditorRoom& r = p->room(n);
        return roomWorldOrigin(r);
    };
    EXPECT_EQ(origin(1).x, 0);
    EXPECT_EQ(origin(1).z, 0);
    EXPECT_EQ(origin(2).x, origin(1).x + (p->room(1).numX() - 2) * 1024);
    EXPECT_EQ(origin(4).x, origin(2).x + (p->room(2).numX() - 2) * 1024);
    EXPECT_EQ(origin(4).z, origin(2).z);

    // Every portal opens into another existing room, and that room has a portal back.
    for (int n = 1; n <= p->roomCount; ++n) {
        const EditorRoom& r = p->room(n);
        for (int i = 0; i < r.portalCount; ++i) {
            const Portal& portal = r.portals[static_cast<std::size_t>(i)];
            SCOPED_TRACE(testing::Message() << "room " << n << " portal " << i + 1);
            ASSERT_GE(portal.targetRoom, 1);
            ASSERT_LE(portal.targetRoom, p->roomCount);
            EXPECT_NE(portal.targetRoom, n);
            EXPECT_TRUE(inGrid(r.grid, portal.column, portal.row));
            const EditorRoom& other = p->room(portal.targetRoom);
            bool back = false;
            for (int k = 0; k < other.portalCount; ++k) back |= other.portals[static_cast<std::size_t>(k)].targetRoom == n;
            EXPECT_TRUE(back);
        }
    }

    // The upper room stands on the hall's ceiling and lies over it on the plan.
    const EditorRoom& hall = p->room(1);
    const EditorRoom& upper = p->room(3);
    EXPECT_EQ(upper.floorLevel, hall.ceilingLevel);
    const WorldOrigin h = roomWorldOrigin(hall);
    const WorldOrigin u = roomWorldOrigin(upper);
    EXPECT_EQ(u.x - h.x, 2 * 1024);
    EXPECT_EQ(u.z - h.z, 2 * 1024);
    EXPECT_EQ(gameSectorAt(hall.grid, 4, 4).roomAbove, 2);
    EXPECT_EQ(gameSectorAt(upper.grid, 2, 2).roomBelow, 0);

    // The ramp's sloped sectors carry their slope kind and floor-data index.
    const EditorRoom& ramp = p->room(4);
    int sloped = 0;
    for (int x = 1; x <= ramp.numX(); ++x) {
        for (int z = 1; z <= ramp.numZ(); ++z) {
            const Sector& s = sectorAt(ramp, x, z);
            if (s.floorShape < 5) continue;
            ++sloped;
            EXPECT_EQ(s.floorSlopeKind, standardShapeTable()[s.floorShape].slopeKind);
            EXPECT_EQ(gameSectorAt(ramp.grid, x, z).floorDataIndex,
                      standardFloorDataIndexTable()[s.floorSlopeKind][s.ceilingSlopeKind]);
        }
    }
    EXPECT_EQ(sloped, 3);
}

}  // namespace
}  // namespace cw
