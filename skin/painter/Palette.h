#pragma once
// Colours of the default skin: a dark body with one orange accent, the same
// orange the skinned buttons use for their hover text.

#include <QColor>

namespace keyloom::painter::palette {

inline const QColor kWindow{0x12, 0x14, 0x17};
inline const QColor kTitleBar{0x0c, 0x0e, 0x11};
inline const QColor kBottomBar{0x0e, 0x10, 0x13};
inline const QColor kDivider{0x22, 0x26, 0x2c};
inline const QColor kWindowBorder{0x2c, 0x30, 0x37};

inline const QColor kBody{0x1a, 0x1d, 0x22};
inline const QColor kBodyBorder{0x2b, 0x2f, 0x36};
inline const QColor kPanel{0x17, 0x19, 0x1d};
inline const QColor kPanelBorder{0x26, 0x2a, 0x30};

inline const QColor kAccent{255, 130, 0};
inline const QColor kAccentLight{255, 166, 64};
inline const QColor kAccentDark{0x9c, 0x50, 0x00};
inline const QColor kAccentShade{0x3a, 0x27, 0x12};

inline const QColor kText{0xdf, 0xe3, 0xe8};
inline const QColor kTextBright{0xff, 0xff, 0xff};
inline const QColor kTextMuted{0x8a, 0x90, 0x98};
inline const QColor kTextFaint{0x55, 0x5a, 0x62};
inline const QColor kTextOnAccent{0x16, 0x18, 0x1b};

inline const QColor kCapSkirt{0x1f, 0x22, 0x27};
inline const QColor kCapTop{0x36, 0x3b, 0x43};
inline const QColor kCapBottom{0x2c, 0x30, 0x37};
inline const QColor kCapHoverTop{0x42, 0x48, 0x51};
inline const QColor kCapHoverBottom{0x36, 0x3b, 0x43};
inline const QColor kCapPressed{0x22, 0x25, 0x2a};

inline const QColor kControl{0x1f, 0x22, 0x27};
inline const QColor kControlBorder{0x31, 0x35, 0x3d};
inline const QColor kControlHover{0x2a, 0x2e, 0x35};
inline const QColor kControlPressed{0x16, 0x18, 0x1b};
inline const QColor kControlDisabled{0x18, 0x1a, 0x1e};

inline const QColor kDanger{0xd9, 0x34, 0x2b};
inline const QColor kDangerDark{0x9e, 0x22, 0x1c};

}  // namespace keyloom::painter::palette

namespace keyloom::painter {

// Corner radius of the window; the mask cuts the corners outside it.
inline constexpr int kWindowRadius = 12;

}  // namespace keyloom::painter
