#include "controls/AfterFirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <utility>

namespace keyloom::controls {

AfterFirstPaint::AfterFirstPaint(QWidget& widget, std::function<void()> work)
    : widget_(&widget), work_(std::move(work)) {
    widget.installEventFilter(this);
}

AfterFirstPaint::~AfterFirstPaint() {
    if (widget_)
        widget_->removeEventFilter(this);
}

bool AfterFirstPaint::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget_ && event->type() == QEvent::Paint && !armed_) {
        // The paint is still running: a zero timer fires once this frame
        // has been painted and flushed, and the events already waiting
        // (the rest of the first frame's input) are handled.
        armed_ = true;
        widget_->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] { run(); });
    }
    return false;
}

void AfterFirstPaint::run() {
    std::function<void()> work = std::exchange(work_, {});
    if (work && widget_)
        work();
}

}  // namespace keyloom::controls
