#pragma once
// Flat, vector-drawn icons in the dark skin's colours for what the toolkit
// draws itself (message boxes, file dialogs), in place of its glossy
// built-in pictures. Drawn at the size asked, so they stay sharp at any
// scale.

#include <QIcon>
#include <QStyle>
#include <optional>

namespace keyloom::shell {

// The icon drawn for `which`, or nothing when the style's own is kept.
std::optional<QIcon> flatIcon(QStyle::StandardPixmap which);

}  // namespace keyloom::shell
