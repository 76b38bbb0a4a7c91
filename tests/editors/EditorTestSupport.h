#pragma once
// Helpers of the editor tests: prompts that answer as told and remember what
// they were asked, key events of the thread hook, and store set-up.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editors/EditorPrompts.h"
#include "editors/KeyCapture.h"
#include "model/ConfigurationStore.h"

namespace keyloom::editors::test {

struct ScriptedPrompts : EditorPrompts {
    bool answer = false;
    std::vector<std::string> asked;
    std::vector<std::pair<std::string, std::int64_t>> told;

    bool askYesNo(std::string_view key) override {
        asked.emplace_back(key);
        return answer;
    }
    void tell(std::string_view key, std::int64_t value) override { told.emplace_back(key, value); }
};

// Keystroke flags of a scan code written as a key code (0x1NN = E0 NN).
constexpr std::uint32_t flagsOf(std::uint16_t scan) {
    return (static_cast<std::uint32_t>(scan & 0xFF) << 16) | ((scan & 0x100u) << 16);
}

struct Key {
    std::uint32_t vk;
    std::uint16_t scan;
};
inline constexpr Key kA{0x41, 0x1E};
inline constexpr Key kEsc{0x1B, 0x01};
inline constexpr Key kPrintScreen{0x2C, 0x137};
inline constexpr Key kVolumeUp{0xAF, 0x130};

inline KeyEvent press(Key key, std::uint64_t t = 0) {
    return {key.vk, flagsOf(key.scan), false, false, t};
}
inline KeyEvent repeat(Key key, std::uint64_t t = 0) {
    return {key.vk, flagsOf(key.scan), false, true, t};
}
inline KeyEvent release(Key key, std::uint64_t t = 0) {
    return {key.vk, flagsOf(key.scan), true, false, t};
}

inline MacroRecord storedMacro(std::uint16_t number, std::u16string name) {
    MacroRecord m;
    m.number = number;
    m.name = std::move(name);
    return m;
}

inline KeyAssignment macroKey(std::uint32_t number) {
    KeyAssignment a;
    a.kind = AssignmentKind::Macro;
    a.value = number;
    a.parameter = 1;
    return a;
}

}  // namespace keyloom::editors::test
