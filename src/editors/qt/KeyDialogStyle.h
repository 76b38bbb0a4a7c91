#pragma once
// The key assignment dialog's look for the controls the skin pictures do not
// paint (inputs, lists, the action table, Apply): the dark skin's colours.
// LIST_ARROW stands for the skin's drop-down arrow picture.

namespace keyloom::editors::qt {

inline constexpr const char* kKeyDialogStyle = R"(
QLabel { color: #dfe3e8; background: transparent; }
QLabel[role="heading"] { color: #ffffff; font-weight: bold; }
QLabel[role="muted"] { color: #8a9098; }
QLabel[role="title"] { color: #ffffff; font-weight: bold; }
QLabel[role="warning"] { color: #ffa640; }
QLabel[role="danger"] { color: #ff6a5c; }
QLineEdit, QComboBox {
    background: #16181b; color: #dfe3e8; border: 1px solid #31353d; border-radius: 6px;
    padding: 2px 8px; selection-background-color: #ff8200; selection-color: #16181b;
}
QLineEdit:focus, QComboBox:focus { border-color: #ff8200; }
QLineEdit:disabled, QComboBox:disabled { color: #555a62; border-color: #24272c; }
QLineEdit#captureBox {
    background: #0c0e11; color: #ffffff; border: 1px solid #3a2712; border-radius: 10px;
    font-weight: bold;
}
QComboBox::drop-down { border: none; width: 22px; }
QComboBox::down-arrow { image: url(LIST_ARROW); width: 12px; height: 8px; margin-right: 6px; }
QComboBox QAbstractItemView {
    background: #1f2227; color: #dfe3e8; border: 1px solid #31353d;
    selection-background-color: #ff8200; selection-color: #16181b; outline: none;
}
QTableView {
    background: #0e1013; alternate-background-color: #121417; color: #dfe3e8;
    border: none; gridline-color: #22262c;
    selection-background-color: #3a2712; selection-color: #ffffff; outline: none;
}
QTableView QLineEdit, QTableView QComboBox { border-radius: 0; padding: 0 4px; }
QHeaderView::section {
    background: #17191d; color: #8a9098; border: none; border-bottom: 1px solid #26292e;
    border-right: 1px solid #22262c; padding: 3px 6px; font-weight: bold;
}
QTableCornerButton::section { background: #17191d; border: none; }
QHeaderView { background: #0e1013; border: none; }
QScrollBar:vertical { background: #0e1013; width: 10px; margin: 0; }
QScrollBar::handle:vertical { background: #31353d; border-radius: 4px; min-height: 24px; }
QScrollBar::handle:vertical:hover { background: #ff8200; }
QScrollBar::add-line, QScrollBar::sub-line { height: 0; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
QCheckBox { color: #dfe3e8; }
QCheckBox::indicator {
    width: 16px; height: 16px; border: 1px solid #31353d; border-radius: 4px; background: #16181b;
}
QCheckBox::indicator:hover { border-color: #ff8200; }
QCheckBox::indicator:checked { background: #ff8200; border-color: #ffa640; }
QRadioButton { color: #8a9098; spacing: 8px; }
QRadioButton:checked { color: #dfe3e8; }
QRadioButton::indicator {
    width: 14px; height: 14px; border: 2px solid #31353d; border-radius: 9px; background: #16181b;
}
QRadioButton::indicator:hover { border-color: #ff8200; }
QRadioButton::indicator:checked { background: #ff8200; border-color: #ffa640; }
QRadioButton:disabled { color: #555a62; }
QPushButton#apply {
    background: #1f2227; color: #dfe3e8; border: 1px solid #31353d; border-radius: 8px;
}
QPushButton#apply:hover { border-color: #ff8200; background: #2a2e35; color: #ffffff; }
QPushButton#apply:pressed { background: #16181b; color: #ff8200; }
QPushButton#apply:disabled { background: #181a1e; color: #555a62; border-color: #24272c; }
QToolTip { background: #1f2227; color: #dfe3e8; border: 1px solid #31353d; }
)";

}  // namespace keyloom::editors::qt
