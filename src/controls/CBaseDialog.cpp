#include "controls/CBaseDialog.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>

#include "controls/BackgroundDecode.h"
#include "controls/MaskRegion.h"
#include "storage/SkinScreen.h"

namespace keyloom::controls {

CBaseDialog::CBaseDialog(QWidget* parent) : QDialog(parent), skinButtons_(*this) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
}

bool CBaseDialog::loadSkin(const std::string& skinFile, SkinPictures when) {
    // Pictures decoded ahead for an earlier skin are not this one's.
    backgroundAhead_ = {};
    maskAhead_ = {};
    const SkinScreen screen = readSkinScreen(skinFile);
    if (when == SkinPictures::WhenNeeded) {
        // Only the header now: the size must be right before the window shows.
        QImageReader reader(QString::fromStdString(screen.mainPicturePath));
        const QSize size = screen.mainPicturePath.empty() ? QSize() : reader.size();
        const bool readable = size.isValid() && reader.canRead();
        if (readable) {
            background_ = QPixmap();
            pendingBackground_ = screen.mainPicturePath;
            setFixedSize(size);
            update();
        }
        pendingMask_ = screen.maskPicturePath;
        return readable;
    }
    pendingBackground_.clear();
    pendingMask_.clear();
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

void CBaseDialog::decodeAhead() {
    // QImage and QRegion may be built on any thread; the pixmap is made from
    // the image on the window thread when it is taken.
    if (!pendingBackground_.empty() && !backgroundAhead_.valid()) {
        backgroundAhead_ = decodeInBackground(pendingBackground_);
        QTimer::singleShot(kHoldAhead, this, [this] { dropUnusedAhead(); });
    }
    // The window is shown only once its shape is set.
    if (!pendingMask_.empty() && !maskAhead_.valid())
        maskAhead_ = runBeside([path = pendingMask_] {
            QImage mask;
            return mask.load(QString::fromStdString(path)) ? std::optional(maskRegion(mask))
                                                           : std::nullopt;
        });
}

const QPixmap& CBaseDialog::background() const {
    if (!pendingBackground_.empty()) {
        // An unreadable body leaves the background empty, as a missing file would.
        background_ = QPixmap::fromImage(
            backgroundAhead_.valid() ? backgroundAhead_.get()
                                     : decodePicture(QString::fromStdString(pendingBackground_)));
        pendingBackground_.clear();
    }
    return background_;
}

QPixmap CBaseDialog::takeBackground() {
    const std::string left = pendingBackground_;
    QPixmap picture = background();
    if (!left.empty()) {
        background_ = QPixmap();
        pendingBackground_ = left;
    }
    return picture;
}

void CBaseDialog::setBackground(const QPixmap& picture) {
    pendingBackground_.clear();
    background_ = picture;
    if (!picture.isNull()) {
        setFixedSize(picture.size());
    }
    update();
}

bool CBaseDialog::run() {
    if (!prepareToOpen())
        return false;
    exec();
    return true;
}

bool CBaseDialog::openWithoutWaiting() {
    if (!prepareToOpen())
        return false;
    open();
    return true;
}

namespace {

// The window icon at the sizes title bars, task bars and window lists draw
// it: the window system is handed each size the icon has, and the full
// picture would cost a quarter megabyte there and here. (Docks that show a
// larger icon take it from the desktop file.)
QIcon windowIconOf(const QImage& picture) {
    QIcon icon;
    for (int side : {16, 32, 48, 64})
        if (side <= picture.width() && side <= picture.height())
            icon.addPixmap(QPixmap::fromImage(
                picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    if (icon.isNull())
        icon.addPixmap(QPixmap::fromImage(picture));
    return icon;
}

}  // namespace

QPixmap CBaseDialog::useProgramIcon(const std::string& skinFolder) {
    QPixmap icon = programIcon(skinFolder);
    if (!icon.isNull())
        setWindowIcon(windowIconOf(icon.toImage()));
    return icon;
}

void CBaseDialog::useProgramIcon(const QImage& icon) {
    if (!icon.isNull())
        setWindowIcon(windowIconOf(icon));
}

void CBaseDialog::setMaskPicture(const QImage& mask) {
    applyMask(maskRegion(mask));
}

void CBaseDialog::applyMask(const QRegion& region) {
    if (region.isEmpty()) {
        clearMask();
    } else {
        setMask(region);
    }
}

void CBaseDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Drawn at a fractional scale when the screen is too small for the
    // picture's own size: filtered, not pixel-doubled.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    paintBackground(painter);
}

void CBaseDialog::paintBackground(QPainter& painter) {
    const QPixmap& picture = background();
    if (!picture.isNull())
        painter.drawPixmap(0, 0, picture);
}

void CBaseDialog::showEvent(QShowEvent* event) {
    // Shown before the window system maps the window: the shape is in place.
    if (!pendingMask_.empty()) {
        if (maskAhead_.valid()) {
            if (const std::optional<QRegion> region = maskAhead_.get())
                applyMask(*region);
        } else if (QImage mask; mask.load(QString::fromStdString(pendingMask_))) {
            setMaskPicture(mask);
        }
        pendingMask_.clear();
    }
    QDialog::showEvent(event);
}

void CBaseDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    // Nothing moves yet: a click that never travels must not leave the
    // window system in move mode.
    pressPoint_ = event->globalPosition().toPoint();
    dragOffset_ = *pressPoint_ - frameGeometry().topLeft();
    moving_ = false;
    event->accept();
}

void CBaseDialog::mouseMoveEvent(QMouseEvent* event) {
    if (!pressPoint_ || !(event->buttons() & Qt::LeftButton)) {
        QDialog::mouseMoveEvent(event);
        return;
    }
    event->accept();
    const QPoint now = event->globalPosition().toPoint();
    if (!moving_ && (now - *pressPoint_).manhattanLength() < QApplication::startDragDistance())
        return;
    // The window catches up with the pointer first, so that it does not lag
    // behind by the distance travelled before the move began.
    move(now - dragOffset_);
    if (!moving_) {
        moving_ = true;
        // Let the window system move the window where it can (Wayland allows
        // nothing else); it then owns the pointer until the button goes up.
        if (QWindow* window = windowHandle(); window != nullptr && window->startSystemMove())
            pressPoint_.reset();
    }
}

void CBaseDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressPoint_.reset();
        moving_ = false;
    }
    QDialog::mouseReleaseEvent(event);
}

}  // namespace keyloom::controls
