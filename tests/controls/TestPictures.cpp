#include "TestPictures.h"

namespace keyloom::testing {

QImage patternPicture(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y,
                           qRgb(x & 0xFF, y & 0xFF, (seed * 40 + (x >> 8) + (y >> 8) * 4) & 0xFF));
        }
    }
    return image;
}

bool showsPart(const QImage& shown, const QImage& picture, QPoint topLeft, std::string* why) {
    const QImage got = shown.convertToFormat(QImage::Format_RGB32);
    const QImage want = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < got.height(); ++y) {
        for (int x = 0; x < got.width(); ++x) {
            const QPoint source = topLeft + QPoint(x, y);
            if (!want.rect().contains(source) || got.pixel(x, y) != want.pixel(source)) {
                if (why != nullptr) {
                    *why = "pixel " + std::to_string(x) + "," + std::to_string(y) +
                           " is not picture pixel " + std::to_string(source.x()) + "," +
                           std::to_string(source.y());
                }
                return false;
            }
        }
    }
    return true;
}

}  // namespace keyloom::testing
