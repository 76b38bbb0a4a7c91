#include "lighting/qt/PictureToggle.h"

#include <QPainter>

#include "controls/TextFit.h"

namespace keyloom::lighting::qt {

PictureToggle::PictureToggle(QWidget* parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    // Reached by Tab like any button; Space presses it.
    setFocusPolicy(Qt::TabFocus);
}

QFont PictureToggle::textFont() const {
    return controls::fontToFit(font(), text(), width() - 8);
}

void PictureToggle::setPictures(QPixmap normal, QPixmap active, QPixmap hover) {
    normal_ = std::move(normal);
    activePicture_ = std::move(active);
    hover_ = std::move(hover);
    update();
}

void PictureToggle::setActive(bool active) {
    if (active == active_)
        return;
    active_ = active;
    update();
}

void PictureToggle::paintEvent(QPaintEvent*) {
    const QPixmap* shown = &normal_;
    if (active_ && !activePicture_.isNull())
        shown = &activePicture_;
    else if (hovered_ && !hover_.isNull())
        shown = &hover_;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);  // at a fractional scale
    if (!shown->isNull())
        painter.drawPixmap(0, 0, *shown);
    if (!text().isEmpty()) {
        // The colours of the skin's segment faces: dark on the lit face.
        painter.setFont(textFont());
        painter.setPen(active_ ? QColor(0x16, 0x18, 0x1b)
                               : (hovered_ ? QColor(0xff, 0xff, 0xff) : QColor(0xdf, 0xe3, 0xe8)));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
    }
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0xff, 0xa6, 0x40), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
}

void PictureToggle::focusInEvent(QFocusEvent* event) {
    QAbstractButton::focusInEvent(event);
    update();
}

void PictureToggle::focusOutEvent(QFocusEvent* event) {
    QAbstractButton::focusOutEvent(event);
    update();
}

void PictureToggle::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    hovered_ = true;
    update();
}

void PictureToggle::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    hovered_ = false;
    update();
}

}  // namespace keyloom::lighting::qt
