#pragma once
// A button painted from the skin: in each state it shows the part of that
// state's full-window picture that lies under it, starting one pixel up and
// left of its picture offset. On top it can draw a coloured outline and its
// text (in its font, in the colour of the current state, inside its contents
// margins, smaller when it would not fit). The pictures are
// drawn at their natural size, never scaled. Focus reached by the keyboard
// shows as a ring; Space presses the focused button.
//
// What it shows is decided by SkinButtonState; the widget only feeds it
// mouse and enabled changes and paints the result.

#include <QAbstractButton>
#include <QPainter>
#include <QPoint>
#include <QPointer>
#include <functional>
#include <optional>

#include "controls/SkinButtonState.h"
#include "controls/SkinPictureSet.h"
#include "controls/SkinTextColours.h"
#include "controls/TintOverlay.h"

namespace keyloom::controls {

class CSkinButtonLayer;

class CSkinButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit CSkinButton(QWidget* parent = nullptr);

    // Gives the button its five pictures and its picture offset. Does not
    // repaint by itself (the caller decides when the new look shows).
    // The pictures are full-window pictures, or cuts of them whose top-left
    // corner lies at `pictureOrigin` of the full picture: a cut that holds
    // the button's rectangle draws exactly what the full picture would.
    void setPictures(const SkinPictureSet& pictures, QPoint pictureOffset,
                     QPoint pictureOrigin = QPoint(0, 0));
    void setPictureOffset(QPoint pictureOffset);
    const SkinPictureSet& pictures() const { return pictures_; }
    QPoint pictureOffset() const { return pictureOffset_; }
    QPoint pictureOrigin() const { return pictureOrigin_; }

    // The two pictures of the toggle-face display (flag off, flag on), cut
    // at the same origin as the state pictures.
    void setTogglePictures(const QPixmap& off, const QPixmap& on);

    // Called before a face is painted whose picture the button does not
    // have (a null picture), so that pictures can be decoded when they are
    // first shown. It may give the button its pictures; without them the
    // face stays undrawn as before.
    using PictureLoader = std::function<void(CSkinButton&, SkinFace)>;
    void setPictureLoader(PictureLoader loader) { loader_ = std::move(loader); }
    void setToggleDisplay(bool on, bool flag);

    void setSelected(bool selected);
    bool isSelected() const { return state_.selected(); }

    // A frame in the given colour around the face; nothing to remove it.
    void setOutline(std::optional<Rgb> colour);

    // Light in the given colour cast over the face (screen blend, so a
    // legend stays readable and black leaves the face as it is); nothing to
    // remove it. Repaints only when the tint changes.
    void setFaceTint(std::optional<Rgb> colour);
    std::optional<Rgb> faceTint() const { return tint_; }

    // Hover is normally tracked from the mouse; set here to highlight the
    // button without it.
    void setHovered(bool hovered);

    void setTextColours(const SkinTextColours& colours);
    const SkinTextColours& textColours() const { return textColours_; }

    // While a layer above the button paints it (see CSkinButtonLayer), the
    // button's own repaint requests go to that layer; nullptr ends it.
    void setPaintLayer(CSkinButtonLayer* layer);
    // Paints the button as its paint event does, with its top-left corner at
    // the painter's origin (the painter may belong to another widget).
    void paintFace(QPainter& painter);

    // Where the text goes (the contents rectangle, a little inside) and the
    // font it is drawn in: the button's own, smaller when the text would
    // not fit otherwise.
    QRect textRect() const;
    QFont textFont() const;

    const SkinButtonState& state() const { return state_; }
    // The face the button shows now (the one the next paint draws).
    SkinFace currentFace() const;

signals:
    // After every paint, with the face that was drawn.
    void painted(keyloom::controls::SkinFace face);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    bool showsFocusRing() const;
    const QPixmap& pictureFor(SkinFace face) const;
    // The picture of the face itself, without the toggle faces' fallback.
    const QPixmap& ownPictureFor(SkinFace face) const;
    void syncFromWidget();
    void repaintIf(bool changed);
    void requestRepaint();

    SkinButtonState state_;
    SkinPictureSet pictures_;
    QPixmap toggleOff_;
    QPixmap toggleOn_;
    QPoint pictureOffset_{1, 1};
    QPoint pictureOrigin_{0, 0};
    SkinTextColours textColours_;
    PictureLoader loader_;
    std::optional<Rgb> tint_;
    TintOverlay tintOverlay_;
    QPointer<CSkinButtonLayer> paintLayer_;
};

}  // namespace keyloom::controls
