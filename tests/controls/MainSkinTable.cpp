#include "MainSkinTable.h"

#include "storage/SkinGeometry.h"
#include "storage/SkinScreen.h"

namespace keyloom::testing {

std::vector<MainSkinButton> mainSkinButtons() {
    // Scan codes of the key view, 0x1NN for extended keys.
    static const unsigned kKeys[] = {
        0x1E,  0x30,  0x2E,  0x20,  0x12,  0x21, 0x22,  0x23,  0x17,  0x24,  0x25,  0x26,
        0x32,  0x31,  0x18,  0x19,  0x10,  0x13, 0x1F,  0x14,  0x16,  0x2F,  0x11,  0x2D,
        0x15,  0x2C,  0x02,  0x03,  0x04,  0x05, 0x06,  0x07,  0x08,  0x09,  0x0A,  0x0B,
        0x1C,  0x01,  0x0E,  0x0F,  0x39,  0x0C, 0x0D,  0x1A,  0x1B,  0x2B,  0x27,  0x28,
        0x29,  0x33,  0x34,  0x35,  0x3B,  0x3C, 0x3D,  0x3E,  0x3F,  0x40,  0x41,  0x42,
        0x43,  0x44,  0x57,  0x58,  0x137, 0x45, 0x152, 0x153, 0x147, 0x14F, 0x149, 0x151,
        0x148, 0x150, 0x14B, 0x14D, 0x46,  0x3A, 0x15D, 0x1D,  0x11D, 0x2A,  0x36,  0x38,
        0x138, 0x15B, 0x15C, 0x4F,  0x50,  0x51, 0x4B,  0x4C,  0x4D,  0x47,  0x48,  0x49,
        0x52,  0x145, 0x11C, 0x53,  0x135, 0x37, 0x4A,  0x4E,  0x56,
    };
    std::vector<MainSkinButton> buttons;
    for (unsigned code : kKeys) {
        buttons.push_back({keyButtonSkinKey(code), "NHPND", true});
    }
    for (int g = 1; g <= 9; ++g) {
        buttons.push_back({"FUNC_G" + std::to_string(g), "NHPND", true});
    }
    const std::vector<MainSkinButton> others = {
        {"KEY_FN", "NHPND", true},   {"CONTROL_OK", "NHPNN"},    {"CONTROL_CANCEL", "NHPNN"},
        {"CONTROL2_APPLY", "NHPDN"}, {"FUNC_PROFILES", "NHPNN"}, {"FUNC_MACRO", "NHPNN"},
        {"KESTRO_LINK", "NHDNN"},    {"KEY_PCGAME", "NHDNN"},    {"KEY_FACEBOOK", "NHDNN"},
        {"KEY_INSTARGRAM", "NHDNN"}, {"CONTROL_HELP", "NHPNN"},  {"CONTROL_MINIMIZE", "NHPNN"},
        {"CONTROL_CLOSE", "NHPNN"},  {"CONTROL_MENU", "NHPNN"},  {"FUNC_PROFILE1", "NHPND"},
        {"FUNC_PROFILE2", "NHPND"},  {"FUNC_PROFILE3", "NHPND"}, {"FUNC_DEFAULT", "NHPND"},
        {"FUNC_SWITCH", "NHPND"},    {"FUNC_REPORT1", "NHPND"},  {"FUNC_REPORT2", "NHPND"},
        {"FUNC_REPORT3", "NHPND"},   {"FUNC_REPORT4", "NHPND"},  {"LOCK_CAPS", "NNNNH"},
        {"LOCK_NUM", "NNNNH"},       {"LOCK_SCROLL", "NNNNH"},   {"LOCK_AB", "NNNNH"},
        {"FLIP_0", "NNNND"},         {"FLIP_1", "NHPND"},        {"FLIP_2", "NHPND"},
    };
    buttons.insert(buttons.end(), others.begin(), others.end());
    return buttons;
}

std::vector<std::string> mainSkinPlacedControls() {
    std::vector<std::string> keys = {
        "LEFT_ARROW",
        "RIGHT_ARROW",
        "KESTRO_VER",
        "COLOR_R",
        "COLOR_G",
        "COLOR_B",
        "CONTROL_RGBStatic",
        "CONTROL_DengStatic",
        "CONTROL_DengStaPic",
        "CONTROL_XGcombox",
        "CONTROL_DengDisable",
        "CONTROL_JDTStatic",
        "CONTROL_LightStatic",
        "CONTROL_LightSlider",
        "CONTROL_SpeedStatic",
        "CONTROL_SpeedSlider",
        "CONTROL_COLORFULStatic",
        "CONTROL_BLFXStatic",
        "CONTROL_BLFXLStaPic",
        "CONTROL_BLFXRStaPic",
        "CONTROL_BLFXStatic2",
        "CONTROL_BLFXLStaPic2",
        "CONTROL_BLFXRStaPic2",
        "CONTROL_BLFXStatic3",
        "CONTROL_BLFXLStaPic3",
        "CONTROL_BLFXRStaPic3",
        "CONTROL_FYYSStatic",
        "CONTROL_FYYSButton",
        "CONTROL_FYSJSStaPic",
        "CONTROL_FYSJSStatic",
        "CONTROL_FYCFStatic",
        "CONTROL_FYdjcfStatic",
        "CONTROL_FYggcfStatc",
        "CONTROL_FYdjcfStaPic",
        "CONTROL_FYggcfStaPic",
        "CONTROL_HONGPIC",
        "CONTROL_HUANGPIC",
        "CONTROL_LVPIC",
        "CONTROL_LANPIC",
        "CONTROL_HXysStatic",
        "CONTROL_HXysButton",
        "CONTROL_HXsjsStaPic",
        "CONTROL_JTysStatic",
        "CONTROL_JTysButton",
        "CONTROL_USERysStatic",
        "CONTROL_USERysButton",
        "CONTROL_USERjsStatic",
        "CONTROL_USERjsButton",
        "CONTROL_USERgjStatic",
        "CONTROL_USERgjStaPic1",
        "CONTROL_USERgjStaPic2",
        "CONTROL_TSysStatic",
        "CONTROL_TSysButton",
        "CONTROL_TSsjsStatic",
        "CONTROL_TSsjsStaPic",
        "CONTROL_CDysStatic",
        "CONTROL_CDysButton",
        "CONTROL_CDsjsStatic",
        "CONTROL_CDsjsStaPic",
        "CONTROL_umCombo",
    };
    for (int i = 1; i <= 8; ++i) {
        keys.push_back("CONTROL_Color" + std::to_string(i));
    }
    return keys;
}

std::vector<std::string> arrowOffsetKeys() {
    std::vector<std::string> keys;
    for (const char* arrow :
         {"UP_ARROW_LEFT", "DOWN_ARROW_LEFT", "UP_ARROW_RIGHT", "DOWN_ARROW_RIGHT"}) {
        for (int phase = 1; phase <= 2; ++phase) {
            keys.push_back(arrowOffsetKey(arrow, phase));
        }
    }
    return keys;
}

std::string sourceFile(const std::string& relative) {
    return std::string(KEYLOOM_SOURCE_DIR) + "/" + relative;
}

std::string builtFile(const std::string& relative) {
    return std::string(KEYLOOM_BUILD_DIR) + "/" + relative;
}

}  // namespace keyloom::testing
