#include "controls/CHyperlink.h"

#include <QDesktopServices>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QUrl>

namespace keyloom::controls {

CHyperlink::CHyperlink(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::PlainText);
    applyLook();
}

void CHyperlink::setUrl(const QString& url) {
    url_ = url;
    setToolTip(url);
    applyLook();
}

void CHyperlink::setLinkText(const QString& text) {
    linkText_ = text;
    applyLook();
}

void CHyperlink::setColours(const QColor& normal, const QColor& hover) {
    normal_ = normal;
    hover_ = hover;
    applyLook();
}

void CHyperlink::applyLook() {
    // Plain text only: the address comes from a user-editable file.
    setText(linkText_.isEmpty() ? url_ : linkText_);
    QFont look = font();
    look.setUnderline(hovered_);
    setFont(look);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, hovered_ ? hover_ : normal_);
    setPalette(colours);
}

void CHyperlink::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    hovered_ = true;
    applyLook();
}

void CHyperlink::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    hovered_ = false;
    applyLook();
}

void CHyperlink::mousePressEvent(QMouseEvent* event) {
    pressedInside_ = event->button() == Qt::LeftButton;
    event->accept();
}

void CHyperlink::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressedInside_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressedInside_ = false;
    event->accept();
    if (!click) {
        return;
    }
    emit activated(url_);
    if (opensUrl_ && !url_.isEmpty()) {
        QDesktopServices::openUrl(QUrl(url_));
    }
}

}  // namespace keyloom::controls
