#include "raster/image.h"

#include <algorithm>
#include <cstring>

namespace cw {

bool IsValidImage(const IndexedImage& image) { return image.Marker == kValidMarker; }

void CreateImage(IndexedImage& image, std::uint32_t width, std::uint32_t height) {
    FreeImage(image);
    image.Pixels.assign(std::size_t(width) * height, 0);
    image.Width = width;
    image.Height = height;
    image.Palette.reset();
    image.Marker = kValidMarker;
}

void FreeImage(IndexedImage& image) {
    if (!IsValidImage(image)) return;
    std::vector<std::uint8_t>().swap(image.Pixels);
    image.Width = 0;
    image.Height = 0;
    image.Marker.clear();
    image.Palette.reset();
}

void CopyPixels(const IndexedImage& source, IndexedImage& destination) {
    if (!IsValidImage(source) || !IsValidImage(destination)) return;
    std::size_t n = std::min({std::size_t(source.Width) * source.Height, source.Pixels.size(),
                              std::size_t(destination.Width) * destination.Height,
                              destination.Pixels.size()});
    if (n != 0 && &source != &destination) std::memmove(destination.Pixels.data(), source.Pixels.data(), n);
}

std::array<std::uint32_t, 256> ScreenColours(const PaletteBlock& palette) {
    std::array<std::uint32_t, 256> colours{};
    for (std::size_t i = 0; i < 256; ++i) {
        std::uint32_t r = (std::uint32_t(palette[3 * i]) << 2) & 0xFFu;
        std::uint32_t g = (std::uint32_t(palette[3 * i + 1]) << 2) & 0xFFu;
        std::uint32_t b = (std::uint32_t(palette[3 * i + 2]) << 2) & 0xFFu;
        colours[i] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
    return colours;
}

}  // namespace cw
