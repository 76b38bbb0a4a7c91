// The main window's lighting panel: built at initialisation and registered
// as the window's lighting view, so the core's sequences reach it.
#include <memory>

#include "shell/CKeyloomDlg.h"
#include "shell/MainControls.h"

namespace keyloom::shell {

void CKeyloomDlg::buildLightingPanel() {
    lighting::qt::LightingPanelSetup setup;
    setup.window = this;
    setup.core = core_.get();
    setup.skinFile = setup_.paths.mainSkinFile;
    setup.skinFolder = setup_.paths.skinFolder;
    setup.keyButton = [this](int id) { return button(id); };
    setup.previewTimer = &timer(window::timer::kStartup);
    // Switching to the active profile talks to the keyboard: off the window
    // thread, like every other keyboard work.
    setup.switchToActiveProfile = [this](std::function<void(bool)> done) {
        auto switched = std::make_shared<bool>(false);
        const bool started = runKeyboardWork(
            [this, switched] {
                *switched =
                    core_->switchActiveProfile(core_->state().connection.activeProfile.load());
            },
            [switched, done] { done(*switched); });
        if (!started)
            done(false);
    };
    setup.redrawKeyView = [this] { redrawKeyView(); };
    setup.prompts = port_.get();
    lighting_ = std::make_unique<lighting::qt::LightingPanel>(std::move(setup));
    port_->setLightingView(lighting_.get());
}

}  // namespace keyloom::shell
