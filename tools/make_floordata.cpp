// Writes "floor.dat", the slope entries of the floor data, to the path given as its argument.
#include <exception>
#include <iostream>

#include "builder/floor_data_file.h"
#include "common/files.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: cw_make_floordata OUTPUT\n";
        return 2;
    }
    try {
        const auto bytes = cw::makeFloorDataFile(cw::standardShapeTable(), cw::standardFloorDataIndexTable());
        cw::writeFileAtomically(argv[1], bytes);
    } catch (const std::exception& e) {
        std::cerr << "cw_make_floordata: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
