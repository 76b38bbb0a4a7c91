#pragma once
// One widget that paints a set of sibling skin buttons in their place, above
// them. The lighting preview recolours about a hundred keys twenty times a
// second; as a hundred widgets each recolour costs a paint event, a painter
// and the window's clipping against every sibling, which is most of the
// preview's time. The layer paints all of them in one paint event instead.
//
// The buttons stay where they are and keep everything but their painting:
// the layer lets the mouse through to them, so hover, presses, tool tips and
// the keyboard work as before. Its mask is the union of the buttons, so what
// lies between them shows through. A button's own repaint requests go to the
// layer while it is shown; any other repaint of a button (a press, the focus)
// marks its place dirty and the window repaints the layer there too.

#include <QPointer>
#include <QWidget>
#include <vector>

#include "controls/CSkinButton.h"

namespace keyloom::controls {

class CSkinButtonLayer : public QWidget {
    Q_OBJECT

public:
    // The buttons must share one parent, which becomes the layer's. Hidden
    // at first.
    explicit CSkinButtonLayer(const std::vector<CSkinButton*>& buttons);
    ~CSkinButtonLayer() override;

    // Shows the layer just above the topmost of its buttons, or hides it
    // (the buttons paint themselves again).
    void setActive(bool active);

    // Asks for the place of a button (in the parent's coordinates) to be
    // painted again.
    void repaintPlace(const QRect& place);

    // Gathers the repaints asked for while it lives into one request for
    // exactly those places: the window merges one region at a time much
    // faster than a hundred rectangles one by one. Takes a null layer.
    class Batch {
    public:
        explicit Batch(CSkinButtonLayer* layer);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        QPointer<CSkinButtonLayer> layer_;
    };

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Takes the place and mask of the buttons shown now, in stacking order.
    void relayout();
    void stackAboveButtons();

    std::vector<QPointer<CSkinButton>> buttons_;
    bool relayoutPending_ = false;
    int batches_ = 0;
    std::vector<QRect> pending_;
};

}  // namespace keyloom::controls
