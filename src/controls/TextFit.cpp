#include "controls/TextFit.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QVariant>
#include <QWidget>

namespace keyloom::controls {

namespace {
constexpr char kBaseFontProperty[] = "keyloomBaseFont";
}

QFont fontToFit(const QFont& font, const QString& text, int width) {
    if (QFontMetrics(font).horizontalAdvance(text) <= width)
        return font;
    QFont smaller = font;
    for (int pixels = QFontInfo(font).pixelSize() - 1; pixels >= kSmallestTextPixels; --pixels) {
        smaller.setPixelSize(pixels);
        if (QFontMetrics(smaller).horizontalAdvance(text) <= width)
            return smaller;
    }
    return smaller;
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
