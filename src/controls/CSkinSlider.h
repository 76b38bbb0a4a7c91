#pragma once
// A slider drawn from the skin's face pictures (see SliderState). Click or
// drag to a position, or use the arrow keys, Home, End and the wheel; every
// change made by the user is announced with positionChangedByUser. Setting
// the position from code announces nothing.

#include <QPixmap>
#include <QWidget>
#include <vector>

#include "controls/SliderState.h"

namespace keyloom::controls {

class CSkinSlider : public QWidget {
    Q_OBJECT

public:
    explicit CSkinSlider(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    void setPosition(int position);
    int position() const { return state_.position(); }
    const SliderState& state() const { return state_; }

    // The face pictures, drawn at natural size from the top-left corner.
    void setFacePictures(std::vector<QPixmap> faces);
    // Distance from either edge to the thumb's centre at that end; by default
    // half the slider's height (a round thumb that touches the ends).
    void setTrackMargin(int margin);
    int trackMargin() const;

signals:
    void positionChangedByUser(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void userMovedTo(int position);
    void userStep(int delta);

    SliderState state_;
    std::vector<QPixmap> faces_;
    int trackMargin_ = -1;
};

}  // namespace keyloom::controls
