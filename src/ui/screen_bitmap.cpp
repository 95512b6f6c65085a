#include "ui/screen_bitmap.h"

#include <algorithm>
#include <cstring>

namespace cw::ui {

void ImageToBitmap(const IndexedImage& image, ScreenBitmap& bitmap) {
    if (!image.Palette) return;
    const auto colours = ScreenColours(*image.Palette);
    QList<QRgb> table(colours.begin(), colours.end());
    bitmap.image = QImage(static_cast<int>(image.Width), static_cast<int>(image.Height), QImage::Format_Indexed8);
    bitmap.image.setColorTable(table);
    UpdateBitmapBits(image, bitmap);
}

void UpdateBitmapBits(const IndexedImage& image, ScreenBitmap& bitmap) {
    if (bitmap.image.isNull()) return;
    const auto width = std::min<std::size_t>(image.Width, static_cast<std::size_t>(bitmap.image.width()));
    const auto height = std::min<std::size_t>(image.Height, static_cast<std::size_t>(bitmap.image.height()));
    if (image.Pixels.size() < std::size_t(image.Width) * image.Height) return;
    for (std::size_t y = 0; y < height; ++y) {
        std::memcpy(bitmap.image.scanLine(static_cast<int>(y)), image.Pixels.data() + y * image.Width, width);
    }
}

}  // namespace cw::ui
