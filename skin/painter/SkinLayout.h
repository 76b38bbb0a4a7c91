#pragma once
// The geometry the painter draws from, read from the main skin file: every
// control of [BUTTONINFO], the arrow picture offsets of [BUTTONINFO2] and the
// panels of [ARTWORK] (a section only the painter reads).

#include <QRect>
#include <QString>
#include <optional>
#include <string>

namespace keyloom::painter {

class SkinLayout {
public:
    explicit SkinLayout(std::string skinFile) : skinFile_(std::move(skinFile)) {}

    // Where a control's art goes in the full-window pictures: a control at
    // (x, y) shows the part of each picture that starts at (x - 1, y - 1), so
    // its art is drawn there. Nothing when the key is missing or hides the
    // control (placed at 1,1).
    std::optional<QRect> controlArt(const char* key) const;
    // The cell of Arrow.jpg an arrow picture offset points at.
    std::optional<QRect> arrowCell(const char* key) const;
    // Panels drawn behind the controls, in window coordinates.
    std::optional<QRect> artwork(const char* key) const;

    QSize windowSize() const;

private:
    std::optional<QRect> read(const char* section, const char* key) const;
    std::optional<QRect> readOffset(const char* section, const char* key) const;

    std::string skinFile_;
};

}  // namespace keyloom::painter
