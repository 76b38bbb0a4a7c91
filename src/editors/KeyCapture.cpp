#include "editors/KeyCapture.h"

namespace keyloom::editors {

KeyCode windowsKeyCodeOf(std::uint32_t virtualKey, bool withApplicationKey) {
    switch (virtualKey) {
        case kLeftWindowsVk:
            return 0x15B;
        case kRightWindowsVk:
            return 0x15C;
        case kApplicationVk:
            return withApplicationKey ? 0x15D : 0;
        default:
            return 0;
    }
}

CaptureDecision captureFromThreadHook(const KeyEvent& event, bool keyboardOptionSelected) {
    const KeyCode code = event.keyCode();
    if (code == 0 || IsMediaKey(code)) {
        return {HookVerdict::PassOn, 0};
    }
    const bool takes = keyboardOptionSelected && (event.freshPress() || code == kPrintScreenKey);
    return {HookVerdict::Swallow, takes ? code : KeyCode{0}};
}

CaptureDecision captureFromLowLevelHook(const LowLevelKeyEvent& event) {
    if (event.message == LowLevelMessage::Other) {
        return {HookVerdict::PassOn, 0};
    }
    const KeyCode code = windowsKeyCodeOf(event.virtualKey, true);
    if (code == 0) {
        return {HookVerdict::PassOn, 0};
    }
    return {HookVerdict::Swallow, code};
}

}  // namespace keyloom::editors
