#pragma once
// The screen side of an indexed image: an 8-bit QImage whose colour table is the image's palette
// with every 6-bit component times 4. Windows draw only into IndexedImages and hand the finished
// image over here in one copy.
#include <QImage>

#include "raster/image.h"

namespace cw::ui {

struct ScreenBitmap {
    QImage image;                // QImage::Format_Indexed8
    bool ignorePalette = false;  // kept for the windows that set it; the colour table is always used
};

// Gives the bitmap the image's size, 8-bit format, palette and pixels. Does nothing at all when
// the image has no palette.
void ImageToBitmap(const IndexedImage& image, ScreenBitmap& bitmap);

// Replaces the bitmap's pixels by the image's. The bitmap keeps its size and palette; when the
// sizes differ only the common part is copied.
void UpdateBitmapBits(const IndexedImage& image, ScreenBitmap& bitmap);

}  // namespace cw::ui
