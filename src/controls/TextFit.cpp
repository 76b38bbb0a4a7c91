#include "controls/TextFit.h"

#include <algorithm>

#include <QFontInfo>
#include <QFontMetrics>
#include <QVariant>
#include <QWidget>

namespace keyloom::controls {

namespace {
constexpr char kBaseFontProperty[] = "keyloomBaseFont";
}

QFont fontToFit(const QFont& font, const QString& text, int width) {
    const int advance = QFontMetrics(font).horizontalAdvance(text);
    if (advance <= width)
        return font;
    const int full = QFontInfo(font).pixelSize();
    if (full - 1 < kSmallestTextPixels)
        return font;
    // Every size tried loads a font of its own, the costliest part of a
    // text's first show. A text's width grows about in step with the size,
    // so the search starts at the size that proportion gives and moves to
    // the largest size that fits, a step or two away.
    QFont sized = font;
    const auto fits = [&](int pixels) {
        sized.setPixelSize(pixels);
        return QFontMetrics(sized).horizontalAdvance(text) <= width;
    };
    const long long scaled = advance > 0 ? static_cast<long long>(full) * width / advance : 0;
    int pixels = static_cast<int>(std::clamp<long long>(scaled, kSmallestTextPixels, full - 1));
    if (fits(pixels)) {
        while (pixels + 1 < full && fits(pixels + 1))
            ++pixels;
    } else {
        while (pixels > kSmallestTextPixels && !fits(pixels - 1))
            --pixels;
        pixels = std::max(pixels - 1, kSmallestTextPixels);
    }
    sized.setPixelSize(pixels);
    return sized;
}

void fitFont(QWidget& widget, const QString& text, int width) {
    QVariant base = widget.property(kBaseFontProperty);
    if (!base.isValid()) {
        base = widget.font();
        widget.setProperty(kBaseFontProperty, base);
    }
    widget.setFont(fontToFit(base.value<QFont>(), text, width));
}

}  // namespace keyloom::controls
