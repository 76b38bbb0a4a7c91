#pragma once
// Position of a skinned slider, how a mouse position maps to a position, and
// which of its face pictures shows the position. A slider is drawn from a
// series of face pictures of the whole slider with the thumb at evenly spaced
// places; any number of faces serves any range, the nearest one is shown.

#include <cstddef>

namespace keyloom::controls {

class SliderState {
public:
    SliderState() = default;
    SliderState(int minimum, int maximum) { setRange(minimum, maximum); }

    // A maximum below the minimum is raised to it; the position is kept
    // inside the range.
    void setRange(int minimum, int maximum);
    // Clamps to the range; returns whether the position changed.
    bool setPosition(int position);
    // Moves by `delta` positions (clamped); returns whether it moved.
    bool step(int delta);

    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int position() const { return position_; }

    // The face (0 .. faceCount - 1) for the current position; 0 when there
    // are no faces or the range holds one position.
    std::size_t faceIndex(std::size_t faceCount) const;

    // The position nearest to `x` on a slider `width` pixels wide whose track
    // runs from `margin` to `width - margin` (the thumb's centre at either
    // end). Outside the track gives the nearest end.
    int positionAt(int x, int width, int margin) const;

private:
    int minimum_ = 0;
    int maximum_ = 0;
    int position_ = 0;
};

}  // namespace keyloom::controls
