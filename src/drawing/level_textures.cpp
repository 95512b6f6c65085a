#include "drawing/level_textures.h"

#include <algorithm>
#include <cstddef>
#include <span>

#include "common/binio.h"
#include "levelfile/level_image.h"

namespace cw {

namespace {

constexpr std::size_t kPageTexels = std::size_t(kTexturePageSide) * kTexturePageSide;
constexpr std::size_t kObjectTextureBytes = decltype(LevelImage::objectTextures)::elementBytes;

constexpr std::uint32_t widen5(std::uint32_t v) { return (v << 3) | (v >> 2); }
constexpr std::uint32_t widen6(std::uint32_t c) { return ((c << 2) | (c >> 4)) & 0xFF; }

// A page sized for decoding, keeping its pixels when it has the size already.
void sizePage(ColourPicture& page) {
    page.width = kTexturePageSide;
    page.height = kTexturePageSide;
    page.argb.resize(kPageTexels);
}

// The colour of every 5-5-5 value, made when the program is compiled.
constexpr std::array<std::uint32_t, 32768> kColours555 = [] {
    std::array<std::uint32_t, 32768> colours{};
    for (std::uint32_t v = 0; v < colours.size(); ++v)
        colours[v] = (widen5((v >> 10) & 31) << 16) | (widen5((v >> 5) & 31) << 8) | widen5(v & 31);
    return colours;
}();

// 1-5-5-5 texels to 0xAARRGGBB; alpha bit 0 gives alpha 0.
void decode16(std::span<const std::uint8_t> texels, std::uint32_t* out) {
    const std::uint8_t* in = texels.data();
    for (std::size_t i = 0; i < kPageTexels; ++i) {
        const std::uint32_t v = std::uint32_t(in[2 * i]) | (std::uint32_t(in[2 * i + 1]) << 8);
        out[i] = ((v >> 15) * 0xFF000000u) | kColours555[v & 0x7FFF];
    }
}

// Palette indices to 0xAARRGGBB; index 0 gives alpha 0 (its colour kept).
void decode8(std::span<const std::uint8_t> texels, const std::array<std::uint32_t, 256>& colours,
             std::uint32_t* out) {
    for (std::size_t i = 0; i < kPageTexels; ++i) out[i] = colours[texels[i]];
}

ObjectTextureInfo readObjectTexture(ByteReader& in) {
    ObjectTextureInfo t;
    t.attribute = in.u16();
    t.page = in.u16() & 0x3FFF;
    bool lastZero = true;
    for (std::size_t c = 0; c < 4; ++c) {
        const std::uint8_t columnFraction = in.u8();
        const std::uint8_t column = in.u8();
        const std::uint8_t rowFraction = in.u8();
        const std::uint8_t row = in.u8();
        t.corners[c] = {column, row};
        if (c == 3) lastZero = (columnFraction | column | rowFraction | row) == 0;
    }
    t.triangle = lastZero;
    return t;
}

std::uint32_t checker(int x, int y, int cell) {
    return ((x / cell + y / cell) % 2) == 0 ? kCheckerLight : kCheckerDark;
}

}  // namespace

void decodeBaseTextures(const LevelImage& image, BaseTextures& out) {
    const int kind = image.gameKind;
    out.objects.clear();
    if (kind < kKindTR1 || kind > kKindTR3) {
        out.kind = kKindNone;
        out.pages.clear();
        return;
    }
    out.kind = kind;

    // The 16-bit pages of the long forms, else the 8-bit pages through the palette; only the
    // pages the block holds whole.
    const bool wide = isLongForm(kind) && !image.textiles16.empty();
    const std::size_t pageBytes = wide ? 2 * kPageTexels : kPageTexels;
    const std::vector<std::uint8_t>& block = wide ? image.textiles16 : image.textiles8;
    const std::size_t pageCount = std::min<std::size_t>(image.textileCount, block.size() / pageBytes);
    out.pages.resize(pageCount);

    std::array<std::uint32_t, 256> colours{};
    if (!wide) {
        for (std::size_t i = 0; i < 256; ++i) {
            const std::uint32_t alpha = i == 0 ? 0u : 0xFF000000u;
            colours[i] = alpha | (widen6(image.palette[3 * i]) << 16) | (widen6(image.palette[3 * i + 1]) << 8) |
                         widen6(image.palette[3 * i + 2]);
        }
    }
    const std::span<const std::uint8_t> all(block);
    for (std::size_t p = 0; p < pageCount; ++p) {
        ColourPicture& page = out.pages[p];
        sizePage(page);
        const std::span<const std::uint8_t> texels = all.subspan(p * pageBytes, pageBytes);
        if (wide) decode16(texels, page.argb.data());
        else decode8(texels, colours, page.argb.data());
    }

    const std::size_t count = std::min<std::size_t>(image.objectTextures.count, decltype(LevelImage::objectTextures)::capacity);
    ByteReader in(std::span<const std::uint8_t>(image.objectTextures.bytes.data(), count * kObjectTextureBytes),
                  "Object textures");
    out.objects.reserve(count);
    for (std::size_t i = 0; i < count; ++i) out.objects.push_back(readObjectTexture(in));
}

ColourPicture objectTextureThumbnail(const BaseTextures& textures, int index, int size) {
    ColourPicture picture;
    if (index < 0 || std::size_t(index) >= textures.objects.size() || size <= 0) return picture;
    picture.width = size;
    picture.height = size;
    picture.argb.resize(std::size_t(size) * std::size_t(size));
    const ObjectTextureInfo& t = textures.objects[std::size_t(index)];
    const int cell = std::max(2, size / 8);
    const ColourPicture* page = t.page < textures.pages.size() ? &textures.pages[t.page] : nullptr;

    // Texel centres of the corners.
    std::array<std::array<double, 2>, 4> c{};
    for (std::size_t k = 0; k < 4; ++k) c[k] = {t.corners[k][0] + 0.5, t.corners[k][1] + 0.5};
    const double step = size > 1 ? 1.0 / (size - 1) : 0.0;
    for (int y = 0; y < size; ++y) {
        const double v = y * step;
        for (int x = 0; x < size; ++x) {
            const double u = x * step;
            std::uint32_t& pixel = picture.argb[std::size_t(y) * std::size_t(size) + std::size_t(x)];
            pixel = checker(x, y, cell);
            if (page == nullptr || (t.triangle && v > u)) continue;
            std::array<double, 2> at{};
            for (std::size_t a = 0; a < 2; ++a) {
                at[a] = t.triangle ? c[0][a] + u * (c[1][a] - c[0][a]) + v * (c[2][a] - c[1][a])
                                   : (1 - u) * (1 - v) * c[0][a] + u * (1 - v) * c[1][a] + u * v * c[2][a] +
                                         (1 - u) * v * c[3][a];
            }
            const int column = std::clamp(int(at[0]), 0, kTexturePageSide - 1);
            const int row = std::clamp(int(at[1]), 0, kTexturePageSide - 1);
            const std::uint32_t texel = page->argb[std::size_t(row) * kTexturePageSide + std::size_t(column)];
            if (t.attribute == kTextureTransparentTexels && (texel >> 24) == 0) continue;
            pixel = texel | 0xFF000000u;
        }
    }
    return picture;
}

}  // namespace cw
