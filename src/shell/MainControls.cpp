#include "shell/MainControls.h"

#include <algorithm>
#include <string>

#include "model/KeyViewKeys.h"
#include "storage/SkinGeometry.h"

namespace keyloom::shell {

namespace {

std::vector<MainControl> buildControls() {
    std::vector<MainControl> controls;
    for (const KeyViewKey& key : kKeyViewKeys)
        controls.push_back({key.controlId, keyButtonSkinKey(key.scanCode), "NHPND"});
    for (std::size_t j = 0; j < kGButtonCount; ++j)
        controls.push_back({kGButtonControls[j], "FUNC_G" + std::to_string(j + 1), "NHPND"});
    const std::vector<MainControl> others = {
        {control::kFn, "KEY_FN", "NHPND"},
        {control::kOk, "CONTROL_OK", "NHPNN"},
        {control::kCancel, "CONTROL_CANCEL", "NHPNN"},
        {control::kApply, "CONTROL2_APPLY", "NHPDN"},
        {control::kProfileName, "FUNC_PROFILES", "NHPNN"},
        {control::kMacro, "FUNC_MACRO", "NHPNN"},
        {1121, "KESTRO_LINK", "NHDNN"},
        {1219, "KEY_PCGAME", "NHDNN"},
        {1220, "KEY_FACEBOOK", "NHDNN"},
        {1221, "KEY_INSTARGRAM", "NHDNN"},
        {control::kHelp, "CONTROL_HELP", "NHPNN"},
        {control::kMinimize, "CONTROL_MINIMIZE", "NHPNN"},
        {control::kClose, "CONTROL_CLOSE", "NHPNN"},
        {control::kMenu, "CONTROL_MENU", "NHPNN"},
        {1135, "FUNC_PROFILE1", "NHPND"},
        {1136, "FUNC_PROFILE2", "NHPND"},
        {1137, "FUNC_PROFILE3", "NHPND"},
        {control::kDefault, "FUNC_DEFAULT", "NHPND"},
        {control::kSwitch, "FUNC_SWITCH", "NHPND"},
        {1147, "FUNC_REPORT1", "NHPND"},
        {1168, "FUNC_REPORT2", "NHPND"},
        {1169, "FUNC_REPORT3", "NHPND"},
        {1170, "FUNC_REPORT4", "NHPND"},
        {control::kLockCaps, "LOCK_CAPS", "NNNNH"},
        {control::kLockNum, "LOCK_NUM", "NNNNH"},
        {control::kLockScroll, "LOCK_SCROLL", "NNNNH"},
        {control::kLockAb, "LOCK_AB", "NNNNH"},
        {control::kFlip0, "FLIP_0", "NNNND"},
        {control::kFlip1, "FLIP_1", "NHPND"},
        {control::kFlip2, "FLIP_2", "NHPND"},
        {control::kVersion, "KESTRO_VER", "NNNNN"},
    };
    controls.insert(controls.end(), others.begin(), others.end());
    for (int i = 0; i < control::kAltTopRowCount; ++i)
        controls.push_back(
            {control::kFirstAltTopRowKey + i, "KEYLOOM_TOPROW_D" + std::to_string(i + 1), "NHPDN"});
    return controls;
}

}  // namespace

const std::vector<MainControl>& mainControls() {
    static const std::vector<MainControl> controls = buildControls();
    return controls;
}

bool isKeyViewControl(int id) {
    return std::any_of(kKeyViewKeys.begin(), kKeyViewKeys.end(),
                       [id](const KeyViewKey& k) { return k.controlId == id; }) ||
           std::find(kGButtonControls.begin(), kGButtonControls.end(), id) !=
               kGButtonControls.end();
}

}  // namespace keyloom::shell
