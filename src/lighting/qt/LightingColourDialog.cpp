#include "lighting/qt/LightingColourDialog.h"

#include <QColorDialog>

#include "lighting/qt/LightingStyle.h"

namespace keyloom::lighting::qt {

std::unique_ptr<QColorDialog> makeLightingColourDialog(QWidget* parent, const QColor& initial,
                                                       const QString& title) {
    auto dialog = std::make_unique<QColorDialog>(initial, parent);
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    dialog->setWindowTitle(title);
    dialog->setStyleSheet(colourDialogStyle());
    return dialog;
}

std::optional<QColor> askWithLightingColourDialog(QWidget* parent, const QColor& initial,
                                                  const QString& title) {
    auto dialog = makeLightingColourDialog(parent, initial, title);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    const QColor picked = dialog->currentColor();
    if (!picked.isValid())
        return std::nullopt;
    return picked;
}

LightingColourButton::LightingColourButton(const ColourChooser& chooser, QWidget* parent)
    : CColourButton(parent), chooser_(chooser) {
    setCursor(Qt::PointingHandCursor);
}

std::optional<QColor> LightingColourButton::askForColour(const QColor& initial) {
    const QString title = dialogTitle();
    if (chooser_)
        return chooser_(window(), initial, title);
    return askWithLightingColourDialog(window(), initial, title);
}

}  // namespace keyloom::lighting::qt
