#include "scene/room_scene.h"

#include <algorithm>
#include <cmath>

#include "project/project_rules.h"

namespace cw {

namespace {

using Point = std::array<float, 3>;

// A room-relative game coordinate in the view's axes.
Point viewPoint(double x, double y, double z) {
    return {static_cast<float>(x), static_cast<float>(-y), static_cast<float>(-z)};
}
Point viewPoint(const ShortVertex& v) { return viewPoint(v.x, v.y, v.z); }

void addLine(RoomScene& scene, const Point& from, const Point& to, LineKind kind) {
    if (scene.lineCount >= scene.lines.size()) return;
    scene.lines[scene.lineCount++] = SceneLine{from, to, kind};
}

// The twelve edges of the box from low to high.
void addWireBox(RoomScene& scene, const Point& low, const Point& high, LineKind kind) {
    for (int axis = 0; axis < 3; ++axis) {
        const int a = (axis + 1) % 3, b = (axis + 2) % 3;
        for (int corner = 0; corner < 4; ++corner) {
            Point from = low, to = high;
            from[std::size_t(a)] = to[std::size_t(a)] = (corner & 1) ? high[std::size_t(a)] : low[std::size_t(a)];
            from[std::size_t(b)] = to[std::size_t(b)] = (corner & 2) ? high[std::size_t(b)] : low[std::size_t(b)];
            addLine(scene, from, to, kind);
        }
    }
}

// A box round the faces over the strip of sectors x in [x0, x1], z in [z0, z1] (1-based,
// inclusive): its height is that of the vertices standing on the strip.
void addStripBox(RoomScene& scene, int x0, int x1, int z0, int z1, LineKind kind) {
    const float gx0 = float(x0 - 1) * 1024.0F, gx1 = float(x1) * 1024.0F;
    const float gz0 = float(z0 - 1) * 1024.0F, gz1 = float(z1) * 1024.0F;
    bool any = false;
    float top = 0, bottom = 0;
    for (std::size_t i = 0; i < scene.mesh.vertexCount; ++i) {
        const ShortVertex& v = scene.mesh.vertices[i];
        if (v.x < gx0 || v.x > gx1 || v.z < gz0 || v.z > gz1) continue;
        const float y = -float(v.y);
        top = any ? std::max(top, y) : y;
        bottom = any ? std::min(bottom, y) : y;
        any = true;
    }
    if (!any) return;
    addWireBox(scene, viewPoint(gx0, -bottom, gz1), viewPoint(gx1, -top, gz0), kind);
}

void widen(RoomScene& scene, const Point& p, bool& first) {
    for (std::size_t k = 0; k < 3; ++k) {
        scene.low[k] = first ? p[k] : std::min(scene.low[k], p[k]);
        scene.high[k] = first ? p[k] : std::max(scene.high[k], p[k]);
    }
    first = false;
}

Point cross(const Point& a, const Point& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Point minus(const Point& a, const Point& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

void setColour(FaceVertex& v, std::uint32_t rgb) {
    v.r = float((rgb >> 16) & 0xFF) / 255.0F;
    v.g = float((rgb >> 8) & 0xFF) / 255.0F;
    v.b = float(rgb & 0xFF) / 255.0F;
}

// The atlas place of each corner of an object texture: a corner on the highest column (row) of
// the texture stands on the far edge of its texel, the others on the near edge, so that the
// face shows the texture's texels whole.
std::array<std::array<float, 2>, 4> atlasCorners(const ObjectTextureInfo& texture, AtlasSize atlas) {
    const int corners = texture.triangle ? 3 : 4;
    int highColumn = 0, highRow = 0, lowColumn = 255, lowRow = 255;
    for (int i = 0; i < corners; ++i) {
        const auto& c = texture.corners[std::size_t(i)];
        highColumn = std::max<int>(highColumn, c[0]);
        highRow = std::max<int>(highRow, c[1]);
        lowColumn = std::min<int>(lowColumn, c[0]);
        lowRow = std::min<int>(lowRow, c[1]);
    }
    const int pageX = (texture.page % kAtlasColumns) * kTexturePageSide;
    const int pageY = (texture.page / kAtlasColumns) * kTexturePageSide;
    std::array<std::array<float, 2>, 4> uv{};
    for (int i = 0; i < corners; ++i) {
        const auto& c = texture.corners[std::size_t(i)];
        const int column = c[0] + (c[0] == highColumn && highColumn != lowColumn ? 1 : 0);
        const int row = c[1] + (c[1] == highRow && highRow != lowRow ? 1 : 0);
        uv[std::size_t(i)] = {float(pageX + column) / float(atlas.width), float(pageY + row) / float(atlas.height)};
    }
    return uv;
}

// One face of the mesh into the buffers: a triangle, or a rectangle as two.
void addFace(const RoomScene& scene, const std::uint16_t* vertices, int corners, std::uint16_t texture,
             const BaseTextures& textures, AtlasSize atlas, SceneBuffers& out) {
    std::array<FaceVertex, 4> v{};
    for (int i = 0; i < corners; ++i) {
        const ShortVertex& s = scene.mesh.vertices[vertices[i]];
        FaceVertex& f = v[std::size_t(i)];
        const Point p = viewPoint(s);
        f.x = p[0];
        f.y = p[1];
        f.z = p[2];
        f.brightness = vertexBrightness(s.light);
    }
    const bool textured = texture < textures.objects.size() &&
                          textures.objects[texture].page < textures.pages.size() && atlas.width > 0;
    if (textured) {
        const ObjectTextureInfo& object = textures.objects[texture];
        const auto uv = atlasCorners(object, atlas);
        for (int i = 0; i < corners; ++i) {
            v[std::size_t(i)].u = uv[std::size_t(i)][0];
            v[std::size_t(i)].v = uv[std::size_t(i)][1];
            v[std::size_t(i)].textured = object.attribute == kTextureTransparentTexels ? FaceVertex::kSeeThroughTexture
                                                                                        : FaceVertex::kOpaqueTexture;
        }
    } else {
        const Facing facing = facingOf({v[0].x, v[0].y, v[0].z}, {v[1].x, v[1].y, v[1].z}, {v[2].x, v[2].y, v[2].z});
        for (FaceVertex& f : v) setColour(f, facingColour(facing));
    }
    out.faces.push_back(v[0]);
    out.faces.push_back(v[1]);
    out.faces.push_back(v[2]);
    if (corners == 4) {
        out.faces.push_back(v[0]);
        out.faces.push_back(v[2]);
        out.faces.push_back(v[3]);
    }
}

std::uint32_t lineColour(LineKind kind) {
    switch (kind) {
        case LineKind::Portal: return 0xFF3030;
        case LineKind::SelectedRows: return 0xFFE000;
        case LineKind::SelectedColumns: return 0x00E0FF;
    }
    return 0xFFFFFF;
}

}  // namespace

void buildRoomScene(const EditorRoom& room, int roomNumber, bool doubleSided, const SceneSelection& selection,
                    SceneWork& work, RoomScene& scene) {
    scene.mesh.vertexCount = scene.mesh.rectangleCount = scene.mesh.triangleCount = 0;
    scene.refusal.clear();
    scene.lineCount = 0;
    scene.low = scene.high = {};
    scene.numX = room.numX();
    scene.numZ = room.numZ();
    if (!roomSizeFits(scene.numX, scene.numZ)) {
        scene.numX = scene.numZ = 0;
        return;
    }
    // A shape byte the shape table does not hold (a project file may carry one) is refused here
    // as the build refuses it, before the mesh looks it up.
    for (int x = 1; x <= scene.numX; ++x) {
        for (int z = 1; z <= scene.numZ; ++z) {
            if (auto fault = sectorShapeFault(roomNumber, room, x, z)) {
                scene.refusal = fault->text;
                return;
            }
        }
    }

    // The mesh, as the build makes it.
    work.quads.clear();
    buildRoomMesh(work.quads, room.grid, room.sectors, doubleSided, standardShapeTable());
    if (work.quads.dropped != 0) {
        scene.refusal = quadLimitMessage(roomNumber, room.name.view());
    } else {
        const MeshResult result = assembleFaces(work.quads, scene.mesh, work.index);
        if (result != MeshResult::Ok) {
            scene.refusal = meshLimitMessage(roomNumber, room.name.view(), result);
            scene.mesh.vertexCount = scene.mesh.rectangleCount = scene.mesh.triangleCount = 0;
        }
    }

    // The portals' outlines.
    for (int k = 0; k < portalsInUse(room); ++k) {
        const auto geometry = portalGeometry(room.portals[std::size_t(k)], room.grid);
        if (!geometry) continue;
        for (std::size_t i = 0; i < 4; ++i) {
            const auto& a = geometry->corners[i];
            const auto& b = geometry->corners[(i + 1) % 4];
            addLine(scene, viewPoint(double(a[0]), double(a[1]), double(a[2])),
                    viewPoint(double(b[0]), double(b[1]), double(b[2])), LineKind::Portal);
        }
    }

    // The side views' selections.
    const int lastRow = std::min(selection.lastRow, scene.numZ);
    if (selection.firstRow >= 1 && selection.firstRow <= lastRow)
        addStripBox(scene, 1, scene.numX, selection.firstRow, lastRow, LineKind::SelectedRows);
    const int lastColumn = std::min(selection.lastColumn, scene.numX);
    if (selection.firstColumn >= 1 && selection.firstColumn <= lastColumn)
        addStripBox(scene, selection.firstColumn, lastColumn, 1, scene.numZ, LineKind::SelectedColumns);

    bool first = true;
    for (std::size_t i = 0; i < scene.mesh.vertexCount; ++i) widen(scene, viewPoint(scene.mesh.vertices[i]), first);
    for (std::size_t i = 0; i < scene.lineCount; ++i) {
        widen(scene, scene.lines[i].from, first);
        widen(scene, scene.lines[i].to, first);
    }
    if (first) {  // no face and no line: the room's floor plan at height 0
        scene.low = {0, 0, -float(scene.numZ) * 1024.0F};
        scene.high = {float(scene.numX) * 1024.0F, 0, 0};
    }
}

Facing facingOf(const Point& a, const Point& b, const Point& c) {
    // Clockwise seen from the front: the normal is (c - a) x (b - a).
    const Point n = cross(minus(c, a), minus(b, a));
    const float ax = std::fabs(n[0]), ay = std::fabs(n[1]), az = std::fabs(n[2]);
    if (ay >= ax && ay >= az) return n[1] >= 0 ? Facing::Up : Facing::Down;
    if (ax >= az) return n[0] >= 0 ? Facing::East : Facing::West;
    return n[2] >= 0 ? Facing::South : Facing::North;
}

std::uint32_t facingColour(Facing facing) {
    switch (facing) {
        case Facing::Up: return 0xC8B48C;     // floors: sand
        case Facing::Down: return 0x8C9CB4;   // ceilings: slate blue
        case Facing::North: return 0xB47864;  // walls looking north or south: brick
        case Facing::South: return 0x9C6450;
        case Facing::East: return 0x78A078;   // walls looking east or west: moss
        case Facing::West: return 0x64886C;
    }
    return 0xFFFFFF;
}

float vertexBrightness(std::int16_t lightField) {
    const int light = std::min(32, static_cast<int>(static_cast<std::uint16_t>(lightField) >> 8));
    return float(32 - light) / 16.0F;
}

AtlasSize atlasSize(std::size_t pageCount) {
    if (pageCount == 0) return {};
    const int columns = static_cast<int>(std::min<std::size_t>(pageCount, kAtlasColumns));
    const int rows = static_cast<int>((pageCount + kAtlasColumns - 1) / kAtlasColumns);
    return {columns * kTexturePageSide, rows * kTexturePageSide};
}

void buildTextureAtlas(const BaseTextures& textures, ColourPicture& atlas) {
    const AtlasSize size = atlasSize(textures.pages.size());
    atlas.width = size.width;
    atlas.height = size.height;
    atlas.argb.assign(std::size_t(size.width) * std::size_t(size.height), 0);
    for (std::size_t p = 0; p < textures.pages.size(); ++p) {
        const ColourPicture& page = textures.pages[p];
        if (page.width != kTexturePageSide || page.height != kTexturePageSide ||
            page.argb.size() != std::size_t(kTexturePageSide) * kTexturePageSide)
            continue;
        const std::size_t left = (p % kAtlasColumns) * kTexturePageSide;
        const std::size_t top = (p / kAtlasColumns) * kTexturePageSide;
        for (std::size_t row = 0; row < std::size_t(kTexturePageSide); ++row)
            std::copy_n(page.argb.begin() + std::ptrdiff_t(row * kTexturePageSide), kTexturePageSide,
                        atlas.argb.begin() + std::ptrdiff_t((top + row) * std::size_t(size.width) + left));
    }
}

void fillSceneBuffers(const RoomScene& scene, const BaseTextures& textures, SceneBuffers& out) {
    out.faces.clear();
    out.lines.clear();
    out.faces.reserve(6u * scene.mesh.rectangleCount + 3u * scene.mesh.triangleCount);
    const AtlasSize atlas = atlasSize(textures.pages.size());
    for (std::size_t i = 0; i < scene.mesh.rectangleCount; ++i) {
        const RoomRectangle& r = scene.mesh.rectangles[i];
        addFace(scene, r.vertices.data(), 4, r.texture, textures, atlas, out);
    }
    for (std::size_t i = 0; i < scene.mesh.triangleCount; ++i) {
        const RoomTriangle& t = scene.mesh.triangles[i];
        addFace(scene, t.vertices.data(), 3, t.texture, textures, atlas, out);
    }
    for (std::size_t i = 0; i < scene.lineCount; ++i) {
        const SceneLine& line = scene.lines[i];
        for (const Point& p : {line.from, line.to}) {
            FaceVertex v;
            v.x = p[0];
            v.y = p[1];
            v.z = p[2];
            setColour(v, lineColour(line.kind));
            out.lines.push_back(v);
        }
    }
}

}  // namespace cw
