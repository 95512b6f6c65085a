#include "raster/draw.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace cw {

namespace {

// Truncation towards zero, held inside a range where sums of image sizes cannot overflow.
std::int64_t truncCoord(double v) {
    constexpr double kLimit = 1e12;
    if (std::isnan(v)) return 0;
    if (v > kLimit) return static_cast<std::int64_t>(kLimit);
    if (v < -kLimit) return static_cast<std::int64_t>(-kLimit);
    return static_cast<std::int64_t>(v);  // conversion truncates towards zero
}

// A valid image whose pixel block matches its size.
bool usable(const IndexedImage& image) {
    return IsValidImage(image) && image.Pixels.size() >= std::size_t(image.Width) * image.Height;
}

enum class RasterOp { Copy, Xor, Or, And };

template <RasterOp Op>
void combineRow(const std::uint8_t* src, std::uint8_t* dst, std::size_t n) {
    if constexpr (Op == RasterOp::Copy) {
        std::memmove(dst, src, n);
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            if constexpr (Op == RasterOp::Xor) dst[i] ^= src[i];
            if constexpr (Op == RasterOp::Or) dst[i] |= src[i];
            if constexpr (Op == RasterOp::And) dst[i] &= src[i];
        }
    }
}

template <RasterOp Op>
void place(const IndexedImage& source, IndexedImage& destination, double x, double y) {
    if (!usable(source) || !usable(destination)) return;
    const std::int64_t X = truncCoord(x), Y = truncCoord(y);
    const std::int64_t left = std::max<std::int64_t>(X, 0);
    const std::int64_t top = std::max<std::int64_t>(Y, 0);
    const std::int64_t right = std::min<std::int64_t>(X + source.Width, destination.Width);   // exclusive
    const std::int64_t bottom = std::min<std::int64_t>(Y + source.Height, destination.Height);  // exclusive
    if (left >= right || top >= bottom) return;
    const auto n = static_cast<std::size_t>(right - left);
    for (std::int64_t row = top; row < bottom; ++row) {
        const std::uint8_t* s = source.Pixels.data() + std::size_t(row - Y) * source.Width + std::size_t(left - X);
        std::uint8_t* d = destination.Pixels.data() + std::size_t(row) * destination.Width + std::size_t(left);
        combineRow<Op>(s, d, n);
    }
}

}  // namespace

void PutImage(const IndexedImage& s, IndexedImage& d, double x, double y) { place<RasterOp::Copy>(s, d, x, y); }
void PutImageXor(const IndexedImage& s, IndexedImage& d, double x, double y) { place<RasterOp::Xor>(s, d, x, y); }
void PutImageOr(const IndexedImage& s, IndexedImage& d, double x, double y) { place<RasterOp::Or>(s, d, x, y); }
void PutImageAnd(const IndexedImage& s, IndexedImage& d, double x, double y) { place<RasterOp::And>(s, d, x, y); }

void CopyImageRect(const IndexedImage& source, IndexedImage& destination, double x1d, double y1d, double x2d,
                   double y2d, double dxd, double dyd) {
    if (!usable(source) || !usable(destination)) return;
    std::int64_t x1 = truncCoord(x1d), y1 = truncCoord(y1d), x2 = truncCoord(x2d), y2 = truncCoord(y2d);
    std::int64_t dx = truncCoord(dxd), dy = truncCoord(dyd);
    const std::int64_t dw = destination.Width, dh = destination.Height;
    if (dx > dw || dy > dh) return;
    if (dx < 0) {
        x1 -= dx;
        dx = 0;
    }
    if (dy < 0) {
        y1 -= dy;
        dy = 0;
    }
    const std::int64_t sMaxX = std::int64_t(source.Width) - 1, sMaxY = std::int64_t(source.Height) - 1;
    x1 = std::min(x1, sMaxX);
    x2 = std::min(x2, sMaxX);
    y1 = std::min(y1, sMaxY);
    y2 = std::min(y2, sMaxY);
    std::int64_t w = x2 - x1 + 1, h = y2 - y1 + 1;
    if (w <= 0 || h <= 0) return;
    w = std::min(w, dw - dx);
    h = std::min(h, dh - dy);
    // A source corner left of or above the source itself is not part of any row.
    if (w <= 0 || h <= 0 || x1 < 0 || y1 < 0) return;
    for (std::int64_t j = 0; j < h; ++j) {
        const std::uint8_t* s = source.Pixels.data() + std::size_t(y1 + j) * source.Width + std::size_t(x1);
        std::uint8_t* d = destination.Pixels.data() + std::size_t(dy + j) * destination.Width + std::size_t(dx);
        std::memmove(d, s, static_cast<std::size_t>(w));
    }
}

