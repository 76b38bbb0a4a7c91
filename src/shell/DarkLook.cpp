#include "shell/DarkLook.h"

#include <algorithm>

namespace keyloom::shell {

const QString& darkMenuStyle() {
    static const QString style = QStringLiteral(
        "QMenu { background: #1a1d22; border: 1px solid #2c3037; padding: 4px; color: #dfe3e8; }"
        "QMenu::item { padding: 6px 22px 6px 14px; border-radius: 4px; }"
        "QMenu::item:selected { background: #3a2712; color: #ffa640; }"
        "QMenu::item:disabled { color: #555a62; }"
        "QMenu::separator { height: 1px; background: #2c3037; margin: 4px 8px; }"
        "QMenu::indicator { width: 12px; height: 12px; }");
    return style;
}

const QString& darkMessageBoxStyle() {
    static const QString style = QStringLiteral(
        "QMessageBox { background: #17191d; }"
        "QMessageBox QLabel { color: #dfe3e8; }"
        "QMessageBox QPushButton { background: #2c3037; color: #dfe3e8; border: 1px solid #41464f;"
        " border-radius: 4px; padding: 5px 18px; min-width: 64px; }"
        "QMessageBox QPushButton:hover { border-color: #ff8200; }"
        "QMessageBox QPushButton:focus { border-color: #ffa640; }"
        "QMessageBox QPushButton:pressed { background: #3a2712; }");
    return style;
}

QPoint dropPosition(const QRect& anchor, const QSize& menu, const QRect& screen) {
    const int rightmost = std::max(screen.left(), screen.right() + 1 - menu.width());
    const int x = std::clamp(anchor.left(), screen.left(), rightmost);
    const int below = anchor.bottom() + 1;
    if (below + menu.height() <= screen.bottom() + 1)
        return {x, below};
    const int above = anchor.top() - menu.height();
    if (above >= screen.top())
        return {x, above};
    // Room on neither side: as low as the screen allows.
    return {x, std::max(screen.top(), screen.bottom() + 1 - menu.height())};
}

}  // namespace keyloom::shell
