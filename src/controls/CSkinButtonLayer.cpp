#include "controls/CSkinButtonLayer.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <algorithm>

namespace keyloom::controls {

namespace {

// Up to this many places a batch asks for one by one; more are joined first.
constexpr std::size_t kSeparatePlaces = 8;

QWidget* commonParent(const std::vector<CSkinButton*>& buttons) {
    return buttons.empty() ? nullptr : buttons.front()->parentWidget();
}

}  // namespace

CSkinButtonLayer::CSkinButtonLayer(const std::vector<CSkinButton*>& buttons)
    : QWidget(commonParent(buttons)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Every pixel inside the mask is a button's face: nothing beneath needs
    // painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    hide();
    for (CSkinButton* button : buttons) {
        if (!button || button->parentWidget() != parentWidget())
            continue;
        buttons_.emplace_back(button);
        button->installEventFilter(this);
    }
    relayout();
}

CSkinButtonLayer::~CSkinButtonLayer() {
    for (const QPointer<CSkinButton>& button : buttons_)
        if (button)
            button->setPaintLayer(nullptr);
}

void CSkinButtonLayer::setActive(bool active) {
    if (active == isVisible())
        return;
    for (const QPointer<CSkinButton>& button : buttons_)
        if (button)
            button->setPaintLayer(active ? this : nullptr);
    if (active) {
        relayout();
        stackAboveButtons();
        show();
    } else {
        hide();
    }
}

void CSkinButtonLayer::repaintPlace(const QRect& place) {
    const QRect local = place.translated(-pos());
    if (batches_ > 0)
        pending_.push_back(local);
    else
        update(local);
}

CSkinButtonLayer::Batch::Batch(CSkinButtonLayer* layer) : layer_(layer) {
    if (layer_)
        ++layer_->batches_;
}

CSkinButtonLayer::Batch::~Batch() {
    if (!layer_ || --layer_->batches_ > 0)
        return;
    std::vector<QRect>& pending = layer_->pending_;
    if (pending.size() <= kSeparatePlaces) {
        for (const QRect& place : pending)
            layer_->update(place);
    } else {
        // Joined in pairs, then pairs of pairs: each join works on regions
        // of like size, where adding the places one at a time to one growing
        // region would go over it again for every place.
        std::vector<QRegion> parts(pending.begin(), pending.end());
        for (std::size_t step = 1; step < parts.size(); step *= 2)
            for (std::size_t i = 0; i + step < parts.size(); i += 2 * step)
                parts[i] += parts[i + step];
        layer_->update(parts.front());
    }
    pending.clear();
}

void CSkinButtonLayer::relayout() {
    relayoutPending_ = false;
    QWidget* parent = parentWidget();
    if (!parent)
        return;
    // Paint in the buttons' own stacking order, so an overlap looks the same.
    const QObjectList& order = parent->children();
    std::stable_sort(buttons_.begin(), buttons_.end(),
                     [&order](const QPointer<CSkinButton>& a, const QPointer<CSkinButton>& b) {
                         return order.indexOf(a.data()) < order.indexOf(b.data());
                     });
    QRegion shape;
    for (const QPointer<CSkinButton>& button : buttons_)
        if (button && button->isVisibleTo(parent))
            shape += button->geometry();
    const QRect place = shape.boundingRect();
    setGeometry(place);
    setMask(shape.isEmpty() ? QRegion(0, 0, 1, 1) : shape.translated(-place.topLeft()));
}

void CSkinButtonLayer::stackAboveButtons() {
    QWidget* parent = parentWidget();
    if (!parent)
        return;
    const QObjectList& order = parent->children();
    qsizetype topmost = -1;
    for (const QPointer<CSkinButton>& button : buttons_)
        topmost = std::max(topmost, order.indexOf(button.data()));
    // Under the first widget above the buttons, so nothing that lies over
    // them (a note, a pop-up) is hidden by the layer.
    for (qsizetype i = topmost + 1; i < order.size(); ++i) {
        auto* above = qobject_cast<QWidget*>(order.at(i));
        if (above && above != this && !above->isWindow()) {
            stackUnder(above);
            return;
        }
    }
    raise();
}

void CSkinButtonLayer::paintEvent(QPaintEvent* event) {
    QWidget* parent = parentWidget();
    if (!parent)
        return;
    QPainter painter(this);
    const QRegion& dirty = event->region();
    for (const QPointer<CSkinButton>& button : buttons_) {
        if (!button || !button->isVisibleTo(parent))
            continue;
        const QRect place = button->geometry().translated(-pos());
        if (!dirty.intersects(place))
            continue;
        // A button paints inside its own rectangle: no clip needed.
        painter.translate(place.topLeft());
        button->paintFace(painter);
        painter.translate(-place.topLeft());
    }
}

bool CSkinButtonLayer::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            // A new layout (another keyboard, another skin): follow it, once
            // for all the buttons that moved together.
            if (isVisible() && !relayoutPending_) {
                relayoutPending_ = true;
                QMetaObject::invokeMethod(this, &CSkinButtonLayer::relayout, Qt::QueuedConnection);
            }
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace keyloom::controls
