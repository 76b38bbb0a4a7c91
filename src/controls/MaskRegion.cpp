#include "controls/MaskRegion.h"

#include <utility>
#include <vector>

namespace keyloom::controls {

namespace {

// Whether each pixel of a row is cut out (exactly white), for the formats a
// mask comes in: one bit a pixel read straight from the row, anything else
// from its 32-bit form.
class CutOutPixels {
public:
    explicit CutOutPixels(const QImage& mask) {
        if (mask.format() == QImage::Format_Mono || mask.format() == QImage::Format_MonoLSB) {
            image_ = mask;
            const QList<QRgb> colours = mask.colorTable();
            for (int i = 0; i < 2; ++i)
                whiteIndex_[i] = i < colours.size() && (colours[i] & 0xFFFFFF) == 0xFFFFFF;
            oneBit_ = true;
        } else {
            // Alpha is ignored: only the colour decides.
            image_ = mask.convertToFormat(QImage::Format_RGB32);
        }
    }

    const QImage& image() const { return image_; }

    void readRow(int y, std::vector<bool>& cut) const {
        const int width = image_.width();
        cut.resize(static_cast<std::size_t>(width));
        const uchar* row = image_.constScanLine(y);
        const bool lsb = image_.format() == QImage::Format_MonoLSB;
        for (int x = 0; x < width; ++x) {
            if (oneBit_) {
                const int bit =
                    lsb ? (row[x >> 3] >> (x & 7)) & 1 : (row[x >> 3] >> (7 - (x & 7))) & 1;
                cut[static_cast<std::size_t>(x)] = whiteIndex_[bit];
            } else {
                const QRgb pixel = reinterpret_cast<const QRgb*>(row)[x];
                cut[static_cast<std::size_t>(x)] = (pixel & 0xFFFFFF) == 0xFFFFFF;
            }
        }
    }

private:
    QImage image_;
    bool oneBit_ = false;
    bool whiteIndex_[2] = {false, false};
};

}  // namespace

QRegion maskRegion(const QImage& mask) {
    if (mask.isNull()) {
        return {};
    }
    const CutOutPixels pixels(mask);
    const int width = pixels.image().width();
    const int height = pixels.image().height();
    // One pass over the rows: rows with the same runs of kept pixels form one
    // band, so a window with rounded corners becomes a few dozen rectangles
    // instead of a region grown row by row.
    using Spans = std::vector<std::pair<int, int>>;
    Spans spans;
    Spans band;
    int bandTop = 0;
    std::vector<QRect> rects;
    std::vector<bool> cut;
    const auto closeBand = [&](int bottom) {
        for (const auto& [left, right] : band)
            rects.emplace_back(QPoint(left, bandTop), QPoint(right - 1, bottom - 1));
    };
    for (int y = 0; y < height; ++y) {
        pixels.readRow(y, cut);
        spans.clear();
        for (int x = 0; x < width;) {
            while (x < width && cut[static_cast<std::size_t>(x)])
                ++x;
            if (x == width)
                break;
            const int left = x;
            while (x < width && !cut[static_cast<std::size_t>(x)])
                ++x;
            spans.emplace_back(left, x);
        }
        if (spans != band) {
            closeBand(y);
            band.swap(spans);
            bandTop = y;
        }
    }
    closeBand(height);
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

}  // namespace keyloom::controls
