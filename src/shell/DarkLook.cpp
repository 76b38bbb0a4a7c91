#include "shell/DarkLook.h"

#include <QApplication>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QToolTip>
#include <algorithm>
#include <memory>

#include "shell/FlatIcons.h"

namespace keyloom::shell {

namespace {

// Qt's flat style with flat icons in place of its glossy built-in ones.
class DarkStyle : public QProxyStyle {
public:
    DarkStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (std::optional<QIcon> icon = flatIcon(which))
            return *icon;
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

}  // namespace

QPalette darkPalette() {
    const QColor text(0xdf, 0xe3, 0xe8);
    const QColor faint(0x55, 0x5a, 0x62);
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x17, 0x19, 0x1d));
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, QColor(0x1f, 0x22, 0x27));
    p.setColor(QPalette::AlternateBase, QColor(0x25, 0x29, 0x2f));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::PlaceholderText, QColor(0x7d, 0x83, 0x8c));
    p.setColor(QPalette::Button, QColor(0x2c, 0x30, 0x37));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, QColor(0xff, 0xa6, 0x40));
    p.setColor(QPalette::Light, QColor(0x41, 0x46, 0x4f));
    p.setColor(QPalette::Midlight, QColor(0x35, 0x3a, 0x42));
    p.setColor(QPalette::Mid, QColor(0x2c, 0x30, 0x37));
    p.setColor(QPalette::Dark, QColor(0x0f, 0x11, 0x14));
    p.setColor(QPalette::Shadow, QColor(0x05, 0x06, 0x07));
    p.setColor(QPalette::Highlight, QColor(0x9a, 0x50, 0x0c));
    p.setColor(QPalette::HighlightedText, QColor(0xff, 0xff, 0xff));
    p.setColor(QPalette::Link, QColor(0xff, 0xa6, 0x40));
    p.setColor(QPalette::LinkVisited, QColor(0xd9, 0x8c, 0x3a));
    p.setColor(QPalette::ToolTipBase, QColor(0x1a, 0x1d, 0x22));
    p.setColor(QPalette::ToolTipText, text);
    for (QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        p.setColor(QPalette::Disabled, role, faint);
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x3a, 0x3d, 0x42));
    return p;
}

void applyDarkLook() {
    // The desktop's dialogs would bring the desktop's colours (white file
    // lists on a dark program); Qt's own take the palette below.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication::setStyle(std::make_unique<DarkStyle>().release());  // the application owns it
    const QPalette palette = darkPalette();
    QApplication::setPalette(palette);
    QToolTip::setPalette(palette);
}

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
