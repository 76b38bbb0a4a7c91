#pragma once
// One-line texts that must show whole in a control of fixed size (the skin
// places every control): rather than cut a long translation, the font is
// made smaller, step by step, down to a size that is still legible.

#include <QFont>
#include <QString>

class QWidget;

namespace keyloom::controls {

// Below this a text is no longer legible; it is shown at this size even when
// it still does not fit (the language tests catch that).
inline constexpr int kSmallestTextPixels = 8;

// `font`, or a smaller size of it, in which `text` takes at most `width`
// pixels.
QFont fontToFit(const QFont& font, const QString& text, int width);

// Gives `widget` the font in which `text` fits `width` pixels, starting each
// time from the font it had when first fitted, so that a shorter text (a
// change of language) gets the full size back.
void fitFont(QWidget& widget, const QString& text, int width);

}  // namespace keyloom::controls
