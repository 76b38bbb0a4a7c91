#include "shell/ScreenFit.h"

#include <QImageReader>
#include <QScreen>
#include <algorithm>

#include "storage/SkinScreen.h"

namespace keyloom::shell {

namespace {

constexpr const char* kScaleVariable = "QT_SCALE_FACTOR";

// The user's own scale factor for the whole program, 1 when none is set.
double userScale() {
    bool parsed = false;
    const double value = qEnvironmentVariable(kScaleVariable).toDouble(&parsed);
    return parsed && value > 0 ? value : 1.0;
}

}  // namespace

double fitFactor(QSize window, QSize available, double pixelRatio) {
    if (window.isEmpty() || available.isEmpty() || pixelRatio <= 0)
        return 1.0;
    if (window.width() <= available.width() && window.height() <= available.height())
        return 1.0;
    // One device pixel of margin: the window's device size is rounded.
    const double across = (available.width() * pixelRatio - 1) / (window.width() * pixelRatio);
    const double down = (available.height() * pixelRatio - 1) / (window.height() * pixelRatio);
    return std::clamp(std::min(across, down), 0.01, 1.0);
}

QSize largestSkinWindow(const std::vector<std::string>& skinFiles) {
    QSize largest(0, 0);
    for (const std::string& file : skinFiles) {
        const SkinScreen screen = readSkinScreen(file);
        if (screen.mainPicturePath.empty())
            continue;
        const QSize size = QImageReader(QString::fromStdString(screen.mainPicturePath)).size();
        if (size.isValid())
            largest = largest.expandedTo(size);
    }
    return largest;
}

FittedApplication::FittedApplication(int argc, char** argv,
                                     const std::vector<std::string>& skinFiles)
    : original_(argv, argv + argc) {
    build();
    const QSize window = largestSkinWindow(skinFiles);
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    fit_ = fitFactor(window, screen->availableGeometry().size(), screen->devicePixelRatio());
    if (fit_ >= 1.0)
        return;
    // The scale is read once, when the application object is built: build it
    // again at the smaller one, then give the variable back its old value so
    // that programs started from here get the desktop's scale.
    const QByteArray before = qgetenv(kScaleVariable);
    const bool wasSet = qEnvironmentVariableIsSet(kScaleVariable);
    const double scale = userScale() * fit_;
    application_.reset();
    qputenv(kScaleVariable, QByteArray::number(scale, 'f', 6));
    build();
    if (wasSet)
        qputenv(kScaleVariable, before);
    else
        qunsetenv(kScaleVariable);
}

FittedApplication::~FittedApplication() = default;

void FittedApplication::build() {
    storage_ = original_;
    argv_.clear();
    for (std::string& argument : storage_)
        argv_.push_back(argument.data());
    argv_.push_back(nullptr);
    argc_ = static_cast<int>(storage_.size());
    application_ = std::make_unique<QApplication>(argc_, argv_.data());
}

}  // namespace keyloom::shell
