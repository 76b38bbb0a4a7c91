#include "shell/StatusNote.h"

#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>

namespace keyloom::shell {

namespace {

constexpr int kFadeMilliseconds = 800;

}  // namespace

StatusNote::StatusNote(QWidget* parent) : QLabel(parent) {
    // On the skin's dark bottom bar, in its light text colour.
    setStyleSheet(QStringLiteral("QLabel { color: #dfe3e8; background: transparent; }"));
    setAlignment(Qt::AlignVCenter | Qt::AlignRight);
    // A note that names a file can be longer than the bar is wide: it takes
    // a second line rather than losing its beginning.
    setWordWrap(true);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    opacity_ = new QGraphicsOpacityEffect(this);  // the label owns its effect
    setGraphicsEffect(opacity_);
    fading_ = std::make_unique<QPropertyAnimation>(opacity_, "opacity");
    fading_->setDuration(kFadeMilliseconds);
    fading_->setStartValue(1.0);
    fading_->setEndValue(0.0);
    connect(fading_.get(), &QPropertyAnimation::finished, this, &QWidget::hide);
    hold_.setSingleShot(true);
    connect(&hold_, &QTimer::timeout, this, [this] { fade(); });
    hide();
}

StatusNote::~StatusNote() = default;

void StatusNote::showNote(const QString& text, std::chrono::milliseconds hold) {
    fading_->stop();
    opacity_->setOpacity(1.0);
    setText(text);
    show();
    raise();
    hold_.start(hold);
}

void StatusNote::fade() {
    fading_->start();
}

}  // namespace keyloom::shell
