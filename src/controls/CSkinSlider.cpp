#include "controls/CSkinSlider.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace keyloom::controls {

CSkinSlider::CSkinSlider(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void CSkinSlider::setRange(int minimum, int maximum) {
    state_.setRange(minimum, maximum);
    update();
}

void CSkinSlider::setPosition(int position) {
    if (state_.setPosition(position)) {
        update();
    }
}

void CSkinSlider::setFacePictures(std::vector<QPixmap> faces) {
    faces_ = std::move(faces);
    update();
}

void CSkinSlider::setTrackMargin(int margin) {
    trackMargin_ = margin;
}

int CSkinSlider::trackMargin() const {
    return trackMargin_ >= 0 ? trackMargin_ : height() / 2;
}

void CSkinSlider::userMovedTo(int position) {
    if (state_.setPosition(position)) {
        update();
        emit positionChangedByUser(state_.position());
    }
}

void CSkinSlider::userStep(int delta) {
    if (state_.step(delta)) {
        update();
        emit positionChangedByUser(state_.position());
    }
}

void CSkinSlider::paintEvent(QPaintEvent*) {
    if (faces_.empty()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);  // at a fractional scale
    painter.drawPixmap(0, 0, faces_[state_.faceIndex(faces_.size())]);
    // Focus reached by the keyboard shows as a ring, as on the buttons.
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0xff, 0xa6, 0x40), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
}

void CSkinSlider::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void CSkinSlider::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void CSkinSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    userMovedTo(state_.positionAt(event->position().toPoint().x(), width(), trackMargin()));
}

void CSkinSlider::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        userMovedTo(state_.positionAt(event->position().toPoint().x(), width(), trackMargin()));
    }
}

void CSkinSlider::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
            userStep(-1);
            break;
        case Qt::Key_Right:
        case Qt::Key_Up:
            userStep(1);
            break;
        case Qt::Key_Home:
            userMovedTo(state_.minimum());
            break;
        case Qt::Key_End:
            userMovedTo(state_.maximum());
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void CSkinSlider::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    userStep(delta > 0 ? 1 : -1);
    event->accept();
}

}  // namespace keyloom::controls
