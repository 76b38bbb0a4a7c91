#include "lighting/qt/LightingPanel.h"

#include <QComboBox>
#include <QEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolTip>
#include <optional>

#include "controls/QtText.h"
#include "controls/SkinReaders.h"
#include "controls/TextFit.h"
#include "core/UserFileNotice.h"
#include "lighting/ColourIndexTable.h"
#include "lighting/LightingOps.h"
#include "lighting/qt/DarkComboBox.h"
#include "lighting/qt/LightingStyle.h"
#include "model/KeyViewKeys.h"
#include "platform/text/SafeFormat.h"
#include "storage/Language.h"

namespace keyloom::lighting::qt {
namespace {

using C = LightingControl;

constexpr int kViewOnId = 1167;
constexpr int kViewOffId = 1222;
constexpr int kSliderFaceCount = 26;
constexpr int kFirstSwatchId = 1211;
constexpr int kFirstChoiceId = 1194;
constexpr int kRgbFirstId = 1208;
constexpr int kToolSingleId = 1164;
constexpr int kToolBaseId = 1165;
constexpr int kColourId = 1155;
constexpr int kReactionColourId = 1152;
constexpr int kSingleColourId = 1160;
constexpr int kBaseColourId = 1162;

// Controls of the skin that this keyboard does not use: created, never shown.
constexpr const char* kHiddenLabels[] = {
    "CONTROL_FYSJSStatic", "CONTROL_FYCFStatic", "CONTROL_FYdjcfStatic",
    "CONTROL_FYggcfStatc", "CONTROL_JTysStatic", "CONTROL_TSysStatic",
    "CONTROL_TSsjsStatic", "CONTROL_CDysStatic", "CONTROL_CDsjsStatic"};
constexpr const char* kHiddenPictures[] = {"CONTROL_FYSJSStaPic", "CONTROL_FYdjcfStaPic",
                                           "CONTROL_FYggcfStaPic", "CONTROL_TSsjsStaPic",
                                           "CONTROL_CDsjsStaPic"};
constexpr const char* kHiddenPickers[] = {"CONTROL_JTysButton", "CONTROL_TSysButton",
                                          "CONTROL_CDysButton"};

// Released and pressed pictures of the two direction pictures for each set.
struct DirectionPictures {
    const char* left;
    const char* leftDown;
    const char* right;
    const char* rightDown;
};
DirectionPictures directionPictures(DirectionImageSet set) {
    switch (set) {
        case DirectionImageSet::Rings:
            return {"julong.bmp", "julongdown.bmp", "kuosan.bmp", "kuosandown.bmp"};
        case DirectionImageSet::Bands:
            return {"upup.bmp", "updown.bmp", "downup.bmp", "downdown.bmp"};
        case DirectionImageSet::Other:
            break;
    }
    return {"leftup.bmp", "leftdown.bmp", "rightup.bmp", "rightdown.bmp"};
}

Rgb fromTint(controls::Rgb colour) {
    return {static_cast<std::uint8_t>((colour >> 16) & 0xFF),
            static_cast<std::uint8_t>((colour >> 8) & 0xFF),
            static_cast<std::uint8_t>(colour & 0xFF)};
}

bool isGButton(int controlId) {
    for (int id : kGButtonControls)
        if (id == controlId)
            return true;
    return false;
}

}  // namespace

LightingPanel::LightingPanel(LightingPanelSetup setup)
    : setup_(std::move(setup)), lighting_(setup_.core->lighting()), keyView_(setup_.keyButton) {
    // Only the switch shows while the lighting view is off: the rest of the
    // panel is built when the view first turns on.
    buildSwitch();
    setTexts();
    lightingChanged();
    setup_.window->installEventFilter(this);
    for (const ColourKey& key : colourKeys())
        if (controls::CSkinButton* b = setup_.keyButton(key.controlId)) {
            // A key face is drawn whole from its picture: the window's
            // background is not painted beneath it first, which halves the
            // cost of a preview frame.
            b->setAttribute(Qt::WA_OpaquePaintEvent);
            b->installEventFilter(this);
            keyIds_[b] = key.controlId;
        }
}

LightingPanel::~LightingPanel() {
    if (setup_.previewTimer)
        setup_.previewTimer->stop();
    for (const QPointer<QWidget>& w : owned_)
        delete w.data();
}

// --- Building ----------------------------------------------------------------

QLabel* LightingPanel::makeLabel(const char* skinKey) {
    auto* label = new QLabel(setup_.window);
    owned_.emplace_back(label);
    controls::placeControl(*label, setup_.skinFile, "BUTTONINFO", skinKey);
    label->setStyleSheet(labelStyle());
    label->setFont(labelFont());
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    labels_[skinKey] = label;
    return label;
}

PictureToggle* LightingPanel::makePicture(int controlId, const char* skinKey) {
    auto* picture = new PictureToggle(setup_.window);
    owned_.emplace_back(picture);
    controls::placeControl(*picture, setup_.skinFile, "BUTTONINFO", skinKey);
    if (controlId != 0) {
        byId_[controlId] = picture;
        connect(picture, &QAbstractButton::clicked, this,
                [this, controlId] { clicked(controlId); });
    }
    return picture;
}

LightingColourButton* LightingPanel::makePicker(int controlId, const char* skinKey) {
    auto* picker = new LightingColourButton(setup_.chooseColour, setup_.window);
    owned_.emplace_back(picker);
    controls::readSkinControl(*picker, setup_.skinFile, "BUTTONINFO", skinKey, {});
    if (controlId != 0) {
        byId_[controlId] = picker;
        connect(picker, &controls::CColourButton::colourChosen, this,
                [this, controlId](controls::Rgb colour) { colourChosen(controlId, colour); });
    }
    return picker;
}

void LightingPanel::buildSwitch() {
    viewLabel_ = makeLabel("CONTROL_DengStatic");
    note_ = new QLabel(setup_.window);
    owned_.emplace_back(note_);
    note_->setStyleSheet(labelStyle());
    note_->setFont(noteFont());
    note_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    viewOn_ = makePicture(kViewOnId, "CONTROL_DengStaPic");
    viewOff_ = makePicture(kViewOffId, "CONTROL_DengDisable");
    viewOn_->setPictures(picture("LED_enabled_off.bmp"), picture("LED_enabled_on.bmp"),
                         picture("LED_enabled_mouseOver.bmp"));
    viewOff_->setPictures(picture("LED_disabled_off.bmp"), picture("LED_disabled_on.bmp"),
                          picture("LED_disabled_mouseOver.bmp"));
}

void LightingPanel::ensureControls() {
    if (controlsBuilt_)
        return;
    buildControls();
    loadPictures();
    controlsBuilt_ = true;
    setTexts();
    showListsAndBoxes();
}

void LightingPanel::buildControls() {
    auto add = [this](C control, QWidget* widget) {
        groups_[static_cast<std::size_t>(control)].push_back(widget);
    };

    effectList_ = new DarkComboBox(setup_.window);
    owned_.emplace_back(effectList_);
    controls::placeControl(*effectList_, setup_.skinFile, "BUTTONINFO", "CONTROL_XGcombox");
    effectList_->setProperty("controlId", 1146);
    byId_[1146] = effectList_;
    connect(effectList_, &QComboBox::activated, this, [this](int index) { effectChosen(index); });
    add(C::EffectList, effectList_);

    add(C::BrightnessLabel, makeLabel("CONTROL_LightStatic"));
    brightness_ = new controls::CSkinSlider(setup_.window);
    owned_.emplace_back(brightness_);
    controls::placeControl(*brightness_, setup_.skinFile, "BUTTONINFO", "CONTROL_LightSlider");
    brightness_->setRange(0, kBrightnessMax);
    byId_[1178] = brightness_;
    add(C::BrightnessSlider, brightness_);

    add(C::SpeedLabel, makeLabel("CONTROL_SpeedStatic"));
    speed_ = new controls::CSkinSlider(setup_.window);
    owned_.emplace_back(speed_);
    controls::placeControl(*speed_, setup_.skinFile, "BUTTONINFO", "CONTROL_SpeedSlider");
    speed_->setRange(0, kSpeedMax);
    byId_[1179] = speed_;
    add(C::SpeedSlider, speed_);
    for (controls::CSkinSlider* slider : {brightness_, speed_}) {
        const int id = slider == brightness_ ? 1178 : 1179;
        connect(slider, &controls::CSkinSlider::positionChangedByUser, this,
                [this, id](int position) {
                    lighting_->sliderMoved(id, position);
                    refresh();
                });
    }

    add(C::DirectionLabel, makeLabel("CONTROL_BLFXStatic"));
    left_ = makePicture(1149, "CONTROL_BLFXLStaPic");
    right_ = makePicture(1150, "CONTROL_BLFXRStaPic");
    add(C::DirectionLeft, left_);
    add(C::DirectionRight, right_);

    add(C::ColourLabel, makeLabel("CONTROL_HXysStatic"));
    colour_ = makePicker(kColourId, "CONTROL_HXysButton");
    add(C::ColourPicker, colour_);
    add(C::MulticolourLabel, makeLabel("CONTROL_COLORFULStatic"));
    multicolour_ = makePicture(1156, "CONTROL_HXsjsStaPic");
    add(C::MulticolourToggle, multicolour_);
    add(C::ReactionColourLabel, makeLabel("CONTROL_FYYSStatic"));
    reactionColour_ = makePicker(kReactionColourId, "CONTROL_FYYSButton");
    add(C::ReactionColourPicker, reactionColour_);

    add(C::RgbLabel, makeLabel("CONTROL_RGBStatic"));
    const char* const rgbKeys[] = {"COLOR_R", "COLOR_G", "COLOR_B"};
    for (std::size_t i = 0; i < rgb_.size(); ++i) {
        auto* box = new QLineEdit(setup_.window);
        owned_.emplace_back(box);
        controls::placeControl(*box, setup_.skinFile, "BUTTONINFO", rgbKeys[i]);
        box->setStyleSheet(numberBoxStyle());
        box->setAlignment(Qt::AlignCenter);
        box->setMaxLength(4);
        // Digits only; what they make is checked when the box is committed.
        box->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
        // Return commits the box instead of being kept from the window.
        box->setProperty(kTakesReturnProperty, true);
        byId_[kRgbFirstId + static_cast<int>(i)] = box;
        connect(box, &QLineEdit::textEdited, this, [this, i] { rgbEdited(i); });
        connect(box, &QLineEdit::editingFinished, this, [this, i] { rgbCommitted(i); });
        rgb_[i] = box;
        add(C::RgbBoxes, box);
    }
    for (int i = 0; i < static_cast<int>(kPresetCount); ++i) {
        const std::string key = "CONTROL_Color" + std::to_string(i + 1);
        add(C::PresetSwatches, makePicture(kFirstSwatchId + i, key.c_str()));
    }
    const char* const choiceKeys[] = {"CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC",
                                      "CONTROL_LANPIC"};
    for (std::size_t k = 0; k < choices_.size(); ++k) {
        choices_[k] = makePicture(kFirstChoiceId + static_cast<int>(k), choiceKeys[k]);
        add(C::Effect17Choices, choices_[k]);
    }

    add(C::SingleColourLabel, makeLabel("CONTROL_USERysStatic"));
    singleColour_ = makePicker(kSingleColourId, "CONTROL_USERysButton");
    add(C::SingleColourPicker, singleColour_);
    add(C::BaseColourLabel, makeLabel("CONTROL_USERjsStatic"));
    baseColour_ = makePicker(kBaseColourId, "CONTROL_USERjsButton");
    add(C::BaseColourPicker, baseColour_);
    add(C::ToolLabel, makeLabel("CONTROL_USERgjStatic"));
    tools_[0] = makePicture(kToolSingleId, "CONTROL_USERgjStaPic1");
    tools_[1] = makePicture(kToolBaseId, "CONTROL_USERgjStaPic2");
    add(C::ToolPictures, tools_[0]);
    add(C::ToolPictures, tools_[1]);

    userModes_ = new DarkComboBox(setup_.window);
    owned_.emplace_back(userModes_);
    controls::placeControl(*userModes_, setup_.skinFile, "BUTTONINFO", "CONTROL_umCombo");
    alwaysHidden_.push_back(userModes_);
    for (const char* key : kHiddenLabels)
        alwaysHidden_.push_back(makeLabel(key));
    for (const char* key : kHiddenPictures)
        alwaysHidden_.push_back(makePicture(0, key));
    for (const char* key : kHiddenPickers)
        alwaysHidden_.push_back(makePicker(0, key));
    for (QWidget* w : alwaysHidden_)
        w->hide();
}

QPixmap LightingPanel::picture(const char* file) const {
    // A picture that cannot be loaded is simply absent.
    return QPixmap(QString::fromStdString(setup_.skinFolder + file));
}

void LightingPanel::loadPictures() {
    multicolour_->setPictures(picture("sjsup.bmp"), picture("sjsdown.bmp"));
    const char* const choiceFiles[][2] = {{"hong.bmp", "hongok.bmp"},
                                          {"huang.bmp", "huangok.bmp"},
                                          {"lv.bmp", "lvok.bmp"},
                                          {"lan.bmp", "lanok.bmp"}};
    for (std::size_t k = 0; k < choices_.size(); ++k)
        choices_[k]->setPictures(picture(choiceFiles[k][0]), picture(choiceFiles[k][1]));
    tools_[0]->setPictures(picture("user1up.bmp"), picture("user1down.bmp"));
    tools_[1]->setPictures(picture("user2up.bmp"), picture("user2down.bmp"));
    for (int i = 0; i < static_cast<int>(kPresetCount); ++i) {
        const std::string file = "Color" + std::to_string(i + 1) + ".bmp";
        static_cast<PictureToggle*>(byId_[kFirstSwatchId + i])
            ->setPictures(picture(file.c_str()), QPixmap());
    }
    std::vector<QPixmap> faces;
    for (int i = 0; i < kSliderFaceCount; ++i) {
        const std::string file = std::to_string(i) + ".bmp";
        QPixmap face = picture(file.c_str());
        if (!face.isNull())
            faces.push_back(std::move(face));
    }
    brightness_->setFacePictures(faces);
    speed_->setFacePictures(std::move(faces));
}

void LightingPanel::setTexts() {
    const auto text = [this](const char* skinKey, const std::string& value) {
        if (auto it = labels_.find(skinKey); it != labels_.end()) {
            QLabel& label = *it->second;
            label.setText(qs(value).toUpper());
            controls::fitFont(label, label.text(), label.contentsRect().width());
        }
    };
    text("CONTROL_DengStatic", lookupText("KEYLOOM_LIGHT_VIEW"));
    text("CONTROL_LightStatic", lookupText("KEYLOOM_LIGHT_BRIGHTNESS"));
    text("CONTROL_SpeedStatic", lookupText("KEYLOOM_LIGHT_SPEED"));
    text("CONTROL_BLFXStatic", lookupText("KEYLOOM_LIGHT_DIRECTION"));
    text("CONTROL_COLORFULStatic", lookupText("KEYLOOM_LIGHT_MULTICOLOUR"));
    text("CONTROL_HXysStatic", lookupText("KEYLOOM_LIGHT_COLOUR"));
    text("CONTROL_FYYSStatic", lookupText("KEYLOOM_LIGHT_COLOUR"));
    text("CONTROL_RGBStatic", "RGB");
    text("CONTROL_USERysStatic", lookupLight("Color"));
    text("CONTROL_USERjsStatic", lookupLight("JColor"));
    text("CONTROL_USERgjStatic", lookupLight("Tool"));
    if (controlsBuilt_) {
        const QString dialogTitle = qs(lookupText("KEYLOOM_LIGHT_COLOUR_DIALOG"));
        for (LightingColourButton* picker : {colour_, reactionColour_, singleColour_, baseColour_})
            picker->setDialogTitle(dialogTitle);
        tools_[0]->setToolTip(qs(lookupText("KEYLOOM_LIGHT_TOOL_SINGLE")));
        tools_[1]->setToolTip(qs(lookupText("KEYLOOM_LIGHT_TOOL_BASE")));
    }
    viewOn_->setToolTip(qs(lookupText("KEYLOOM_LIGHT_VIEW_ON")));
    viewOff_->setToolTip(qs(lookupText("KEYLOOM_LIGHT_VIEW_OFF")));
    viewOn_->setText(qs(lookupText("KEYLOOM_LIGHT_ON")));
    viewOff_->setText(qs(lookupText("KEYLOOM_LIGHT_OFF")));
    nameControls();
}

void LightingPanel::nameControls() {
    const auto name = [](QWidget* widget, const std::string& text) {
        widget->setAccessibleName(qs(text));
    };
    name(viewOn_, lookupText("KEYLOOM_NAME_LIGHT_VIEW_ON"));
    name(viewOff_, lookupText("KEYLOOM_NAME_LIGHT_VIEW_OFF"));
    if (!controlsBuilt_)
        return;
    name(effectList_, lookupText("KEYLOOM_NAME_EFFECT"));
    name(userModes_, lookupText("KEYLOOM_NAME_EFFECT"));
    name(brightness_, lookupText("KEYLOOM_LIGHT_BRIGHTNESS"));
    name(speed_, lookupText("KEYLOOM_LIGHT_SPEED"));
    name(multicolour_, lookupText("KEYLOOM_LIGHT_MULTICOLOUR"));
    name(colour_, lookupText("KEYLOOM_LIGHT_COLOUR"));
    name(reactionColour_, lookupText("KEYLOOM_LIGHT_COLOUR"));
    name(singleColour_, lookupLight("Color"));
    name(baseColour_, lookupLight("JColor"));
    name(tools_[0], lookupText("KEYLOOM_NAME_TOOL_SINGLE"));
    name(tools_[1], lookupText("KEYLOOM_NAME_TOOL_BASE"));
    const char* const channels[] = {"KEYLOOM_NAME_RED", "KEYLOOM_NAME_GREEN", "KEYLOOM_NAME_BLUE"};
    for (std::size_t i = 0; i < rgb_.size(); ++i)
        name(rgb_[i], lookupText(channels[i]));
    const char* const choices[] = {"KEYLOOM_NAME_CHOICE_RED", "KEYLOOM_NAME_CHOICE_YELLOW",
                                   "KEYLOOM_NAME_CHOICE_GREEN", "KEYLOOM_NAME_CHOICE_BLUE"};
    for (std::size_t k = 0; k < choices_.size(); ++k)
        name(choices_[k], lookupText(choices[k]));
    for (int i = 0; i < static_cast<int>(kPresetCount); ++i)
        name(byId_[kFirstSwatchId + i], text::formatInt(lookupText("KEYLOOM_NAME_SWATCH"), i + 1));
    nameDirections();
}

void LightingPanel::nameDirections() {
    // The two direction pictures mean left and right, up and down, or in
    // and out, by effect.
    const DirectionImageSet set = directionImageSet(lighting_.lock()->state().effect);
    const char* first = "KEYLOOM_NAME_DIRECTION_LEFT";
    const char* second = "KEYLOOM_NAME_DIRECTION_RIGHT";
    if (set == DirectionImageSet::Rings) {
        first = "KEYLOOM_NAME_DIRECTION_IN";
        second = "KEYLOOM_NAME_DIRECTION_OUT";
    } else if (set == DirectionImageSet::Bands) {
        first = "KEYLOOM_NAME_DIRECTION_UP";
        second = "KEYLOOM_NAME_DIRECTION_DOWN";
    }
    left_->setAccessibleName(qs(lookupText(first)));
    right_->setAccessibleName(qs(lookupText(second)));
}

void LightingPanel::fillEffectList() {
    if (!controlsBuilt_)
        return;
    auto lit = lighting_.lock();
    effectList_->clear();
    const EffectList& effects = lit->effects();
    for (std::size_t i = 0; i < effects.size(); ++i) {
        const std::uint8_t effect = effects.effectAt(static_cast<int>(i));
        effectList_->addItem(qs(lookupMode(EffectList::nameKey(effect))), effect);
    }
}

// --- Showing the state ---------------------------------------------------------

void LightingPanel::refresh() {
    if (lighting_->lightingView())
        ensureControls();
    if (controlsBuilt_)
        showControls();
    auto lit = lighting_.lock();
    viewOn_->setActive(lit->lightingView());
    viewOff_->setActive(!lit->lightingView());
    showKeyView();
    showNote();
    updatePreviewTimer();
}

void LightingPanel::showControls() {
    auto lit = lighting_.lock();
    const LightingState& state = lit->state();
    effectList_->setCurrentIndex(lit->selectedPosition());
    brightness_->setPosition(state.brightness);
    speed_->setPosition(speedPosition(state));
    const controls::Rgb main = toTint(unpackColour(state.mainColour));
    colour_->setColour(main);
    reactionColour_->setColour(main);
    multicolour_->setActive(state.colourful);
    for (std::size_t k = 0; k < choices_.size(); ++k)
        choices_[k]->setActive(state.colourChoice == k);
    const Brush& brush = lit->perKey().brush();
    singleColour_->setColour(toTint(brush.singleColour));
    baseColour_->setColour(toTint(brush.baseColour));
    tools_[0]->setActive(brush.tool == BrushTool::SingleColour);
    tools_[1]->setActive(brush.tool == BrushTool::BaseColour);
    showDirection();
    showShownControls();
}

void LightingPanel::showNote() {
    // Beside the switch while the panel is empty, below the controls when
    // they show.
    const bool on = lighting_->lightingView();
    controls::placeControl(*note_, setup_.skinFile, "BUTTONINFO",
                           on ? "KEYLOOM_LIGHT_NOTE" : "KEYLOOM_LIGHT_NOTE_OFF");
    const QString text =
        on && noPaintNoted_ ? noPaintText() : qs(lookupText("KEYLOOM_LIGHT_NOTE_VIEW"));
    note_->setText(text);
    controls::fitFont(*note_, text, note_->contentsRect().width());
}

QString LightingPanel::noPaintText() const {
    // Only the per-key colours paint keys; a keyboard without them never
    // does.
    if (lighting_->effects().positionOf(kPerKeyColourEffect) < 0)
        return qs(lookupText("KEYLOOM_LIGHT_NO_PAINT_KEYBOARD"));
    return qs(text::formatString(lookupText("KEYLOOM_LIGHT_NO_PAINT"),
                                 lookupMode(EffectList::nameKey(kPerKeyColourEffect))));
}

void LightingPanel::showDirection() {
    auto lit = lighting_.lock();
    const std::uint8_t effect = lit->state().effect;
    const std::string suffix(directionSkinSuffix(effect));
    const std::string& skin = setup_.skinFile;
    controls::placeControl(*labels_["CONTROL_BLFXStatic"], skin, "BUTTONINFO",
                           "CONTROL_BLFXStatic" + suffix);
    controls::placeControl(*left_, skin, "BUTTONINFO", "CONTROL_BLFXLStaPic" + suffix);
    controls::placeControl(*right_, skin, "BUTTONINFO", "CONTROL_BLFXRStaPic" + suffix);
    const DirectionPictures files = directionPictures(directionImageSet(effect));
    left_->setPictures(picture(files.left), picture(files.leftDown));
    right_->setPictures(picture(files.right), picture(files.rightDown));
    const bool forward = lit->state().direction != 0;
    left_->setActive(forward);
    right_->setActive(!forward);
    nameDirections();
}

void LightingPanel::showShownControls() {
    auto lit = lighting_.lock();
    const ShownControls shown = lit->shownControls();
    for (std::size_t c = 0; c < groups_.size(); ++c)
        for (QWidget* w : groups_[c])
            w->setVisible(shown.test(c));
}

void LightingPanel::showKeyView() {
    auto lit = lighting_.lock();
    if (!lit->lightingView())
        keyView_.clear();
    else if (lit->showsKeyColours())
        keyView_.showKeyColours(*lit);
    // Otherwise the preview's next tick colours the keys.
}

bool LightingPanel::previewRunning() const {
    return lighting_->lightingView() && setup_.window->isVisible();
}

void LightingPanel::updatePreviewTimer() {
    QTimer* timer = setup_.previewTimer;
    if (!timer)
        return;
    if (!previewRunning())
        timer->stop();
    else if (!timer->isActive())
        timer->start(kPreviewStartMs);
}

void LightingPanel::previewTick() {
    QTimer* timer = setup_.previewTimer;
    if (!previewRunning()) {
        if (timer)
            timer->stop();
        return;
    }
    if (ticking_)
        return;
    ticking_ = true;
    repaintedLastTick_ = 0;
    // The state is copied, so the keys are painted without holding it.
    std::optional<LightingState> state;
    {
        auto lit = lighting_.lock();
        if (!lit->showsKeyColours()) {
            if (lit->previewRestartPending()) {
                engine_.restart();
                lit->previewRestarted();
            }
            state = lit->state();
        }
    }
    if (state)
        repaintedLastTick_ = keyView_.showFrame(engine_.tick(*state));
    ticking_ = false;
    if (timer)
        timer->start(kPreviewPeriodMs);
}

// --- What the user does ----------------------------------------------------------

void LightingPanel::effectChosen(int position) {
    noPaintNoted_ = false;
    lighting_->selectEffectAt(position);
    refresh();
}

void LightingPanel::clicked(int controlId) {
    if (controlId == kViewOnId || controlId == kViewOffId) {
        clickLightingSwitch(controlId == kViewOnId);
        return;
    }
    if (controlId >= kFirstSwatchId && controlId < kFirstSwatchId + static_cast<int>(kPresetCount))
        setRgbBoxes(presetColours()[static_cast<std::size_t>(controlId - kFirstSwatchId)]);
    if (lighting_->controlClicked(controlId))
        refresh();
    tellFileFailure();
}

void LightingPanel::colourChosen(int controlId, controls::Rgb colour) {
    const Rgb picked = fromTint(colour);
    if (!lighting_->colourPicked(controlId, picked))
        return;
    if (controlId == kColourId || controlId == kReactionColourId)
        setRgbBoxes(picked);
    refresh();
    tellFileFailure();
}

void LightingPanel::tellFileFailure() {
    const std::optional<UserFileFailure> failure = lighting_->takeFileFailure();
    if (failure && setup_.prompts)
        tellUserFileFailure(*setup_.prompts, *failure);
}

void LightingPanel::rgbEdited(std::size_t channel) {
    QLineEdit* box = rgb_[channel];
    rgbEdits_[channel] = true;
    const RgbBoxValue value = readRgbBox(box->text().toStdString());
    if (value.rewrite)
        box->setText(QString::number(value.value));
}

void LightingPanel::rgbCommitted(std::size_t channel) {
    if (!rgbEdits_[channel])
        return;
    rgbEdits_[channel] = false;
    const std::optional<std::uint8_t> value = committedRgbBox(rgb_[channel]->text().toStdString());
    Rgb colour = rgbShown_;
    std::uint8_t* const channels[] = {&colour.red, &colour.green, &colour.blue};
    if (!value) {
        rgb_[channel]->setText(QString::number(*channels[channel]));
        return;
    }
    *channels[channel] = *value;
    // The boxes set the colour of the picker they stand beside.
    const bool reaction = isShown(lighting_->shownControls(), C::ReactionColourPicker);
    colourChosen(reaction ? kReactionColourId : kColourId, toTint(colour));
}

void LightingPanel::setRgbBoxes(Rgb colour) {
    rgbShown_ = colour;
    rgbEdits_.fill(false);
    if (!controlsBuilt_)
        return;
    rgb_[0]->setText(QString::number(colour.red));
    rgb_[1]->setText(QString::number(colour.green));
    rgb_[2]->setText(QString::number(colour.blue));
}

void LightingPanel::clickLightingSwitch(bool on) {
    if (on == lighting_->lightingView())
        return;
    if (on)
        turnViewOn();
    else
        lightingViewOff();
}

void LightingPanel::turnViewOn() {
    if (switchPending_)
        return;
    auto viewOn = [panel = QPointer<LightingPanel>(this)](bool switched) {
        if (!panel)
            return;
        panel->switchPending_ = false;
        if (!switched)
            return;
        // The switch is stored; a settings file that cannot be written keeps
        // the view on for this run.
        static_cast<void>(panel->lighting_->setLightingView(true));
        panel->refresh();
    };
    if (!setup_.switchToActiveProfile) {
        viewOn(true);
        return;
    }
    switchPending_ = true;
    setup_.switchToActiveProfile(std::move(viewOn));
}

void LightingPanel::keyClicked(int controlId) {
    {
        auto lit = lighting_.lock();
        if (!lit->lightingView() || isGButton(controlId))
            return;
        if (!lit->showsKeyColours()) {
            // Nothing to paint with: the note says so rather than nothing.
            noPaintNoted_ = true;
        }
        if (lit->paintKey(controlId)) {
            keyView_.showKeyColour(controlId, lit->keyColour(controlId));
            for (int other : controlsSharingPosition(controlId))
                keyView_.showKeyColour(other, lit->keyColour(other));
        }
    }
    if (noPaintNoted_)
        showNote();
    tellFileFailure();
}

QString LightingPanel::keyToolTip(int controlId) const {
    if (!lighting_->lightingView() || isGButton(controlId) || !slotOfControl(controlId))
        return {};
    if (!lighting_->showsKeyColours())
        return noPaintText();
    if (isPaintable(controlId))
        return {};
    return qs(lookupText("KEYLOOM_LIGHT_NO_POSITION"));
}

QWidget* LightingPanel::control(int controlId) {
    ensureControls();
    auto it = byId_.find(controlId);
    return it == byId_.end() ? nullptr : it->second;
}

bool LightingPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == setup_.window) {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
            QTimer* timer = setup_.previewTimer;
            const bool shown = event->type() == QEvent::Show;
            if (timer && (!shown || !lighting_->lightingView()))
                timer->stop();
            else if (timer && !timer->isActive())
                timer->start(kPreviewStartMs);
        }
        return false;
    }
    if (event->type() == QEvent::ToolTip) {
        auto it = keyIds_.find(watched);
        const QString tip = it == keyIds_.end() ? QString() : keyToolTip(it->second);
        if (!tip.isEmpty()) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip,
                               qobject_cast<QWidget*>(watched));
            return true;
        }
    }
    return false;
}

// --- The core's hook ----------------------------------------------------------------

void LightingPanel::lightingChanged() {
    showListsAndBoxes();
    refresh();
}

void LightingPanel::showListsAndBoxes() {
    if (!controlsBuilt_)
        return;
    fillEffectList();
    Rgb main;
    {
        auto lit = lighting_.lock();
        main = unpackColour(lit->state().mainColour);
        userModes_->clear();
        for (const std::string& name : lit->perKey().modeNames())
            userModes_->addItem(qs(name));
        userModes_->setCurrentIndex(lit->perKey().currentMode());
    }
    setRgbBoxes(main);
}

void LightingPanel::lightingViewOff() {
    if (!lighting_->lightingView())
        return;
    noPaintNoted_ = false;
    static_cast<void>(lighting_->setLightingView(false));
    refresh();
    if (setup_.redrawKeyView)
        setup_.redrawKeyView();
}

void LightingPanel::languageChanged() {
    setTexts();
    fillEffectList();
    refresh();
}

}  // namespace keyloom::lighting::qt
