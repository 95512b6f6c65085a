#include <QtTest>

#include "raster/draw.h"
#include "ui/screen_bitmap.h"

using namespace cw;
using namespace cw::ui;

class ScreenBitmapTest : public QObject {
    Q_OBJECT
private slots:
    void handsOverSizePaletteAndPixels() {
        IndexedImage image;
        CreateImage(image, 6, 3);
        image.Palette = std::make_shared<PaletteBlock>();
        (*image.Palette)[3 * 7] = 63;      // entry 7: red 63
        (*image.Palette)[3 * 7 + 2] = 1;   // blue 1
        PutPixel(5, 2, 7, image);
        ScreenBitmap bitmap;
        ImageToBitmap(image, bitmap);
        QCOMPARE(bitmap.image.format(), QImage::Format_Indexed8);
        QCOMPARE(bitmap.image.size(), QSize(6, 3));
        QCOMPARE(bitmap.image.pixelIndex(5, 2), 7);
        QCOMPARE(bitmap.image.pixelIndex(4, 2), 0);
        QCOMPARE(bitmap.image.color(7), qRgb(252, 0, 4));

        PutPixel(0, 0, 7, image);
        UpdateBitmapBits(image, bitmap);
        QCOMPARE(bitmap.image.pixelIndex(0, 0), 7);
    }

    void imageWithoutPaletteLeavesBitmapUntouched() {
        IndexedImage image;
        CreateImage(image, 4, 4);
        ScreenBitmap bitmap;
        bitmap.image = QImage(2, 2, QImage::Format_Indexed8);
        ImageToBitmap(image, bitmap);
        QCOMPARE(bitmap.image.size(), QSize(2, 2));
    }
};

QTEST_MAIN(ScreenBitmapTest)
#include "screen_bitmap_test.moc"
