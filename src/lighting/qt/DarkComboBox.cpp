#include "lighting/qt/DarkComboBox.h"

#include <QPainter>
#include <QPainterPath>

#include "lighting/qt/LightingStyle.h"

namespace keyloom::lighting::qt {

DarkComboBox::DarkComboBox(QWidget* parent) : QComboBox(parent) {
    setStyleSheet(comboStyle());
    setCursor(Qt::PointingHandCursor);
}

void DarkComboBox::paintEvent(QPaintEvent* event) {
    QComboBox::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(width() - 16.0, height() / 2.0);
    QPainterPath chevron;
    chevron.moveTo(centre + QPointF(-4.5, -2.0));
    chevron.lineTo(centre + QPointF(0.0, 2.5));
    chevron.lineTo(centre + QPointF(4.5, -2.0));
    painter.setPen(
        QPen(isEnabled() ? kAccent : kLabelText, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(chevron);
}

}  // namespace keyloom::lighting::qt
