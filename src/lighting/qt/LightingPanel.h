#pragma once
// The lighting panel of the main window: the effect list, sliders, direction
// and colour pictures, colour pickers, swatches, number boxes, the per-key
// brush and the lighting-view switch, placed from the main skin file on the
// main window itself, and the preview that animates the key view. It is a
// view of the core's lighting (LightingService): it shows that state and
// sends the user's intents to it, and keeps no copy of its own. Window
// thread only.
//
// Which controls show is the controller's shownControls(); the panel only
// maps each entry of that table to its widgets.

#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <array>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "controls/CSkinSlider.h"
#include "core/KeyloomCore.h"
#include "core/window/LightingView.h"
#include "core/window/Prompter.h"
#include "lighting/LightingController.h"
#include "lighting/PreviewEngine.h"
#include "lighting/qt/KeyViewLighting.h"
#include "lighting/qt/LightingColourDialog.h"
#include "lighting/qt/PictureToggle.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace keyloom::lighting::qt {

struct LightingPanelSetup {
    QWidget* window = nullptr;  // the main window: parent of every control
    KeyloomCore* core = nullptr;
    std::string skinFile;    // the main skin file
    std::string skinFolder;  // its pictures, '/' at the end
    KeyViewLighting::KeyButton keyButton;
    QTimer* previewTimer = nullptr;  // the window's preview timer
    // Before the lighting view turns on: switch to the active profile (which
    // may ask to apply key changes) and call `done` on the window thread
    // with whether the switch went through. Unset: the view just turns on.
    std::function<void(std::function<void(bool)> done)> switchToActiveProfile;
    // The key view's own faces and tooltips again (the view left lighting).
    std::function<void()> redrawKeyView;
    ColourChooser chooseColour;  // empty: the colour dialog
    // Where a user-mode file that could not be written is told; null: not told.
    window::Prompter* prompts = nullptr;
};

// The property that lets Return reach a control of the main window, which
// otherwise keeps Return from closing it.
inline constexpr const char* kTakesReturnProperty = "takesReturn";

class LightingPanel final : public QObject, public window::LightingView {
    Q_OBJECT

public:
    static constexpr int kPreviewStartMs = 100;
    static constexpr int kPreviewPeriodMs = 50;

    explicit LightingPanel(LightingPanelSetup setup);
    ~LightingPanel() override;

    // --- window::LightingView ----------------------------------------------
    // Everything shown again from the core's lighting.
    void lightingChanged() override;

    // --- From the main window ----------------------------------------------
    bool lightingViewOn() const { return lighting_->lightingView(); }
    // Turns the lighting view off when it is on (stored in the settings).
    void lightingViewOff();
    // A key button or Fn clicked with the lighting view on: paints it.
    void keyClicked(int controlId);
    // One tick of the preview timer.
    void previewTick();
    // The language changed: labels and effect names again.
    void languageChanged();
    // What the key's tooltip says in the lighting view (empty: its own).
    QString keyToolTip(int controlId) const;

    // --- The controls, as the user works them (and tests) --------------------
    void clickLightingSwitch(bool on);
    // Where the colour pickers ask (tests answer instead of the dialog).
    void setColourChooser(ColourChooser chooser) { setup_.chooseColour = std::move(chooser); }
    LightingService::Access controller() const { return lighting_.lock(); }
    // Waits until the keyboard queue has sent every change (tests).
    bool flushKeyboardWork(std::chrono::milliseconds timeout) {
        return setup_.core->queue().flush(timeout);
    }
    // These build the controls first when the view has not yet turned on.
    QWidget* control(int controlId);
    QComboBox* effectList() {
        ensureControls();
        return effectList_;
    }
    controls::CSkinSlider* brightnessSlider() {
        ensureControls();
        return brightness_;
    }
    controls::CSkinSlider* speedSlider() {
        ensureControls();
        return speed_;
    }
    QLabel* note() const { return note_; }
    QLineEdit* rgbBox(int channel) {
        ensureControls();
        return rgb_[static_cast<std::size_t>(channel)];
    }
    // Whether the controls beside the switch are built yet.
    bool controlsBuilt() const { return controlsBuilt_; }
    bool previewRunning() const;
    // Number of keys given a new colour by the last preview tick.
    std::size_t keysRepaintedLastTick() const { return repaintedLastTick_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The view switch, its label and note: all that shows while the view is
    // off.
    void buildSwitch();
    // Builds the other controls once and shows the state in them.
    void ensureControls();
    void buildControls();
    QLabel* makeLabel(const char* skinKey);
    PictureToggle* makePicture(int controlId, const char* skinKey);
    LightingColourButton* makePicker(int controlId, const char* skinKey);
    void loadPictures();
    QPixmap picture(const char* file) const;
    void setTexts();
    // What a screen reader calls each control.
    void nameControls();
    void nameDirections();
    void fillEffectList();

    // Everything the widgets show, from the controller.
    void refresh();
    void showControls();
    // The effect and user-mode lists and the R/G/B boxes, refilled.
    void showListsAndBoxes();
    void showDirection();
    void showShownControls();
    void showKeyView();
    // The note under the switch: what the switch changes, or after a key
    // click that paints nothing, why it did not.
    void showNote();
    QString noPaintText() const;
    void updatePreviewTimer();

    void effectChosen(int position);
    void clicked(int controlId);
    void colourChosen(int controlId, controls::Rgb colour);
    void rgbEdited(std::size_t channel);
    // Return in the box, or the box left: its value sets the colour as the
    // picker does; a value the box cannot take shows the last one again.
    void rgbCommitted(std::size_t channel);
    void setRgbBoxes(Rgb colour);
    void turnViewOn();
    // Tells a user-mode file failure of the last intent (no Access held).
    void tellFileFailure();

    LightingPanelSetup setup_;
    LightingService& lighting_;
    PreviewEngine engine_;
    KeyViewLighting keyView_;
    bool ticking_ = false;
    std::size_t repaintedLastTick_ = 0;
    bool switchPending_ = false;
    bool controlsBuilt_ = false;

    // Every widget of each table entry.
    std::array<std::vector<QWidget*>, kLightingControlCount> groups_;
    std::vector<QWidget*> alwaysHidden_;
    std::map<int, QWidget*> byId_;
    std::map<const QObject*, int> keyIds_;  // key buttons by widget
    QLabel* viewLabel_ = nullptr;
    QLabel* note_ = nullptr;
    bool noPaintNoted_ = false;  // a key click painted nothing (until the effect or view changes)
    std::map<std::string, QLabel*> labels_;
    QComboBox* effectList_ = nullptr;
    QComboBox* userModes_ = nullptr;
    controls::CSkinSlider* brightness_ = nullptr;
    controls::CSkinSlider* speed_ = nullptr;
    PictureToggle* viewOn_ = nullptr;
    PictureToggle* viewOff_ = nullptr;
    PictureToggle* left_ = nullptr;
    PictureToggle* right_ = nullptr;
    PictureToggle* multicolour_ = nullptr;
    std::array<PictureToggle*, 4> choices_{};
    std::array<PictureToggle*, 2> tools_{};
    std::array<QLineEdit*, 3> rgb_{};
    Rgb rgbShown_;                    // the colour the boxes last showed
    std::array<bool, 3> rgbEdits_{};  // typed into since then
    LightingColourButton* colour_ = nullptr;
    LightingColourButton* reactionColour_ = nullptr;
    LightingColourButton* singleColour_ = nullptr;
    LightingColourButton* baseColour_ = nullptr;
    std::vector<QPointer<QWidget>> owned_;
};

}  // namespace keyloom::lighting::qt
