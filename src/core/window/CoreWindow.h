#pragma once
// The core's view of the main window, one interface per role: dispatch and
// timers (any thread), message boxes (any thread), the main view, the editor
// dialogs and the lighting panel. A window may implement all of them in one
// object (CoreWindow::of) or hand in separate ones.

#include "core/window/EditorWindows.h"
#include "core/window/LightingView.h"
#include "core/window/MainView.h"
#include "core/window/Prompter.h"
#include "platform/window/WindowDispatch.h"

namespace keyloom::window {

struct CoreWindow {
    WindowDispatch& dispatch;
    Prompter& prompts;
    MainView& view;
    EditorWindows& editors;
    LightingView& lighting;

    template <class Window>
    static CoreWindow of(Window& window) {
        return {window, window, window, window, window};
    }
};

}  // namespace keyloom::window
