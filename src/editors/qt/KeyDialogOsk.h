#pragma once
// The key assignment dialog's on-screen keyboard: the first of the desktop's
// usual on-screen keyboards found on PATH.

#include <QString>
#include <QStringList>

namespace keyloom::editors::qt {

inline const QStringList kOnScreenKeyboards{QStringLiteral("onboard"), QStringLiteral("florence"),
                                            QStringLiteral("matchbox-keyboard")};

// The full path of the first program of `candidates` found on `searchPath`
// (a PATH-like list; empty: the process's PATH); empty when none is there.
QString findOnScreenKeyboard(const QStringList& candidates = kOnScreenKeyboards,
                             const QStringList& searchPath = {});

// Starts it detached; false when none is installed or it could not start.
bool startOnScreenKeyboard();

}  // namespace keyloom::editors::qt
