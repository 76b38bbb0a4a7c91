#pragma once
// When the main window's busy indicator shows: while anyone wants it (the
// keyboard work, the core's own calls), never while a message box is open
// (a question asked before the work writes anything is no time to look
// busy), and only once a pause has passed, so that short work does not
// flicker it. The widget side runs the pause and the frames.

namespace keyloom::shell {

class BusyState {
public:
    void want() { ++wanted_; }
    // One want fewer; more releases than wants change nothing.
    void release() {
        if (wanted_ > 0)
            --wanted_;
    }
    void messageBoxOpened() { ++boxes_; }
    void messageBoxClosed() {
        if (boxes_ > 0)
            --boxes_;
    }

    // Whether the indicator should be on screen (once the pause has passed).
    bool wanted() const { return wanted_ > 0 && boxes_ == 0; }
    bool shown() const { return shown_; }
    // The pause has passed: true when the indicator is to show now.
    bool reveal() {
        if (shown_ || !wanted())
            return false;
        shown_ = true;
        return true;
    }
    // No longer wanted: true when the indicator is on screen and is to go.
    bool conceal() {
        if (!shown_ || wanted())
            return false;
        shown_ = false;
        return true;
    }

private:
    int wanted_ = 0;
    int boxes_ = 0;
    bool shown_ = false;
};

}  // namespace keyloom::shell
