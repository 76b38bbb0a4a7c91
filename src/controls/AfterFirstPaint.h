#pragma once
// Runs a piece of work once, on a turn of the event loop right after a
// widget's first paint, so that what the first frame does not need is built
// after that frame reached the screen rather than before it.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace keyloom::controls {

class AfterFirstPaint : public QObject {
public:
    // `work` runs at most once, on the widget's thread, and never after this
    // object or the widget is gone.
    AfterFirstPaint(QWidget& widget, std::function<void()> work);
    ~AfterFirstPaint() override;
    AfterFirstPaint(const AfterFirstPaint&) = delete;
    AfterFirstPaint& operator=(const AfterFirstPaint&) = delete;

    // Whether the work has run (or was dropped).
    bool done() const { return !work_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void run();

    QPointer<QWidget> widget_;
    std::function<void()> work_;
    bool armed_ = false;
};

}  // namespace keyloom::controls
