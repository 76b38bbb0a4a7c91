#pragma once
// Small line icons drawn with the painter, so they stay sharp at any size.

#include <QColor>
#include <QPainter>
#include <QRectF>

namespace keyloom::painter {

enum class Glyph {
    Help,
    Menu,
    Minimize,
    Close,
    Globe,
    Community,
    Gallery,
    Record,
    Profiles,
    Reset,
    ChevronLeft,
    ChevronRight,
    ChevronUp,
    ChevronDown,
    ArrowUp,
    ArrowDown,
};

// Draws the glyph centred in `box` with strokes of the given colour.
void drawGlyph(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour);

// The Keyloom mark: a keycap with woven threads, filled with `accent`.
void drawLogoMark(QPainter& painter, const QRectF& box, const QColor& accent, const QColor& thread);

}  // namespace keyloom::painter
