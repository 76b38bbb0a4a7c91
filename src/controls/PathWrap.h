#pragma once
// Long file paths in wrapped text (message boxes): the line breaker would
// split "/home/..." right after its first slash and then carry the whole
// rest over. Paths are given break points before each inner slash and none
// after a slash, so that a path that does not fit breaks between folder
// names, "/home/user/.local" + "/share/...".

#include <QString>

namespace keyloom::controls {

// `text` with the break hints added inside every path (a word that starts
// with "/" or "~/"). Nothing visible changes.
QString withPathBreaks(const QString& text);

// `text` without the hints, as the user would copy it.
QString withoutPathBreaks(const QString& text);

}  // namespace keyloom::controls
