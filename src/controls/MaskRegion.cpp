#include "controls/MaskRegion.h"

#include <utility>
#include <vector>

namespace keyloom::controls {

namespace {

using Spans = std::vector<std::pair<int, int>>;

// The runs of kept pixels of each row (every pixel but the exactly white
// ones), for the formats a mask comes in: one bit a pixel read straight from
// the row, a whole byte at a time where its eight pixels agree, anything
// else from its 32-bit form.
class KeptPixels {
public:
    explicit KeptPixels(const QImage& mask) {
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

    // Row y's runs of kept pixels as [left, right) pairs, left to right.
    void rowSpans(int y, Spans& spans) const {
        spans.clear();
        const int width = image_.width();
        const uchar* row = image_.constScanLine(y);
        int left = -1;  // where the open run of kept pixels began
        const auto pixel = [&](int x, bool cut) {
            if (!cut && left < 0) {
                left = x;
            } else if (cut && left >= 0) {
                spans.emplace_back(left, x);
                left = -1;
            }
        };
        if (oneBit_) {
            const bool lsb = image_.format() == QImage::Format_MonoLSB;
            for (int x = 0; x < width;) {
                const uchar byte = row[x >> 3];
                if ((x & 7) == 0 && x + 8 <= width && (byte == 0x00 || byte == 0xFF)) {
                    pixel(x, whiteIndex_[byte & 1]);
                    x += 8;
                    continue;
                }
                const int bit = lsb ? (byte >> (x & 7)) & 1 : (byte >> (7 - (x & 7))) & 1;
                pixel(x, whiteIndex_[bit]);
                ++x;
            }
        } else {
            const auto* pixels = reinterpret_cast<const QRgb*>(row);
            for (int x = 0; x < width; ++x)
                pixel(x, (pixels[x] & 0xFFFFFF) == 0xFFFFFF);
        }
        if (left >= 0)
            spans.emplace_back(left, width);
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
    const KeptPixels pixels(mask);
    const int height = pixels.image().height();
    // One pass over the rows: rows with the same runs of kept pixels form one
    // band, so a window with rounded corners becomes a few dozen rectangles
    // instead of a region grown row by row.
    Spans spans;
    Spans band;
    int bandTop = 0;
    std::vector<QRect> rects;
    const auto closeBand = [&](int bottom) {
        for (const auto& [left, right] : band)
            rects.emplace_back(QPoint(left, bandTop), QPoint(right - 1, bottom - 1));
    };
    for (int y = 0; y < height; ++y) {
        pixels.rowSpans(y, spans);
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
