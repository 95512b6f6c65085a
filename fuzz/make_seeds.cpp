// Writes the seed corpora of the fuzz targets: make_seeds OUTPUT_FOLDER [LEVELS_FOLDER].
// OUTPUT_FOLDER/<target>/ gets small files made here; the real levels of LEVELS_FOLDER, when
// present, join the base level seeds.
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>

#include "common/files.h"
#include "fuzz_levels.h"
#include "levelfile/level_writer.h"
#include "project/project_file.h"
#include "raster/bmp.h"
#include "raster/draw.h"

namespace fs = std::filesystem;
using namespace cw;

namespace {

void put(const fs::path& folder, const std::string& name, const std::vector<std::uint8_t>& bytes) {
    fs::create_directories(folder);
    writeFileAtomically(folder / name, bytes);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: make_seeds OUTPUT_FOLDER [LEVELS_FOLDER]\n";
        return 2;
    }
    try {
        const fs::path out = argv[1];
        auto project = fuzz::sampleProject();
        put(out / "project_file", "sample.cwp", serializeProject(*project));
        clearProject(*project);
        put(out / "project_file", "empty.cwp", serializeProject(*project));

        auto level = std::make_unique<LevelImage>();
        const char* names[] = {"", "small.phd", "small.tub", "small2.tr2", "small3.tr2"};
        for (int kind = kKindTR1; kind <= kKindTR3; ++kind) {
            fuzz::makeSmallLevel(*level, kind);
            put(out / "base_level", names[kind], serializeLevel(*level, kind));
            put(out / "mesh_file", "kind" + std::to_string(kind) + ".msh", fuzz::sampleMeshFile(kind));
        }
        put(out / "items_file", "short.itm", fuzz::sampleItemsFile(false));
        put(out / "items_file", "long.itm", fuzz::sampleItemsFile(true));
        if (argc > 2) {
            for (const char* name : {"TR1-TEST1.PHD", "TR2-TEST1.TR2", "TR3-TEST1.TR2"}) {
                const fs::path path = fs::path(argv[2]) / name;
                if (fileExists(path)) put(out / "base_level", name, readFile(path));
            }
        }

        IndexedImage picture;
        MakeGrid(4, 4, 3, 5, 253, 209, picture);
        picture.Palette = std::make_shared<PaletteBlock>();
        put(out / "bmp_file", "grid.bmp", EncodeBmp(picture));
        CreateImage(picture, 3, 1);
        put(out / "bmp_file", "odd.bmp", EncodeBmp(picture));
    } catch (const std::exception& e) {
        std::cerr << "make_seeds: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
