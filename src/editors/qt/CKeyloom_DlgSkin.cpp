#include "editors/qt/CKeyloom_DlgSkin.h"

#include <QGuiApplication>
#include <QLabel>

#include "controls/SkinReaders.h"
#include "platform/text/SafeFormat.h"
#include "storage/Language.h"

namespace keyloom::editors::qt {

namespace {

QFont pixelFont(int pixels, bool bold) {
    QFont font = QGuiApplication::font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

}  // namespace

QString textOr(std::string_view key, std::string_view fallback) {
    const std::string text = lookupText(key);
    return QString::fromStdString(text == kMissingText ? std::string(fallback) : text);
}

void tell(window::Prompter& prompts, std::string_view key, std::string text,
          window::MessageIcon icon, bool owned) {
    window::MessageRequest request;
    request.ownedByWindow = owned;
    request.key = std::string(key);
    request.text = std::move(text);
    request.icon = icon;
    prompts.showMessage(request);
}

bool dressButtons(controls::CBaseDialog& dialog, const std::string& skinFolder,
                  const controls::SkinFaceFiles& faces, window::Prompter* prompts) {
    std::string missing;
    if (dialog.skinButtons().dressAllFrom(skinFolder, faces, missing))
        return true;
    if (prompts) {
        const QString format = textOr("KEYLOOM_SKIN_PICTURE_MISSING",
                                      "A picture of the skin is missing: %s. Reinstall Keyloom.");
        tell(*prompts, "KEYLOOM_SKIN_PICTURE_MISSING",
             text::formatString(format.toStdString(), missing), window::MessageIcon::Warning);
    }
    return false;
}

std::unique_ptr<QLabel> makeCaption(controls::CBaseDialog& dialog, const std::string& skinFile,
                                    const std::string& skinFolder) {
    auto caption = std::make_unique<QLabel>(&dialog);
    caption->setTextFormat(Qt::PlainText);
    caption->setFont(pixelFont(15, true));
    QPalette colours = caption->palette();
    colours.setColor(QPalette::WindowText, QColor(0xff, 0xff, 0xff));
    caption->setPalette(colours);
    controls::placeControl(*caption, skinFile, "BUTTONINFO", "CONTROL_CAPTION");
    dialog.useProgramIcon(skinFolder);
    return caption;
}

void styleButton(controls::CSkinButton& button, bool primary) {
    button.setFont(pixelFont(primary ? 14 : 13, primary));
    controls::SkinTextColours colours;
    if (primary) {
        colours.normal = QColor(0x16, 0x18, 0x1b);
        colours.hover = QColor(0x16, 0x18, 0x1b);
        colours.pressed = QColor(255, 130, 0);
        colours.selected = colours.normal;
    } else {
        colours.normal = textColour();
        colours.hover = QColor(0xff, 0xff, 0xff);
        colours.pressed = QColor(255, 130, 0);
        colours.selected = colours.normal;
    }
    colours.disabled = QColor(0x55, 0x5a, 0x62);
    button.setTextColours(colours);
    button.setFocusPolicy(Qt::NoFocus);
}

QColor textColour() {
    return {0xdf, 0xe3, 0xe8};
}

QColor mutedTextColour() {
    return {0x8a, 0x90, 0x98};
}

}  // namespace keyloom::editors::qt
