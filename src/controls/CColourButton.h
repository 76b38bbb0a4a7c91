#pragma once
// A skinned button that shows a colour swatch and lets the user pick a new
// colour. Its background comes from the skin like any CSkinButton; the swatch
// is drawn on top, framed in the colour of the button's state.

#include <QColor>
#include <optional>

#include "controls/CSkinButton.h"
#include "controls/ColourChoice.h"

namespace keyloom::controls {

class CColourButton : public CSkinButton {
    Q_OBJECT

public:
    explicit CColourButton(QWidget* parent = nullptr);

    // The colour shown: the chosen one, or the automatic one.
    Rgb colour() const { return choice_.colour(); }
    void setColour(Rgb colour);
    void setAutomaticColour(Rgb colour);
    const ColourChoice& choice() const { return choice_; }

    // Title of the colour dialog.
    void setDialogTitle(const QString& title) { dialogTitle_ = title; }
    const QString& dialogTitle() const { return dialogTitle_; }

signals:
    // The user picked a colour (also when it equals the previous one, as a
    // picker confirms its choice).
    void colourChosen(keyloom::controls::Rgb colour);

protected:
    // Asks the user for a colour; nothing when cancelled.
    virtual std::optional<QColor> askForColour(const QColor& initial);
    void paintEvent(QPaintEvent* event) override;

private:
    void pick();

    ColourChoice choice_;
    QString dialogTitle_;
};

}  // namespace keyloom::controls
