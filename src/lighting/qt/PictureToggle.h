#pragma once
// A picture button of the lighting panel: it shows its normal picture, its
// hover picture under the mouse (when it has one) and its active picture
// while it is switched on (the selected direction, tool or colour choice).
// The pictures are control-sized and drawn at natural size; a missing
// picture leaves the face empty. A text (the On and Off of the lighting
// switch) is drawn over the picture, smaller when it would not fit; focus
// reached by the keyboard shows as a ring.

#include <QAbstractButton>
#include <QPixmap>

namespace keyloom::lighting::qt {

class PictureToggle : public QAbstractButton {
    Q_OBJECT

public:
    explicit PictureToggle(QWidget* parent = nullptr);

    void setPictures(QPixmap normal, QPixmap active, QPixmap hover = {});
    void setActive(bool active);
    bool isActive() const { return active_; }
    // The font the text is drawn in.
    QFont textFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QPixmap normal_;
    QPixmap activePicture_;
    QPixmap hover_;
    bool active_ = false;
    bool hovered_ = false;
};

}  // namespace keyloom::lighting::qt
