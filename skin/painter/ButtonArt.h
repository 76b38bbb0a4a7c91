#pragma once
// The window's buttons and indicators in each of their looks. Every function
// draws inside `art` and leaves its outermost pixel row and column to the
// background, so the art lines up with the window behind the control.

#include <QPainter>
#include <QRect>
#include <QString>
#include <optional>

#include "Glyphs.h"
#include "Looks.h"

namespace keyloom::painter {

// Help, menu, minimise and close in the title bar.
void drawTitleButton(QPainter& painter, const QRect& art, Glyph glyph, Look look, bool danger);
// The Keyloom mark and name, a link to the web site.
void drawLogoLink(QPainter& painter, const QRect& art, Look look);
// A round icon button (the web links in the bottom bar).
void drawRoundLink(QPainter& painter, const QRect& art, Glyph glyph, Look look);
// One segment of a row of choices (profiles, report rates).
void drawSegment(QPainter& painter, const QRect& art, const QString& text, Look look);
// A tool bar button with optional icons before and after an optional text.
void drawToolButton(QPainter& painter, const QRect& art, std::optional<Glyph> leading,
                    const QString& text, std::optional<Glyph> trailing, Look look);
// OK, Cancel and Apply; the primary one is filled with the accent.
void drawDialogButton(QPainter& painter, const QRect& art, const QString& text, bool primary,
                      Look look);
// A lock indicator: a lamp over its name. Its hover look is the lit lamp.
void drawLockLamp(QPainter& painter, const QRect& art, const QString& label, Look look);
// The top-row indicator and the two buttons beside it.
void drawFlipLabel(QPainter& painter, const QRect& art, const QString& text, Look look);
void drawFlipButton(QPainter& painter, const QRect& art, Glyph glyph, Look look);

}  // namespace keyloom::painter
