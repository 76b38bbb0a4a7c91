#pragma once
// The main window's busy indicator: an animation of the skin's "jdt1.bmp" to
// "jdt10.bmp" at the place "CONTROL_JDTStatic", shown as BusyState says.

#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "shell/BusyState.h"

class QWidget;

namespace keyloom::shell {

class BusyIndicator {
public:
    BusyIndicator(QWidget& window, const std::string& skinFile, std::string skinFolder);

    void want();
    // Releases one want after a short pause when the indicator is on screen,
    // at once when it is not (it would only flash up after the work ended).
    void releaseSoon();
    void release();
    // Message boxes keep the indicator away while they are open.
    void messageBoxOpened();
    void messageBoxClosed();
    // Shutdown: no pause or frame runs any more.
    void stop();

    QLabel& label() { return *label_; }

private:
    void refresh();
    void reveal();
    void advance();

    std::string skinFolder_;
    BusyState state_;
    std::unique_ptr<QLabel> label_;
    QTimer pause_;
    QTimer frames_;
    std::vector<QPixmap> pictures_;
    std::size_t frame_ = 0;
};

}  // namespace keyloom::shell
