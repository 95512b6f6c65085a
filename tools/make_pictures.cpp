// Writes paleta.bmp, shapes1.bmp and shapes2.bmp into the folder given as the only argument.
#include <exception>
#include <filesystem>
#include <iostream>

#include "pictures.h"
#include "raster/bmp.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: cw_make_pictures OUTPUT_FOLDER\n";
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        cw::SaveBmp(folder / "paleta.bmp", cw::pictures::paletteImage());
        cw::SaveBmp(folder / "shapes1.bmp", cw::pictures::floorGlyphStrip());
        cw::SaveBmp(folder / "shapes2.bmp", cw::pictures::ceilingGlyphStrip());
    } catch (const std::exception& e) {
        std::cerr << "cw_make_pictures: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