void FillImage(IndexedImage& image, std::uint8_t colour) {
    if (!usable(image)) return;
    std::fill_n(image.Pixels.begin(), std::size_t(image.Width) * image.Height, colour);
}

void PutPixel(std::int32_t x, std::int32_t y, std::uint8_t colour, IndexedImage& image) {
    if (x < 0 || y < 0 || std::uint32_t(x) >= image.Width || std::uint32_t(y) >= image.Height) return;
    const std::size_t at = std::size_t(y) * image.Width + std::size_t(x);
    if (at < image.Pixels.size()) image.Pixels[at] = colour;
}

int Sign(double value) {
    if (value > 0) return 1;
    if (value < 0) return -1;
    return 0;
}

namespace {

// A horizontal or vertical line clipped to the image: the pixels the stepping below would set,
// set in one run. False (nothing drawn) for any other line or an image whose pixels fall short
// of its size.
bool drawStraightLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::uint8_t colour,
                      IndexedImage& image) {
    if ((x1 != x2 && y1 != y2) || image.Pixels.size() < std::size_t(image.Width) * image.Height) return false;
    const std::int64_t width = image.Width, height = image.Height;
    if (y1 == y2) {
        const std::int64_t from = std::max<std::int64_t>(std::min(x1, x2), 0);
        const std::int64_t to = std::min<std::int64_t>(std::max(x1, x2), width - 1);
        if (y1 < 0 || y1 >= height || from > to) return true;
        const auto row = image.Pixels.begin() + std::ptrdiff_t(y1 * width);
        std::fill(row + std::ptrdiff_t(from), row + std::ptrdiff_t(to + 1), colour);
        return true;
    }
    const std::int64_t from = std::max<std::int64_t>(std::min(y1, y2), 0);
    const std::int64_t to = std::min<std::int64_t>(std::max(y1, y2), height - 1);
    if (x1 < 0 || x1 >= width) return true;
    for (std::int64_t y = from; y <= to; ++y) image.Pixels[std::size_t(y * width + x1)] = colour;
    return true;
}

}  // namespace

void DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::uint8_t colour,
              IndexedImage& image) {
    if (drawStraightLine(x1, y1, x2, y2, colour, image)) return;
    const std::int64_t dx = std::int64_t(x2) - x1, dy = std::int64_t(y2) - y1;
    const int ax = Sign(double(dx)), ay = Sign(double(dy));  // diagonal step
    int bx = Sign(double(dx)), by = 0;                       // straight step
    std::int64_t longD = dx < 0 ? -dx : dx, shortD = dy < 0 ? -dy : dy;
    if (longD <= shortD) {
        bx = 0;
        by = Sign(double(dy));
        std::swap(longD, shortD);
    }
    std::int64_t e = longD >> 1;
    std::int64_t x = x1, y = y1;
    for (std::int64_t i = 0; i <= longD; ++i) {
        if (x >= std::numeric_limits<std::int32_t>::min() && x <= std::numeric_limits<std::int32_t>::max() &&
            y >= std::numeric_limits<std::int32_t>::min() && y <= std::numeric_limits<std::int32_t>::max()) {
            PutPixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), colour, image);
        }
        e += shortD;
        if (e >= longD) {
            e -= longD;
            x += ax;
            y += ay;
        } else {
            x += bx;
            y += by;
        }
    }
}

void MakeGrid(std::uint8_t cellWidth, std::uint8_t cellHeight, std::uint8_t rows, std::uint8_t columns,
              std::uint8_t lineColour, std::uint8_t backgroundColour, IndexedImage& image) {
    CreateImage(image, std::uint32_t(cellWidth) * columns + 2, std::uint32_t(cellHeight) * rows + 2);
    DrawGrid(cellWidth, cellHeight, rows, columns, lineColour, backgroundColour, image);
}

void DrawGrid(std::uint8_t cellWidth, std::uint8_t cellHeight, std::uint8_t rows, std::uint8_t columns,
              std::uint8_t lineColour, std::uint8_t backgroundColour, IndexedImage& image) {
    FillImage(image, backgroundColour);
    const auto right = static_cast<std::int32_t>(image.Width) - 1;
    const auto bottom = static_cast<std::int32_t>(image.Height) - 1;
    for (std::int32_t k = 0; k <= rows; ++k) DrawLine(0, k * cellHeight, right, k * cellHeight, lineColour, image);
    for (std::int32_t k = 0; k <= columns; ++k) DrawLine(k * cellWidth, 0, k * cellWidth, bottom, lineColour, image);
}

}  // namespace cw
