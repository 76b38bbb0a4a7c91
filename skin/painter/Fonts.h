#pragma once
// The painter draws every text in DejaVu Sans loaded from the given folder,
// so that every machine draws the same pictures whatever fonts it has.

#include <QFont>
#include <QString>

namespace keyloom::painter {

// Loads DejaVuSans.ttf and DejaVuSans-Bold.ttf; false when either is missing.
bool loadFonts(const QString& fontFolder);

// The loaded family at a pixel size (independent of the screen's resolution).
QFont skinFont(int pixelSize, bool bold = false);

}  // namespace keyloom::painter
