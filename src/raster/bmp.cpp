#include "raster/bmp.h"

#include <cstring>
#include <string>

#include "common/binio.h"
#include "common/errors.h"
#include "common/files.h"

namespace cw {

namespace {

struct BmpHeader {
    std::uint32_t fileSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Checks everything the reader relies on and returns the three fields it uses.
BmpHeader checkHeader(std::span<const std::uint8_t> bytes, const std::string& what) {
    ByteReader r(bytes, what);
    if (bytes.size() < kBmpPixelOffset) {
        throw FormatError(what + " is not an 8-bit BMP file: it is only " + std::to_string(bytes.size()) +
                          " bytes long, shorter than a header with a 256-colour table");
    }
    if (bytes[0] != 'B' || bytes[1] != 'M') throw FormatError(what + " is not a BMP file (no \"BM\" signature)");
    BmpHeader h;
    r.seek(2);
    h.fileSize = r.u32();
    r.seek(10);
    std::uint32_t pixelOffset = r.u32();
    std::uint32_t infoSize = r.u32();
    h.width = r.i32();
    h.height = r.i32();
    r.u16();  // planes
    std::uint16_t bitsPerPixel = r.u16();
    std::uint32_t compression = r.u32();
    r.seek(46);
    std::uint32_t coloursUsed = r.u32();
    if (infoSize != 40) {
        throw FormatError(what + " has a " + std::to_string(infoSize) +
                          "-byte information header; only the 40-byte header is supported");
    }
    if (bitsPerPixel != 8) {
        throw FormatError(what + " has " + std::to_string(bitsPerPixel) +
                          " bits per pixel; only 8-bit BMP files are supported");
    }
    if (compression != 0) throw FormatError(what + " is compressed; only uncompressed BMP files are supported");
    if (coloursUsed != 0 && coloursUsed != 256) {
        throw FormatError(what + " has a colour table of " + std::to_string(coloursUsed) +
                          " entries; a full table of 256 is required");
    }
    if (pixelOffset != kBmpPixelOffset) {
        throw FormatError(what + " has its pixels at byte " + std::to_string(pixelOffset) + " instead of 1078");
    }
    return h;
}

}  // namespace

void LoadPaletteBytes(std::span<const std::uint8_t> bytes, PaletteBlock& palette, const std::string& what) {
    checkHeader(bytes, what);
    for (std::size_t i = 0; i < 256; ++i) {
        const std::uint8_t* e = bytes.data() + 54 + 4 * i;  // blue, green, red, reserved
        palette[3 * i] = static_cast<std::uint8_t>(e[2] >> 2);
        palette[3 * i + 1] = static_cast<std::uint8_t>(e[1] >> 2);
        palette[3 * i + 2] = static_cast<std::uint8_t>(e[0] >> 2);
    }
}

void LoadBmpBytes(std::span<const std::uint8_t> bytes, IndexedImage& image, const std::string& what) {
    BmpHeader h = checkHeader(bytes, what);
    if (h.width <= 0 || h.height <= 0) {
        throw FormatError(what + " has a size of " + std::to_string(h.width) + " x " + std::to_string(h.height) +
                          "; width and height must be positive (bottom-up rows)");
    }
    if (h.fileSize < kBmpPixelOffset || h.fileSize > bytes.size()) {
        throw FormatError(what + " declares a file size of " + std::to_string(h.fileSize) + " bytes but has " +
                          std::to_string(bytes.size()));
    }
    const std::size_t W = static_cast<std::size_t>(h.width);
    const std::size_t H = static_cast<std::size_t>(h.height);
    const std::size_t rowLength = (h.fileSize - kBmpPixelOffset) / H;
    if (rowLength < W) {
        throw FormatError(what + " is too short for its size: " + std::to_string(W) + " x " + std::to_string(H) +
                          " pixels need rows of at least " + std::to_string(W) + " bytes");
    }

    IndexedImage loaded;
    CreateImage(loaded, static_cast<std::uint32_t>(W), static_cast<std::uint32_t>(H));
    loaded.Palette = std::make_shared<PaletteBlock>();
    LoadPaletteBytes(bytes, *loaded.Palette, what);
    for (std::size_t i = 0; i < H; ++i) {
        const std::uint8_t* row = bytes.data() + kBmpPixelOffset + i * rowLength;
        std::memcpy(loaded.Pixels.data() + (H - 1 - i) * W, row, W);
    }
    FreeImage(image);
    image = std::move(loaded);
}

std::vector<std::uint8_t> EncodeBmp(const IndexedImage& image) {
    const std::uint32_t W = image.Width, H = image.Height;
    if (!IsValidImage(image) || W == 0 || H == 0 || W > 0x7FFFFFFFu || H > 0x7FFFFFFFu ||
        image.Pixels.size() < std::size_t(W) * H) {
        throw FormatError("Cannot write an empty image as a BMP file");
    }
    const std::uint32_t rowLength = (W + 3u) & ~3u;
    const std::uint32_t fileSize = kBmpPixelOffset + rowLength * H;
    ByteWriter w(fileSize);
    w.u8('B');
    w.u8('M');
    w.u32(fileSize);
    w.u32(0);  // reserved
    w.u32(kBmpPixelOffset);
    w.u32(40);  // information header
    w.i32(static_cast<std::int32_t>(W));
    w.i32(static_cast<std::int32_t>(H));  // positive: bottom-up
    w.u16(1);   // planes
    w.u16(8);   // bits per pixel
    w.u32(0);   // no compression
    w.u32(rowLength * H);
    w.i32(2835);  // 72 dpi
    w.i32(2835);
    w.u32(256);  // colours used
    w.u32(0);    // all important
    for (std::size_t i = 0; i < 256; ++i) {
        std::uint8_t r = static_cast<std::uint8_t>(i >> 2), g = r, b = r;
        if (image.Palette) {
            r = (*image.Palette)[3 * i];
            g = (*image.Palette)[3 * i + 1];
            b = (*image.Palette)[3 * i + 2];
        }
        w.u8(static_cast<std::uint8_t>(b << 2));
        w.u8(static_cast<std::uint8_t>(g << 2));
        w.u8(static_cast<std::uint8_t>(r << 2));
        w.u8(0);
    }
    for (std::uint32_t i = 0; i < H; ++i) {
        const std::uint32_t row = H - 1 - i;
        w.write(image.Pixels.data() + std::size_t(row) * W, W);
        w.zeros(rowLength - W);
    }
    return w.take();
}

void SaveBmp(const std::filesystem::path& fileName, const IndexedImage& image) {
    writeFileAtomically(fileName, EncodeBmp(image));
}

void LoadBmp(const std::filesystem::path& fileName, IndexedImage& image) {
    auto bytes = readFile(fileName);
    LoadBmpBytes(bytes, image, "Picture file \"" + pathText(fileName) + "\"");
}

void LoadPalette(const std::filesystem::path& fileName, PaletteBlock& palette) {
    auto bytes = readFile(fileName);
    LoadPaletteBytes(bytes, palette, "Picture file \"" + pathText(fileName) + "\"");
}

}  // namespace cw
