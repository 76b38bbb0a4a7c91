#pragma once
// Keyboard focus in the order a window is read: Tab and Shift+Tab go row by
// row from the top, left to right within a row, over the controls shown and
// enabled now (skinned windows place controls freely, so the order in which
// they were created says nothing). F6 and Shift+F6 jump to the first control
// of the next or previous region of the window.

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>
#include <vector>

namespace keyloom::controls {

// `widgets` in screen order. Two widgets share a row when the vertical
// centre of the later one lies above the bottom of the row's first one.
std::vector<QWidget*> inScreenOrder(std::vector<QWidget*> widgets);

class ScreenOrderFocus : public QObject {
    Q_OBJECT

public:
    // Region number of a place in the window (0 for a window of one region).
    using RegionOf = std::function<int(const QRect& inWindow)>;

    // Works for the controls of `window` from now on, until either goes.
    explicit ScreenOrderFocus(QWidget& window, RegionOf regionOf = {});
    ~ScreenOrderFocus() override;

    // The controls Tab reaches now, in order, regions first.
    std::vector<QWidget*> chain() const;
    // Moves the focus on by Tab (forward) or Shift+Tab; false when no control
    // can take it.
    bool moveFocus(bool forward);
    // Moves it to the first control of the next or previous region.
    bool moveToRegion(bool forward);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int regionOf(const QWidget& widget) const;
    void focus(QWidget& widget);

    QPointer<QWidget> window_;
    RegionOf regionOf_;
};

}  // namespace keyloom::controls
