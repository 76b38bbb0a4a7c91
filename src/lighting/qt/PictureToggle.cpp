#include "lighting/qt/PictureToggle.h"

#include <QPainter>

namespace keyloom::lighting::qt {

PictureToggle::PictureToggle(QWidget* parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
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
    if (shown->isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, *shown);
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
