#include "controls/CColourButton.h"

#include <QColorDialog>
#include <QPainter>

namespace keyloom::controls {
namespace {

QColor frameColour(SkinFace face) {
    switch (face) {
        case SkinFace::Hover:
            return {255, 130, 0};
        case SkinFace::Pressed:
            return {255, 155, 4};
        case SkinFace::Disabled:
            return {0x3a, 0x3d, 0x43};
        default:
            return {0x5a, 0x5f, 0x68};
    }
}

}  // namespace

CColourButton::CColourButton(QWidget* parent) : CSkinButton(parent) {
    connect(this, &QAbstractButton::clicked, this, &CColourButton::pick);
}

void CColourButton::setColour(Rgb colour) {
    if (choice_.choose(colour)) {
        update();
    }
}

void CColourButton::setAutomaticColour(Rgb colour) {
    choice_.setAutomatic(colour);
    update();
}

std::optional<QColor> CColourButton::askForColour(const QColor& initial) {
    const QColor picked = QColorDialog::getColor(initial, this, dialogTitle_);
    if (!picked.isValid()) {
        return std::nullopt;
    }
    return picked;
}

void CColourButton::pick() {
    const auto picked = askForColour(QColor::fromRgb(static_cast<QRgb>(choice_.colour())));
    if (!picked) {
        return;
    }
    const Rgb colour = picked->rgb() & 0xFFFFFFu;
    if (choice_.choose(colour)) {
        update();
    }
    emit colourChosen(colour);
}

void CColourButton::paintEvent(QPaintEvent* event) {
    CSkinButton::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF swatch = QRectF(rect()).adjusted(5.5, 5.5, -5.5, -5.5);
    QColor fill = QColor::fromRgb(static_cast<QRgb>(choice_.colour()));
    if (!isEnabled()) {
        fill = fill.darker(250);
    }
    painter.setPen(QPen(frameColour(currentFace()), 1.5));
    painter.setBrush(fill);
    painter.drawRoundedRect(swatch, 4, 4);
}

}  // namespace keyloom::controls
