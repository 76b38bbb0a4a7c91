#include "controls/MaskRegion.h"

#include <QBitmap>

namespace keyloom::controls {

QRegion maskRegion(const QImage& mask) {
    if (mask.isNull()) {
        return {};
    }
    // Alpha is ignored: only the colour decides.
    const QImage opaque = mask.convertToFormat(QImage::Format_RGB32);
    const QImage kept = opaque.createMaskFromColor(qRgb(255, 255, 255), Qt::MaskInColor);
    return QRegion(QBitmap::fromImage(kept));
}

}  // namespace keyloom::controls
