// The main window's lighting panel: built at its first use or right after
// the window's first paint, and registered then as the window's lighting
// view, so the core's sequences reach it. Until then the core's lighting
// changes need no view: the panel reads the core's state when it is built.
#include <memory>

#include "shell/CKeyloomDlg.h"
#include "shell/MainControls.h"

namespace keyloom::shell {

lighting::qt::LightingPanel* CKeyloomDlg::lightingPanel() {
    if (!lighting_ && initialised_ && !shutDown_)
        buildLightingPanel();
    return lighting_.get();
}

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
    const QList<QWidget*> before = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    lighting_ = std::make_unique<lighting::qt::LightingPanel>(std::move(setup));
    // Controls made once the window shows stay hidden until shown: those the
    // panel neither showed nor hid itself (the view switch) are shown here.
    if (isVisible())
        for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!before.contains(w) && !w->testAttribute(Qt::WA_WState_ExplicitShowHide))
                w->show();
    port_->setLightingView(lighting_.get());
}

}  // namespace keyloom::shell
