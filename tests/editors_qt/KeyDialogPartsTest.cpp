// The key dialog's window-side helpers: where it opens, how Qt key events
// become the hooks' events, the hooks' clock and the on-screen keyboard
// lookup.

#include <gtest/gtest.h>

#include <QFile>
#include <QKeyEvent>

#include "editors/qt/KeyDialogEvents.h"
#include "editors/qt/KeyDialogOsk.h"
#include "editors/qt/KeyDialogPlacement.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

using editors::qt::keyDialogPosition;

TEST(KeyDialogPlacementTest, OpensOnTheFirstSideOfTheKeyWhereItFits) {
    const QSize dialog(640, 470);
    const QRect screen(0, 0, 1920, 1080);
    struct Case {
        QRect screen;
        QRect key;
        bool centred;
        QPoint expected;
    };
    const Case cases[] = {
        {screen, {100, 100, 40, 40}, false, {140, 140}},                   // below right
        {screen, {100, 900, 40, 40}, false, {140, 430}},                   // above right
        {screen, {1800, 100, 40, 40}, false, {1160, 140}},                 // below left
        {screen, {1800, 900, 40, 40}, false, {1160, 430}},                 // above left
        {{0, 0, 800, 600}, {300, 300, 40, 40}, false, {340, 340}},         // nowhere: below right
        {screen, {1800, 900, 40, 40}, true, {640, 305}},                   // G9: centred
        {{1920, 0, 1920, 1080}, {2020, 100, 40, 40}, false, {2060, 140}},  // second screen
    };
    for (const Case& c : cases)
        EXPECT_EQ(keyDialogPosition(c.screen, c.key, dialog, c.centred), c.expected)
            << c.key.x() << "," << c.key.y();
}

std::optional<editors::qt::HookEvents> hookEvents(QEvent::Type type, unsigned linuxKey,
                                                  bool numLock = false, bool autoRepeat = false) {
    QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier, linuxKey + 8, 0, numLock ? 0x10 : 0,
                    QString(), autoRepeat);
    event.setTimestamp(4242);
    return editors::qt::hookEventsOf(event);
}

TEST(KeyDialogEventsTest, NativeScanCodesGiveTheKeyCodesOfAWindowsHook) {
    struct Case {
        const char* name;
        unsigned linuxKey;
        bool numLock;
        KeyCode code;
        std::uint32_t virtualKey;
        bool lowLevel;
    };
    const Case cases[] = {
        {"A", 30, false, 0x01E, 0x41, false},
        {"Right Ctrl", 97, false, 0x11D, 0x11, false},
        {"Left Win", 125, false, 0x15B, 0x5B, true},
        {"Print Screen", 99, false, 0x137, 0x2C, false},
        {"Keypad 7, Num Lock on", 71, true, 0x047, 0x67, false},
        {"Keypad 7, Num Lock off", 71, false, 0x047, 0x24, false},
    };
    for (const Case& c : cases) {
        const auto events = hookEvents(QEvent::KeyRelease, c.linuxKey, c.numLock);
        ASSERT_TRUE(events) << c.name;
        EXPECT_EQ(events->thread.keyCode(), c.code) << c.name;
        EXPECT_EQ(events->thread.virtualKey, c.virtualKey) << c.name;
        EXPECT_TRUE(events->thread.released) << c.name;
        EXPECT_EQ(events->thread.timeMs, 4242u) << c.name;
        EXPECT_EQ(events->lowLevel.has_value(), c.lowLevel) << c.name;
        EXPECT_FALSE(events->hidden) << c.name;
    }
}

TEST(KeyDialogEventsTest, EventsAWindowsHookNeverSeesAreMarkedHidden) {
    EXPECT_TRUE(hookEvents(QEvent::KeyPress, 99)->hidden)
        << "Print Screen reports only its release";
    EXPECT_TRUE(hookEvents(QEvent::KeyRelease, 30, false, true)->hidden)
        << "the release between two repeats";
    EXPECT_FALSE(hookEvents(QEvent::KeyPress, 30, false, true)->hidden)
        << "a repeated press is the hooks' to drop";
    const QKeyEvent synthesised(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    EXPECT_FALSE(editors::qt::hookEventsOf(synthesised)) << "no scan code: no key";
}

TEST(KeyDialogEventsTest, TheClockRunsOnFromTheLastEventsTimestamp) {
    editors::qt::EventClock clock;
    EXPECT_EQ(clock.now(500), 0u);
    clock.observe(1000, 50);
    EXPECT_EQ(clock.now(80), 1030u);
    EXPECT_EQ(clock.now(40), 1000u) << "never before the last event";
}

TEST(KeyDialogOskTest, TheFirstInstalledOnScreenKeyboardIsChosen) {
    TempDir dir;
    for (const char* name : {"florence", "matchbox-keyboard"}) {
        QFile program(QString::fromStdString(dir.write(name, "#!/bin/sh\n")));
        ASSERT_TRUE(program.setPermissions(program.permissions() | QFile::ExeOwner));
    }
    const QStringList path{QString::fromStdString(dir.path())};
    EXPECT_EQ(editors::qt::findOnScreenKeyboard(editors::qt::kOnScreenKeyboards, path),
              QString::fromStdString(dir.file("florence")));
    TempDir empty;
    EXPECT_TRUE(editors::qt::findOnScreenKeyboard(editors::qt::kOnScreenKeyboards,
                                                  {QString::fromStdString(empty.path())})
                    .isEmpty());
}

}  // namespace
}  // namespace keyloom::testing
