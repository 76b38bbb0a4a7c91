#pragma once
// The lighting panel's part of the main window. The core holds the lighting
// (LightingService) and tells the panel when it changed: after a read, a
// profile button, a profile switch, a reset or a change of the lighting-view
// switch. The core may call from the keyboard queue's thread: the window
// runs it on the window thread, where the panel shows the core's state again.

namespace keyloom::window {

class LightingView {
public:
    virtual ~LightingView() = default;

    virtual void lightingChanged() = 0;
};

}  // namespace keyloom::window
