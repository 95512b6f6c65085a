#include "support/program_folder.h"

#include <QtTest>

#include "common/files.h"
#include "raster/bmp.h"

namespace cw::test {

PaletteBlock testPalette() {
    PaletteBlock palette{};
    for (std::size_t i = 0; i < 256; ++i) {
        palette[3 * i] = static_cast<std::uint8_t>(i % 64);
        palette[3 * i + 1] = static_cast<std::uint8_t>((i / 4) % 64);
        palette[3 * i + 2] = static_cast<std::uint8_t>(63 - i % 64);
    }
    return palette;
}

void writePaletteBmp(const std::filesystem::path& path, const PaletteBlock& palette) {
    IndexedImage image;
    CreateImage(image, 2, 2);
    image.Palette = std::make_shared<PaletteBlock>(palette);
    SaveBmp(path, image);
}

ProgramFolder::ProgramFolder(bool withPalette) {
    if (!dir_.isValid()) qFatal("cannot create a temporary program folder");
    if (withPalette) writePaletteBmp(file("paleta.bmp"), testPalette());
    for (const char* name : {"floor.dat", "shapes1.bmp", "shapes2.bmp", "cairnwork_en.qm"}) {
        const std::filesystem::path shipped = std::filesystem::path(CW_TEST_BIN_DIR) / name;
        if (fileExists(shipped)) std::filesystem::copy_file(shipped, file(name));
    }
}

std::filesystem::path ProgramFolder::path() const { return std::filesystem::path(dir_.path().toStdString()); }

ui::StartupOptions ProgramFolder::options(const QStringList& arguments, const QString& language) const {
    return {path(), file("config.cnf"), arguments, language};
}

}  // namespace cw::test
