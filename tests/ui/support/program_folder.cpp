#include "support/program_folder.h"

#include <QtTest>

#include "common/binio.h"
#include "common/files.h"

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
    constexpr std::uint32_t width = 2, height = 2, rowBytes = 4;
    ByteWriter w(1100);
    w.u8('B');
    w.u8('M');
    w.u32(1078 + rowBytes * height);
    w.u32(0);
    w.u32(1078);
    w.u32(40);
    w.i32(width);
    w.i32(height);
    w.u16(1);
    w.u16(8);
    w.u32(0);
    w.u32(rowBytes * height);
    w.u32(2835);
    w.u32(2835);
    w.u32(256);
    w.u32(0);
    for (std::size_t i = 0; i < 256; ++i) {
        w.u8(static_cast<std::uint8_t>(palette[3 * i + 2] << 2));
        w.u8(static_cast<std::uint8_t>(palette[3 * i + 1] << 2));
        w.u8(static_cast<std::uint8_t>(palette[3 * i] << 2));
        w.u8(0);
    }
    w.zeros(rowBytes * height);
    writeFileAtomically(path, w.bytes());
}

ProgramFolder::ProgramFolder(bool withPalette) {
    if (!dir_.isValid()) qFatal("cannot create a temporary program folder");
    if (withPalette) writePaletteBmp(file("paleta.bmp"), testPalette());
    const std::filesystem::path floorData = std::filesystem::path(CW_TEST_BIN_DIR) / "floor.dat";
    if (fileExists(floorData)) std::filesystem::copy_file(floorData, file("floor.dat"));
}

std::filesystem::path ProgramFolder::path() const { return std::filesystem::path(dir_.path().toStdString()); }

ui::StartupOptions ProgramFolder::options(const QStringList& arguments) const {
    return {path(), file("config.cnf"), arguments};
}

}  // namespace cw::test
