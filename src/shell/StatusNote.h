#pragma once
// A short line of text in the main window that confirms finished work and
// then fades away by itself, so that it never asks to be dismissed.

#include <QLabel>
#include <QTimer>
#include <chrono>
#include <memory>

class QGraphicsOpacityEffect;
class QPropertyAnimation;

namespace keyloom::shell {

class StatusNote : public QLabel {
    Q_OBJECT

public:
    explicit StatusNote(QWidget* parent);
    ~StatusNote() override;

    // Shows `text` at full strength; it starts to fade after `hold`. A new
    // note replaces the one showing.
    void showNote(const QString& text,
                  std::chrono::milliseconds hold = std::chrono::milliseconds(4000));

private:
    void fade();

    QTimer hold_;
    QGraphicsOpacityEffect* opacity_ = nullptr;  // owned by the label
    std::unique_ptr<QPropertyAnimation> fading_;
};

}  // namespace keyloom::shell
