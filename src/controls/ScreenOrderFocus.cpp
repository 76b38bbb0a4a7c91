#include "controls/ScreenOrderFocus.h"

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>

namespace keyloom::controls {

std::vector<QWidget*> inScreenOrder(std::vector<QWidget*> widgets) {
    const auto placeOf = [](const QWidget* w) {
        return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
    };
    std::stable_sort(widgets.begin(), widgets.end(), [&](const QWidget* a, const QWidget* b) {
        return placeOf(a).center().y() < placeOf(b).center().y();
    });
    std::vector<QWidget*> ordered;
    std::size_t rowStart = 0;
    int rowBottom = 0;
    for (std::size_t i = 0; i <= widgets.size(); ++i) {
        const bool newRow =
            i == widgets.size() || i == 0 || placeOf(widgets[i]).center().y() > rowBottom;
        if (newRow && i > rowStart) {
            std::stable_sort(widgets.begin() + static_cast<std::ptrdiff_t>(rowStart),
                             widgets.begin() + static_cast<std::ptrdiff_t>(i),
                             [&](const QWidget* a, const QWidget* b) {
                                 return placeOf(a).left() < placeOf(b).left();
                             });
            ordered.insert(ordered.end(), widgets.begin() + static_cast<std::ptrdiff_t>(rowStart),
                           widgets.begin() + static_cast<std::ptrdiff_t>(i));
            rowStart = i;
        }
        if (newRow && i < widgets.size())
            rowBottom = placeOf(widgets[i]).bottom();
    }
    return ordered;
}

ScreenOrderFocus::ScreenOrderFocus(QWidget& window, RegionOf regionOf)
    : window_(&window), regionOf_(std::move(regionOf)) {
    qApp->installEventFilter(this);
}

ScreenOrderFocus::~ScreenOrderFocus() {
    qApp->removeEventFilter(this);
}

int ScreenOrderFocus::regionOf(const QWidget& widget) const {
    if (!regionOf_)
        return 0;
    return regionOf_(QRect(widget.mapTo(window_, QPoint(0, 0)), widget.size()));
}

std::vector<QWidget*> ScreenOrderFocus::chain() const {
    std::vector<QWidget*> reachable;
    if (!window_)
        return reachable;
    for (QWidget* w : window_->findChildren<QWidget*>()) {
        // Parts of a control (the edit field of a combo box) go with it:
        // whichever of the two hands its focus to the other is left out.
        if (w->focusProxy() ||
            (w->parentWidget() != window_ && w->parentWidget()->focusProxy() == w))
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(window_) && w->isEnabled() &&
            w->window() == window_)
            reachable.push_back(w);
    }
    reachable = inScreenOrder(std::move(reachable));
    std::stable_sort(
        reachable.begin(), reachable.end(),
        [this](const QWidget* a, const QWidget* b) { return regionOf(*a) < regionOf(*b); });
    return reachable;
}

void ScreenOrderFocus::focus(QWidget& widget) {
    // The focus ring shows for focus moved by the keyboard.
    window_->setAttribute(Qt::WA_KeyboardFocusChange);
    widget.setFocus(Qt::TabFocusReason);
}

bool ScreenOrderFocus::moveFocus(bool forward) {
    const std::vector<QWidget*> order = chain();
    if (order.empty())
        return false;
    QWidget* current = QApplication::focusWidget();
    while (current && current->parentWidget() && current->parentWidget()->focusProxy() == current)
        current = current->parentWidget();
    auto it = std::find(order.begin(), order.end(), current);
    std::size_t next = 0;
    if (it == order.end())
        next = forward ? 0 : order.size() - 1;
    else {
        const auto at = static_cast<std::size_t>(it - order.begin());
        next = forward ? (at + 1) % order.size() : (at + order.size() - 1) % order.size();
    }
    focus(*order[next]);
    return true;
}

bool ScreenOrderFocus::moveToRegion(bool forward) {
    const std::vector<QWidget*> order = chain();
    if (order.empty())
        return false;
    QWidget* current = QApplication::focusWidget();
    const auto it = std::find(order.begin(), order.end(), current);
    const int here = it == order.end() ? -1 : regionOf(**it);
    std::vector<int> regions;
    for (QWidget* w : order)
        if (regions.empty() || regions.back() != regionOf(*w))
            regions.push_back(regionOf(*w));
    const auto at = std::find(regions.begin(), regions.end(), here);
    std::size_t target = 0;
    if (at == regions.end())
        target = forward ? 0 : regions.size() - 1;
    else {
        const auto i = static_cast<std::size_t>(at - regions.begin());
        target = forward ? (i + 1) % regions.size() : (i + regions.size() - 1) % regions.size();
    }
    for (QWidget* w : order)
        if (regionOf(*w) == regions[target]) {
            focus(*w);
            return true;
        }
    return false;
}

bool ScreenOrderFocus::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !window_)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_ || QApplication::activePopupWidget())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if ((key->key() == Qt::Key_Tab && mods == Qt::NoModifier) || key->key() == Qt::Key_Backtab)
        return moveFocus(key->key() == Qt::Key_Tab);
    if (key->key() == Qt::Key_F6 && (mods == Qt::NoModifier || mods == Qt::ShiftModifier))
        return moveToRegion(mods == Qt::NoModifier);
    return false;
}

}  // namespace keyloom::controls
