// Linux key events, turned into Windows-style keystrokes, must give the key
// codes a Windows machine gives for the same keys.

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <utility>
#include <vector>

#include "model/KeyTable.h"
#include "platform/keys/LinuxKeyMap.h"

namespace keyloom {
namespace {

KeyCode CodeOf(unsigned linuxCode, bool numLockOn) {
    const auto keystroke = keys::windowsKeystrokeOf(linuxCode, numLockOn);
    return KeyCodeFromEvent(keystroke.virtualKey, keystroke.keystrokeFlags);
}

// The 105 keys of the key view and the key code each stands for.
const std::vector<std::pair<unsigned, KeyCode>> kKeyViewKeys = {
    {KEY_A, 0x1E},          {KEY_B, 0x30},          {KEY_C, 0x2E},          {KEY_D, 0x20},
    {KEY_E, 0x12},          {KEY_F, 0x21},          {KEY_G, 0x22},          {KEY_H, 0x23},
    {KEY_I, 0x17},          {KEY_J, 0x24},          {KEY_K, 0x25},          {KEY_L, 0x26},
    {KEY_M, 0x32},          {KEY_N, 0x31},          {KEY_O, 0x18},          {KEY_P, 0x19},
    {KEY_Q, 0x10},          {KEY_R, 0x13},          {KEY_S, 0x1F},          {KEY_T, 0x14},
    {KEY_U, 0x16},          {KEY_V, 0x2F},          {KEY_W, 0x11},          {KEY_X, 0x2D},
    {KEY_Y, 0x15},          {KEY_Z, 0x2C},          {KEY_1, 0x02},          {KEY_2, 0x03},
    {KEY_3, 0x04},          {KEY_4, 0x05},          {KEY_5, 0x06},          {KEY_6, 0x07},
    {KEY_7, 0x08},          {KEY_8, 0x09},          {KEY_9, 0x0A},          {KEY_0, 0x0B},
    {KEY_ENTER, 0x1C},      {KEY_ESC, 0x01},        {KEY_BACKSPACE, 0x0E},  {KEY_TAB, 0x0F},
    {KEY_SPACE, 0x39},      {KEY_MINUS, 0x0C},      {KEY_EQUAL, 0x0D},      {KEY_LEFTBRACE, 0x1A},
    {KEY_RIGHTBRACE, 0x1B}, {KEY_BACKSLASH, 0x2B},  {KEY_SEMICOLON, 0x27},  {KEY_APOSTROPHE, 0x28},
    {KEY_GRAVE, 0x29},      {KEY_COMMA, 0x33},      {KEY_DOT, 0x34},        {KEY_SLASH, 0x35},
    {KEY_F1, 0x3B},         {KEY_F2, 0x3C},         {KEY_F3, 0x3D},         {KEY_F4, 0x3E},
    {KEY_F5, 0x3F},         {KEY_F6, 0x40},         {KEY_F7, 0x41},         {KEY_F8, 0x42},
    {KEY_F9, 0x43},         {KEY_F10, 0x44},        {KEY_F11, 0x57},        {KEY_F12, 0x58},
    {KEY_SYSRQ, 0x137},     {KEY_PAUSE, 0x45},      {KEY_INSERT, 0x152},    {KEY_DELETE, 0x153},
    {KEY_HOME, 0x147},      {KEY_END, 0x14F},       {KEY_PAGEUP, 0x149},    {KEY_PAGEDOWN, 0x151},
    {KEY_UP, 0x148},        {KEY_DOWN, 0x150},      {KEY_LEFT, 0x14B},      {KEY_RIGHT, 0x14D},
    {KEY_SCROLLLOCK, 0x46}, {KEY_CAPSLOCK, 0x3A},   {KEY_COMPOSE, 0x15D},   {KEY_LEFTCTRL, 0x1D},
    {KEY_RIGHTCTRL, 0x11D}, {KEY_LEFTSHIFT, 0x2A},  {KEY_RIGHTSHIFT, 0x36}, {KEY_LEFTALT, 0x38},
    {KEY_RIGHTALT, 0x138},  {KEY_LEFTMETA, 0x15B},  {KEY_RIGHTMETA, 0x15C}, {KEY_KP1, 0x4F},
    {KEY_KP2, 0x50},        {KEY_KP3, 0x51},        {KEY_KP4, 0x4B},        {KEY_KP5, 0x4C},
    {KEY_KP6, 0x4D},        {KEY_KP7, 0x47},        {KEY_KP8, 0x48},        {KEY_KP9, 0x49},
    {KEY_KP0, 0x52},        {KEY_NUMLOCK, 0x145},   {KEY_KPENTER, 0x11C},   {KEY_KPDOT, 0x53},
    {KEY_KPSLASH, 0x135},   {KEY_KPASTERISK, 0x37}, {KEY_KPMINUS, 0x4A},    {KEY_KPPLUS, 0x4E},
    {KEY_102ND, 0x56},
};

TEST(KeyTableLinuxEvents, EveryKeyOfTheKeyViewWithNumLockOnAndOff) {
    ASSERT_EQ(kKeyViewKeys.size(), 105u);
    for (const auto& [linuxCode, code] : kKeyViewKeys) {
        EXPECT_EQ(CodeOf(linuxCode, true), code) << "Linux key " << linuxCode;
        EXPECT_EQ(CodeOf(linuxCode, false), code) << "Linux key " << linuxCode;
    }
}

TEST(KeyTableLinuxEvents, KeysOutsideTheKeyView) {
    const std::vector<std::pair<unsigned, KeyCode>> keys = {
        {KEY_BREAK, 0x146},    {KEY_F13, 0x064},          {KEY_POWER, 0x15E},
        {KEY_SLEEP, 0x15F},    {KEY_WAKEUP, 0x163},       {KEY_KATAKANAHIRAGANA, 0x070},
        {KEY_HANJA, 0x071},    {KEY_HANGEUL, 0x072},      {KEY_RO, 0x073},
        {KEY_HENKAN, 0x079},   {KEY_MUHENKAN, 0x07B},     {KEY_YEN, 0x07D},
        {KEY_KPCOMMA, 0x07E},  {KEY_PREVIOUSSONG, 0x110}, {KEY_NEXTSONG, 0x119},
        {KEY_MUTE, 0x120},     {KEY_CALC, 0x121},         {KEY_PLAYPAUSE, 0x122},
        {KEY_STOPCD, 0x124},   {KEY_VOLUMEDOWN, 0x12E},   {KEY_VOLUMEUP, 0x130},
        {KEY_HOMEPAGE, 0x132}, {KEY_SEARCH, 0x165},       {KEY_BOOKMARKS, 0x166},
        {KEY_REFRESH, 0x167},  {KEY_STOP, 0x168},         {KEY_FORWARD, 0x169},
        {KEY_BACK, 0x16A},     {KEY_COMPUTER, 0x16B},     {KEY_MAIL, 0x16C},
        {KEY_CONFIG, 0x16D},
    };
    for (const auto& [linuxCode, code] : keys) {
        EXPECT_EQ(CodeOf(linuxCode, true), code) << "Linux key " << linuxCode;
    }
    // The media keys are exactly the ones key capture passes on.
    for (unsigned linuxCode : {KEY_MUTE, KEY_VOLUMEUP, KEY_PLAYPAUSE, KEY_MAIL, KEY_CONFIG}) {
        EXPECT_TRUE(IsMediaKey(CodeOf(linuxCode, true))) << linuxCode;
    }
    EXPECT_TRUE(IsSingleEventKey(CodeOf(KEY_SYSRQ, true)));
    EXPECT_TRUE(IsSingleEventKey(CodeOf(KEY_HANGEUL, true)));
}

TEST(KeyTableLinuxEvents, EveryMappedKeyHasARowAndEveryOtherGivesNoKey) {
    for (unsigned linuxCode = 0; linuxCode <= KEY_MAX + 1; ++linuxCode) {
        for (bool numLock : {true, false}) {
            const auto keystroke = keys::windowsKeystrokeOf(linuxCode, numLock);
            const KeyCode code = KeyCodeFromEvent(keystroke.virtualKey, keystroke.keystrokeFlags);
            if (!keystroke.isKey()) {
                EXPECT_EQ(code, 0) << linuxCode;
                continue;
            }
            // The scan code agrees with the virtual key, so it names the key.
            EXPECT_EQ(code, keystroke.keystrokeFlags >> 16) << linuxCode;
            EXPECT_NE(ListPositionOf(code), kNoListPosition) << linuxCode;
        }
    }
}

}  // namespace
}  // namespace keyloom
