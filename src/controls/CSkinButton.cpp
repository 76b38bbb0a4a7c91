#include "controls/CSkinButton.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

#include "controls/CSkinButtonLayer.h"
#include "controls/SkinSlice.h"
#include "controls/TextFit.h"

namespace keyloom::controls {

namespace {

// The skin's accent, light enough to stand out on every face.
constexpr QRgb kFocusRingColour = 0xffa640;

}  // namespace

CSkinButton::CSkinButton(QWidget* parent) : QAbstractButton(parent) {}

void CSkinButton::setPictures(const SkinPictureSet& pictures, QPoint pictureOffset,
                              QPoint pictureOrigin) {
    pictures_ = pictures;
    pictureOffset_ = pictureOffset;
    pictureOrigin_ = pictureOrigin;
}

void CSkinButton::setPictureOffset(QPoint pictureOffset) {
    pictureOffset_ = pictureOffset;
}

void CSkinButton::setTogglePictures(const QPixmap& off, const QPixmap& on) {
    toggleOff_ = off;
    toggleOn_ = on;
}

void CSkinButton::setToggleDisplay(bool on, bool flag) {
    repaintIf(state_.setToggleDisplay(on, flag));
}

void CSkinButton::setSelected(bool selected) {
    repaintIf(state_.setSelected(selected));
}

void CSkinButton::setOutline(std::optional<Rgb> colour) {
    repaintIf(state_.setOutline(colour));
}

void CSkinButton::setHovered(bool hovered) {
    repaintIf(state_.setHovered(hovered));
}

void CSkinButton::setTextColours(const SkinTextColours& colours) {
    textColours_ = colours;
    requestRepaint();
}

SkinFace CSkinButton::currentFace() const {
    SkinButtonState now = state_;
    now.setEnabled(isEnabled());
    now.setPressed(isDown());
    return now.face();
}

const QPixmap& CSkinButton::ownPictureFor(SkinFace face) const {
    if (face == SkinFace::ToggleOff)
        return toggleOff_;
    if (face == SkinFace::ToggleOn)
        return toggleOn_;
    return pictureFor(face);
}

const QPixmap& CSkinButton::pictureFor(SkinFace face) const {
    switch (face) {
        case SkinFace::Hover:
            return pictures_.hover;
        case SkinFace::Pressed:
            return pictures_.pressed;
        case SkinFace::Disabled:
            return pictures_.disabled;
        case SkinFace::Selected:
            return pictures_.selected;
        case SkinFace::ToggleOff:
            return toggleOff_.isNull() ? pictures_.normal : toggleOff_;
        case SkinFace::ToggleOn:
            return toggleOn_.isNull() ? pictures_.normal : toggleOn_;
        case SkinFace::Normal:
            break;
    }
    return pictures_.normal;
}

void CSkinButton::syncFromWidget() {
    // Pressed and enabled belong to the widget (mouse grabs, keyboard
    // presses, setEnabled on a parent); the state follows them.
    state_.setEnabled(isEnabled());
    state_.setPressed(isDown());
}

void CSkinButton::repaintIf(bool changed) {
    if (changed) {
        requestRepaint();
    }
}

void CSkinButton::requestRepaint() {
    // A layer paints only what is asked of it; the button beneath it is
    // hidden and need not be repainted. Both share one parent.
    if (paintLayer_ && paintLayer_->isVisible())
        paintLayer_->repaintPlace(geometry());
    else
        update();
}

void CSkinButton::setPaintLayer(CSkinButtonLayer* layer) {
    paintLayer_ = layer;
}

void CSkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintFace(painter);
}

void CSkinButton::paintFace(QPainter& painter) {
    syncFromWidget();
    const SkinFace face = state_.face();
    if (loader_ && ownPictureFor(face).isNull())
        loader_(*this, face);
    // Filtered when the window is drawn at a fractional scale.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (tint_) {
        const QImage& tinted = tintOverlay_.picture(
            pictureFor(face), pictureOffset_, pictureOrigin_, size(), static_cast<QRgb>(*tint_));
        if (tintOverlay_.opaque()) {
            // Every pixel has full alpha, so the same bytes read as RGB32:
            // the paint engine then copies the rows instead of blending.
            painter.drawImage(0, 0,
                              QImage(tinted.constBits(), tinted.width(), tinted.height(),
                                     tinted.bytesPerLine(), QImage::Format_RGB32));
        } else {
            painter.drawImage(0, 0, tinted);
        }
    } else
        drawPictureSlice(painter, pictureFor(face), pictureOffset_, size(), pictureOrigin_);

    if (const auto& outline = state_.outline()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor::fromRgb(static_cast<QRgb>(*outline)), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), 4, 4);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }

    if (showsFocusRing()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor::fromRgb(kFocusRingColour), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }

    if (!text().isEmpty()) {
        // Never cut: a text too long for the button is drawn smaller.
        painter.setFont(textFont());
        painter.setPen(textColours_.forSlot(state_.textSlot()));
        painter.drawText(textRect(), Qt::AlignCenter | Qt::TextSingleLine, text());
    }
    emit painted(face);
}

QRect CSkinButton::textRect() const {
    return contentsRect().adjusted(4, 0, -4, 0);
}

QFont CSkinButton::textFont() const {
    return fontToFit(font(), text(), textRect().width());
}

bool CSkinButton::showsFocusRing() const {
    // Only focus that came from the keyboard is shown: a click on a button
    // gives it the focus too, and a ring after every click would be noise.
    return hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void CSkinButton::keyPressEvent(QKeyEvent* event) {
    // Space presses the focused button whatever the platform theme lists as
    // press keys; the click follows when it is released.
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        setDown(true);
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void CSkinButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        event->accept();
        if (isDown())
            click();
        return;
    }
    QAbstractButton::keyReleaseEvent(event);
}

void CSkinButton::setFaceTint(std::optional<Rgb> colour) {
    if (colour)
        *colour &= 0xFFFFFFu;
    if (colour == tint_)
        return;
    tint_ = colour;
    // A tinted key paints its whole face (a slice of the opaque window
    // picture), so what lies beneath need not be painted first.
    setAttribute(Qt::WA_OpaquePaintEvent, tint_.has_value());
    requestRepaint();
}

void CSkinButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    setHovered(true);
}

void CSkinButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    setHovered(false);
}

void CSkinButton::changeEvent(QEvent* event) {
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        // A disabled button misses the mouse leaving it; start afresh.
        const bool hoverChanged = state_.setHovered(isEnabled() && underMouse());
        repaintIf(state_.setEnabled(isEnabled()) || hoverChanged);
    }
}

}  // namespace keyloom::controls
