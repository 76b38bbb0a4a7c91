#include "controls/CBaseDialog.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "controls/MaskRegion.h"
#include "storage/SkinScreen.h"

namespace keyloom::controls {

CBaseDialog::CBaseDialog(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
}

bool CBaseDialog::loadSkin(const std::string& skinFile) {
    const SkinScreen screen = readSkinScreen(skinFile);
    QPixmap picture;
    const bool loaded = !screen.mainPicturePath.empty() &&
                        picture.load(QString::fromStdString(screen.mainPicturePath));
    if (loaded) {
        setBackground(picture);
    }
    QImage mask;
    if (!screen.maskPicturePath.empty() &&
        mask.load(QString::fromStdString(screen.maskPicturePath))) {
        setMaskPicture(mask);
    }
    return loaded;
}

void CBaseDialog::setBackground(const QPixmap& picture) {
    background_ = picture;
    if (!picture.isNull()) {
        setFixedSize(picture.size());
    }
    update();
}

void CBaseDialog::setMaskPicture(const QImage& mask) {
    const QRegion region = maskRegion(mask);
    if (region.isEmpty()) {
        clearMask();
    } else {
        setMask(region);
    }
}

void CBaseDialog::paintEvent(QPaintEvent*) {
    if (background_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, background_);
}

void CBaseDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    // Let the window system move the window where it can (Wayland allows
    // nothing else); otherwise follow the mouse ourselves.
    if (QWindow* window = windowHandle(); window != nullptr && window->startSystemMove()) {
        event->accept();
        return;
    }
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    event->accept();
}

void CBaseDialog::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *dragOffset_);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void CBaseDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragOffset_.reset();
    }
    QDialog::mouseReleaseEvent(event);
}

}  // namespace keyloom::controls
