// Menus and message boxes in the dark skin's look: where a menu opened from a
// button goes, and the message box's title and colours.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPushButton>

#include "ShellFixture.h"
#include "shell/DarkLook.h"
#include "shell/MessageBoxes.h"

namespace keyloom::testing {
namespace {

TEST(DarkLookTest, MenusDropBelowTheirButtonOrAboveWithoutRoom) {
    const QRect screen(0, 0, 1000, 800);
    const QSize menu(200, 150);
    struct Case {
        QRect button;
        QPoint expected;
    };
    const Case cases[] = {
        {{100, 100, 34, 30}, {100, 130}},  // room below
        {{100, 640, 34, 30}, {100, 490}},  // none below: above
        {{900, 100, 34, 30}, {800, 130}},  // kept inside the right edge
        {{-20, 100, 34, 30}, {0, 130}},    // and the left edge
        {{100, 20, 34, 760}, {100, 650}},  // room on neither side
    };
    for (const Case& c : cases)
        EXPECT_EQ(shell::dropPosition(c.button, menu, screen), c.expected) << c.button.y();
}

class MessageBoxTest : public ShellFixture {};

TEST_F(MessageBoxTest, BoxesAreDarkAndCarryTheProgramsName) {
    window::MessageRequest request;
    request.key = "MAIN_PROMPT_DEFAULT";
    request.text = lookupText(request.key);
    request.buttons = window::MessageButtons::YesNo;
    request.icon = window::MessageIcon::Question;
    for (window::MessageCaption caption :
         {window::MessageCaption::ApplicationTitle, window::MessageCaption::Empty}) {
        request.caption = caption;
        const std::unique_ptr<QMessageBox> box = shell::buildMessageBox(request, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Keyloom"));
        EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()),
                  box->button(QMessageBox::No));
    }
    const std::unique_ptr<QMessageBox> box = shell::buildMessageBox(request, nullptr);
    box->show();
    const QImage shown = box->grab().toImage();
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(builtFile("screenshots"))));
    EXPECT_TRUE(shown.save(QString::fromStdString(builtFile("screenshots/message_box.png"))));
    EXPECT_LT(qGray(shown.pixel(4, shown.height() - 4)), 60) << "a light box over the dark skin";
}

}  // namespace
}  // namespace keyloom::testing
