#pragma once
// The scale the skinned windows are drawn at. Their sizes come from their
// pictures, so at a large desktop scale the main window can be bigger than
// the screen. The toolkit then draws the whole program at a smaller scale
// chosen before its application object is built: every control, text,
// picture, mask and hit test follows one scale that way, with nothing to map
// by hand.

#include <QApplication>
#include <QSize>
#include <memory>
#include <string>
#include <vector>

namespace keyloom::shell {

// The factor by which a scale at which `available` (logical pixels, at that
// scale `pixelRatio` device pixels each) is the screen's usable area must
// shrink so that a window of `window` logical pixels fits: 1 when it fits
// already, otherwise a little under the exact ratio, so that rounding to
// device pixels never makes it one pixel too big.
double fitFactor(QSize window, QSize available, double pixelRatio);

// The bounding size of the skin windows whose files are given (the SCREEN
// picture of each; files or pictures that cannot be read count as nothing).
QSize largestSkinWindow(const std::vector<std::string>& skinFiles);

// The program's application object, built at a scale at which the largest
// skin window fits the primary screen's usable area.
class FittedApplication {
public:
    // Keeps its own copy of the arguments: the application object takes its
    // own from them, and a second build needs them whole again.
    FittedApplication(int argc, char** argv, const std::vector<std::string>& skinFiles);
    ~FittedApplication();
    FittedApplication(const FittedApplication&) = delete;
    FittedApplication& operator=(const FittedApplication&) = delete;

    // The arguments left after the toolkit took its own; the first is the
    // program's name.
    int argc() const { return argc_; }
    char** argv() { return argv_.data(); }
    // The factor applied to the desktop's scale (1 when the windows fit).
    double fit() const { return fit_; }

private:
    void build();

    std::vector<std::string> original_;
    std::vector<std::string> storage_;
    std::vector<char*> argv_;
    int argc_ = 0;
    double fit_ = 1.0;
    std::unique_ptr<QApplication> application_;
};

}  // namespace keyloom::shell
