#pragma once
// Drawing on indexed images. Everything is in palette indices; there is no transparent index:
// laying one image over another combines every pixel by the operation's rule.
// Floating-point coordinates are truncated towards zero. Operations on two images do nothing
// unless both are valid; what falls outside the destination is clipped.
#include <cstdint>

#include "raster/image.h"

namespace cw {

// Source pixel (0, 0) lands on destination pixel (trunc x, trunc y).
void PutImage(const IndexedImage& source, IndexedImage& destination, double x, double y);     // d = s
void PutImageXor(const IndexedImage& source, IndexedImage& destination, double x, double y);  // d ^= s
void PutImageOr(const IndexedImage& source, IndexedImage& destination, double x, double y);   // d |= s
void PutImageAnd(const IndexedImage& source, IndexedImage& destination, double x, double y);  // d &= s

// Copies the source rectangle (x1, y1)..(x2, y2), both corners included, to (dx, dy).
void CopyImageRect(const IndexedImage& source, IndexedImage& destination, double x1, double y1, double x2,
                   double y2, double dx, double dy);

void FillImage(IndexedImage& image, std::uint8_t colour);

// One pixel; ignored outside the image.
void PutPixel(std::int32_t x, std::int32_t y, std::uint8_t colour, IndexedImage& image);

int Sign(double value);

// Bresenham's line from (x1, y1) to (x2, y2), both included, first point first.
void DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::uint8_t colour,
              IndexedImage& image);

// Creates the image at (cellWidth * columns + 2) x (cellHeight * rows + 2) and draws the grid.
void MakeGrid(std::uint8_t cellWidth, std::uint8_t cellHeight, std::uint8_t rows, std::uint8_t columns,
              std::uint8_t lineColour, std::uint8_t backgroundColour, IndexedImage& image);

// Fills the image with the background, then draws rows + 1 horizontal lines at y = k * cellHeight
// and columns + 1 vertical lines at x = k * cellWidth, each across the whole image.
void DrawGrid(std::uint8_t cellWidth, std::uint8_t cellHeight, std::uint8_t rows, std::uint8_t columns,
              std::uint8_t lineColour, std::uint8_t backgroundColour, IndexedImage& image);

}  // namespace cw
