// Keyboard use of the main window: Tab goes along the rows of the window as
// it is read, Shift+Tab back, F6 jumps between the tool bar, the key view,
// the lighting panel and the bottom bar.

#include <QApplication>

#include "ShellFixture.h"
#include "model/KeyViewKeys.h"
#include "shell/MainControls.h"

namespace keyloom::testing {
namespace {

namespace id = shell::control;

int keyButton(std::uint16_t scanCode) {
    for (const KeyViewKey& key : kKeyViewKeys)
        if (key.scanCode == scanCode)
            return key.controlId;
    ADD_FAILURE() << "no key button for scan code " << int(scanCode);
    return 0;
}

class MainTabOrderTest : public ShellFixture {
protected:
    QWidget* press(QWidget& from, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        from.setFocus();
        EXPECT_TRUE(pumpUntil([&] { return from.hasFocus(); }));
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), mods);
        return QApplication::focusWidget();
    }
};

TEST_F(MainTabOrderTest, TabGoesLeftToRightAlongEachRowAndShiftTabBack) {
    openWindow();
    const struct {
        std::uint16_t from, to;
    } steps[] = {{0x01, 0x3B}, {0x10, 0x11}, {0x1E, 0x1F}, {0x2C, 0x2D}, {0x0E, 0x152}};
    for (const auto& s : steps) {
        SCOPED_TRACE(int(s.from));
        EXPECT_EQ(press(button(keyButton(s.from)), Qt::Key_Tab), &button(keyButton(s.to)));
        EXPECT_EQ(press(button(keyButton(s.to)), Qt::Key_Backtab), &button(keyButton(s.from)));
    }
    // Keypad Enter, the lowest key, ends the key view; the lighting panel follows.
    QWidget* afterRight = press(button(keyButton(0x11C)), Qt::Key_Tab);
    ASSERT_NE(afterRight, nullptr);
    EXPECT_GE(afterRight->y(), 446) << "Tab after the last key leaves the key view";
    EXPECT_TRUE(dialog->testAttribute(Qt::WA_KeyboardFocusChange))
        << "focus moved by Tab shows its ring";
}

TEST_F(MainTabOrderTest, F6VisitsTheRegionsInOrderAndWrapsAround) {
    openWindow();
    QWidget* at = press(button(keyButton(0x1E)), Qt::Key_F6);
    ASSERT_NE(at, nullptr);
    EXPECT_TRUE(at->y() > 446 && at->y() < 622) << "the lighting panel: " << at->y();
    at = press(*at, Qt::Key_F6);
    EXPECT_GE(at->y(), 622) << "the bottom bar";
    at = press(*at, Qt::Key_F6);
    EXPECT_LT(at->y(), 110) << "the tool bar";
    at = press(*at, Qt::Key_F6);
    EXPECT_EQ(at, &button(id::kFlip1)) << "the key view starts at its top-row switch";
    at = press(*at, Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_LT(at->y(), 110) << "Shift+F6 goes back";
}

}  // namespace
}  // namespace keyloom::testing
