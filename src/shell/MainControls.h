#pragma once
// The skinned buttons of the main window: control id, skin key and which of
// the loaded pictures it shows in its five states (normal, hover, pressed,
// disabled, selected), written as letters N H P D of the first picture set.

#include <string>
#include <string_view>
#include <vector>

namespace keyloom::shell {

struct MainControl {
    int id;
    std::string skinKey;
    std::string faces;  // five letters of "NHPD"
};

namespace control {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kProfileName = 1005;
inline constexpr int kApply = 1006;
inline constexpr int kMacro = 1007;
inline constexpr int kLink = 1121;
inline constexpr int kHelp = 1122;
inline constexpr int kMinimize = 1123;
inline constexpr int kClose = 1124;
inline constexpr int kLockCaps = 1125;
inline constexpr int kLockNum = 1126;
inline constexpr int kLockScroll = 1127;
inline constexpr int kLockAb = 1128;
inline constexpr int kFlip0 = 1129;
inline constexpr int kFlip1 = 1130;
inline constexpr int kFlip2 = 1131;
inline constexpr int kLeftArrow = 1132;
inline constexpr int kRightArrow = 1133;
inline constexpr int kVersion = 1134;
inline constexpr int kProfile1 = 1135;
inline constexpr int kDefault = 1138;
inline constexpr int kMenu = 1139;
inline constexpr int kSwitch = 1144;
inline constexpr int kEffectList = 1146;
inline constexpr int kReport1 = 1147;
inline constexpr int kFn = 1174;
inline constexpr int kBusyIndicator = 1177;
inline constexpr int kG9 = 1143;
inline constexpr int kFirstTopRowKey = 1010;     // F1-F4: 1010-1013
inline constexpr int kFirstAltTopRowKey = 1016;  // D1-D6: 1016-1021, no command
inline constexpr int kAltTopRowCount = 6;
inline constexpr int kReportButtons[4] = {1147, 1168, 1169, 1170};
inline constexpr int kLinkButtons[4] = {1121, 1219, 1220, 1221};
}  // namespace control

// Which of the skin's three addresses "Link", "Link1", "Link2" link button
// 0-3 opens: the first two share "Link".
inline int linkAddressOf(int linkButton) {
    return linkButton == 0 ? 0 : linkButton - 1;
}

// Menu commands of the tray menu and the Button menu.
namespace command {
inline constexpr int kOpen = 32771;
inline constexpr int kAbout = 32773;
inline constexpr int kExit = 32774;
inline constexpr int kRestore = 32776;
inline constexpr int kBackup = 32777;
inline constexpr int kExitFromMenu = 32779;
inline constexpr int kFirmwareUpdate = 32780;
}  // namespace command

// Every skinned button of the main window except the two arrow indicators,
// which show a part of the arrow picture instead.
const std::vector<MainControl>& mainControls();

// True for the ids of the 105 key buttons and the nine G buttons.
bool isKeyViewControl(int id);

}  // namespace keyloom::shell
