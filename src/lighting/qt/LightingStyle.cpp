#include "lighting/qt/LightingStyle.h"

#include <QGuiApplication>

namespace keyloom::lighting::qt {

QString labelStyle() {
    return QStringLiteral("QLabel { color: #8a9098; background: transparent; }");
}

QFont labelFont() {
    QFont font = QGuiApplication::font();
    font.setPixelSize(11);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    return font;
}

QFont noteFont() {
    QFont font = QGuiApplication::font();
    font.setPixelSize(12);
    return font;
}

QString comboStyle() {
    return QStringLiteral(
        "QComboBox { color: #dfe3e8; background: #1f2227; border: 1px solid #31353d;"
        " border-radius: 6px; padding: 2px 10px; font-size: 13px; }"
        "QComboBox:hover { background: #2a2e35; border-color: #ff8200; }"
        "QComboBox:focus { border-color: #ff8200; }"
        "QComboBox::drop-down { border: none; width: 22px; }"
        "QComboBox::down-arrow { image: none; width: 0; height: 0; }"
        "QComboBox QAbstractItemView { color: #dfe3e8; background: #1f2227;"
        " border: 1px solid #31353d; selection-background-color: #3a2712;"
        " selection-color: #ffa640; outline: none; }");
}

QString numberBoxStyle() {
    return QStringLiteral(
        "QLineEdit { color: #dfe3e8; background: #1f2227; border: 1px solid #31353d;"
        " border-radius: 6px; padding: 0 4px; font-size: 13px; }"
        "QLineEdit:focus { border-color: #ff8200; }");
}

QString colourDialogStyle() {
    return QStringLiteral(
        "QColorDialog, QWidget { background: #17191d; color: #dfe3e8; font-size: 12px; }"
        "QLabel { background: transparent; color: #dfe3e8; }"
        "QLineEdit, QSpinBox { background: #1f2227; color: #dfe3e8; border: 1px solid #31353d;"
        " border-radius: 4px; padding: 1px 4px; selection-background-color: #ff8200; }"
        "QLineEdit:focus, QSpinBox:focus { border-color: #ff8200; }"
        "QPushButton { background: #1f2227; color: #dfe3e8; border: 1px solid #31353d;"
        " border-radius: 6px; padding: 5px 14px; }"
        "QPushButton:hover { background: #2a2e35; border-color: #ff8200; color: #ffa640; }"
        "QPushButton:pressed { background: #16181b; }"
        "QPushButton:default { border-color: #ff8200; }");
}

}  // namespace keyloom::lighting::qt
