#pragma once
// The lighting panel's widgets in the colours of the default skin: the dark
// body, the muted label text and the orange accent of the skinned buttons.

#include <QColor>
#include <QFont>
#include <QString>

namespace keyloom::lighting::qt {

inline const QColor kLabelText{0x8a, 0x90, 0x98};
inline const QColor kAccent{255, 130, 0};

// Labels: small bold capitals, as the skin's own labels are drawn. The size
// is the font's (not the style sheet's), so that a long text can shrink.
QString labelStyle();
QFont labelFont();
// Short notes in the panel: plain text in the label colour.
QFont noteFont();
// The effect list and the hidden user-mode list.
QString comboStyle();
// The red, green and blue number boxes.
QString numberBoxStyle();
// The colour dialog and everything in it.
QString colourDialogStyle();

}  // namespace keyloom::lighting::qt
