#include "shell/MainWindowTexts.h"

#include <QGuiApplication>

#include "controls/QtText.h"
#include "controls/TextFit.h"
#include "shell/MainControls.h"
#include "storage/Language.h"
#include "storage/SkinGeometry.h"

namespace keyloom::shell {

namespace {

struct ButtonText {
    int id;
    const char* key;
};

constexpr ButtonText kButtonTexts[] = {
    {control::kOk, "KEYLOOM_OK"},
    {control::kCancel, "KEYLOOM_CANCEL"},
    {control::kApply, "KEYLOOM_APPLY"},
    {control::kMacro, "KEYLOOM_MAIN_MACROS"},
    {control::kDefault, "KEYLOOM_MAIN_RESET_KEYS"},
    {control::kFlip0, "KEYLOOM_MAIN_TOP_ROW"},
};

struct Caption {
    const char* artworkKey;
    const char* textKey;
    Qt::Alignment alignment;
    int pixels;
    QColor colour;
};

const Caption kCaptions[] = {
    {"PROFILE_LABEL", "KEYLOOM_CAPTION_PROFILE", Qt::AlignLeft | Qt::AlignVCenter, 10,
     QColor(0x8a, 0x90, 0x98)},
    {"REPORT_LABEL", "KEYLOOM_CAPTION_RATE", Qt::AlignRight | Qt::AlignVCenter, 10,
     QColor(0x8a, 0x90, 0x98)},
    {"GCOLUMN_LABEL", "KEYLOOM_CAPTION_G_KEYS", Qt::AlignCenter, 9, QColor(0x55, 0x5a, 0x62)},
};

QFont captionFont(int pixels) {
    QFont font = QGuiApplication::font();
    font.setPixelSize(pixels);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    return font;
}

}  // namespace

MainWindowTexts::MainWindowTexts(QWidget& window, const std::string& skinFile, ButtonOf button)
    : button_(std::move(button)) {
    QFont dialogFont = QGuiApplication::font();
    dialogFont.setPixelSize(14);
    QFont toolFont = dialogFont;
    toolFont.setPixelSize(13);
    controls::SkinTextColours plain;
    plain.normal = QColor(0xdf, 0xe3, 0xe8);
    plain.hover = QColor(0xff, 0xff, 0xff);
    plain.pressed = QColor(0xff, 0x82, 0x00);
    plain.disabled = QColor(0x55, 0x5a, 0x62);
    plain.selected = QColor(0x16, 0x18, 0x1b);
    for (int id : {control::kCancel, control::kApply, control::kMacro, control::kDefault})
        if (controls::CSkinButton* b = button_(id)) {
            b->setFont(id == control::kCancel || id == control::kApply ? dialogFont : toolFont);
            b->setTextColours(plain);
        }
    // The tool buttons' icon sits at their left edge: the text goes beside it.
    for (int id : {control::kMacro, control::kDefault})
        if (controls::CSkinButton* b = button_(id))
            b->setContentsMargins(30, 0, 4, 0);
    if (controls::CSkinButton* ok = button_(control::kOk)) {
        QFont bold = dialogFont;
        bold.setBold(true);
        ok->setFont(bold);
        controls::SkinTextColours onAccent = plain;
        onAccent.normal = onAccent.hover = QColor(0x16, 0x18, 0x1b);
        ok->setTextColours(onAccent);
    }
    if (controls::CSkinButton* flip = button_(control::kFlip0)) {
        flip->setFont(captionFont(10));
        controls::SkinTextColours label = plain;
        label.normal = QColor(0x8a, 0x90, 0x98);
        label.selected = QColor(0xff, 0xa6, 0x40);
        flip->setTextColours(label);
    }
    for (const Caption& c : kCaptions) {
        const SkinGeometry place = readSkinGeometry(skinFile, "ARTWORK", c.artworkKey);
        auto label = std::make_unique<QLabel>(&window);
        label->setObjectName(QString::fromLatin1(c.artworkKey));
        label->setGeometry(place.x, place.y, place.w, place.h);
        label->setAlignment(c.alignment);
        label->setTextFormat(Qt::PlainText);
        label->setFont(captionFont(c.pixels));
        label->setStyleSheet(
            QStringLiteral("QLabel { background: transparent; color: %1; }").arg(c.colour.name()));
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->lower();
        captions_.push_back(std::move(label));
    }
}

void MainWindowTexts::show(int languageIndex) {
    for (const ButtonText& t : kButtonTexts)
        if (controls::CSkinButton* b = button_(t.id))
            b->setText(qs(lookupText(t.key, languageIndex)));
    for (std::size_t i = 0; i < captions_.size(); ++i) {
        QLabel& label = *captions_[i];
        const QString text = qs(lookupText(kCaptions[i].textKey, languageIndex));
        label.setText(text);
        controls::fitFont(label, text, label.contentsRect().width());
    }
}

}  // namespace keyloom::shell
