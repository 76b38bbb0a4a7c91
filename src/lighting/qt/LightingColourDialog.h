#pragma once
// The colour dialog of the lighting panel's pickers, in the skin's dark look,
// and the colour button that asks through a replaceable chooser (tests answer
// instead of opening a modal dialog).

#include <QColor>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "controls/CColourButton.h"

class QColorDialog;

namespace keyloom::lighting::qt {

// Asks for a colour; nothing when the user cancels.
using ColourChooser = std::function<std::optional<QColor>(QWidget* parent, const QColor& initial,
                                                          const QString& title)>;

// The dialog, not yet shown (the Qt one, never the desktop's, so that it
// wears the skin's colours).
std::unique_ptr<QColorDialog> makeLightingColourDialog(QWidget* parent, const QColor& initial,
                                                       const QString& title);
// Runs that dialog modally.
std::optional<QColor> askWithLightingColourDialog(QWidget* parent, const QColor& initial,
                                                  const QString& title);

class LightingColourButton final : public controls::CColourButton {
    Q_OBJECT

public:
    // `chooser` is held by the caller and must outlive the button; empty
    // means the dialog above.
    LightingColourButton(const ColourChooser& chooser, QWidget* parent);

protected:
    std::optional<QColor> askForColour(const QColor& initial) override;

private:
    const ColourChooser& chooser_;
};

}  // namespace keyloom::lighting::qt
