#include "shell/BusyIndicator.h"

#include <chrono>

#include "controls/SkinReaders.h"

namespace keyloom::shell {

namespace {

// How long the indicator waits before it shows and before it goes again.
constexpr std::chrono::milliseconds kPause{100};
constexpr std::chrono::milliseconds kFrameInterval{50};

}  // namespace

BusyIndicator::BusyIndicator(QWidget& window, const std::string& skinFile, std::string skinFolder)
    : skinFolder_(std::move(skinFolder)), label_(std::make_unique<QLabel>(&window)) {
    controls::placeControl(*label_, skinFile, "BUTTONINFO", "CONTROL_JDTStatic");
    label_->hide();
    pause_.setSingleShot(true);
    QObject::connect(&pause_, &QTimer::timeout, label_.get(), [this] { reveal(); });
    QObject::connect(&frames_, &QTimer::timeout, label_.get(), [this] { advance(); });
}

void BusyIndicator::want() {
    state_.want();
    refresh();
}

void BusyIndicator::release() {
    state_.release();
    refresh();
}

void BusyIndicator::releaseSoon() {
    if (!state_.shown()) {
        release();
        return;
    }
    QTimer::singleShot(kPause, label_.get(), [this] { release(); });
}

void BusyIndicator::messageBoxOpened() {
    state_.messageBoxOpened();
    refresh();
}

void BusyIndicator::messageBoxClosed() {
    state_.messageBoxClosed();
    refresh();
}

void BusyIndicator::stop() {
    pause_.stop();
    frames_.stop();
}

void BusyIndicator::refresh() {
    if (!state_.wanted()) {
        pause_.stop();
        if (state_.conceal()) {
            frames_.stop();
            label_->hide();
        }
        return;
    }
    if (!state_.shown() && !pause_.isActive())
        pause_.start(kPause);
}

void BusyIndicator::reveal() {
    if (!state_.reveal())
        return;
    frame_ = 0;
    advance();
    label_->show();
    label_->raise();
    frames_.start(kFrameInterval);
}

void BusyIndicator::advance() {
    // Loaded when the indicator first runs: most starts never need them.
    // They are optional: without them the indicator stays empty.
    if (pictures_.empty())
        for (int i = 1; i <= 10; ++i)
            pictures_.emplace_back(
                QString::fromStdString(skinFolder_ + "jdt" + std::to_string(i) + ".bmp"));
    label_->setPixmap(pictures_[frame_]);
    frame_ = (frame_ + 1) % pictures_.size();
}

}  // namespace keyloom::shell
