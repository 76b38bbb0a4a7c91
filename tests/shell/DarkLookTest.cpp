// Menus, message boxes, tooltips, the colour picker and file dialogs in the
// dark skin's look: where a menu opened from a button goes, the message
// box's title and colours, dark tooltips and file lists, whole columns.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QToolTip>
#include <QTreeView>

#include "controls/FileDialogLook.h"

#include "ShellFixture.h"
#include "lighting/qt/LightingPanel.h"
#include "platform/text/SafeFormat.h"
#include "shell/DarkLook.h"
#include "shell/MainControls.h"
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

void saveShot(QWidget& window, const char* name) {
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(builtFile("screenshots"))));
    EXPECT_TRUE(window.grab().save(QString::fromStdString(builtFile("screenshots/") + name)));
}

class MessageBoxTest : public ShellFixture {};

TEST_F(MessageBoxTest, BoxesAreDarkAndCarryTheProgramsName) {
    shell::applyDarkLook();
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
    // The question mark sits on the accent colour, not on a glossy bubble.
    const QPixmap icon = box->iconPixmap();
    ASSERT_FALSE(icon.isNull());
    const QColor middle = icon.toImage().pixelColor(icon.width() / 4, icon.height() / 2);
    EXPECT_GT(middle.red(), 200);
    EXPECT_LT(middle.blue(), 60);
}

bool darkAt(QWidget& widget, QPoint point) {
    return qGray(widget.grab().toImage().pixel(point)) < 60;
}

class DarkLookWindowTest : public ShellFixture {};

TEST_F(DarkLookWindowTest, TooltipsAreDarkOverEveryKindOfControl) {
    shell::applyDarkLook();
    openWindow();
    QWidget* const controls[] = {&button(shell::control::kMacro),
                                 dialog->lightingPanel()->control(1167)};
    for (QWidget* control : controls) {
        ASSERT_NE(control, nullptr);
        QToolTip::showText(control->mapToGlobal(QPoint(4, 4)), QStringLiteral("Reset keys"),
                           control);
        QPointer<QWidget> tip;
        ASSERT_TRUE(pumpUntil([&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->inherits("QTipLabel") && w->isVisible())
                    tip = w;
            return tip != nullptr;
        }));
        EXPECT_TRUE(darkAt(*tip, QPoint(tip->width() - 3, tip->height() / 2)))
            << control->metaObject()->className();
        QToolTip::hideText();
        ASSERT_TRUE(pumpUntil([&] { return !tip || !tip->isVisible(); }));
    }
}

TEST(DarkLookTest, FileDialogsAreDarkAndShowWholeColumns) {
    shell::applyDarkLook();
    TempDir folder;
    folder.write("backup.klm", std::string(97'000, 'x'));
    folder.write("profile with a long name.klm", "x");
    QFileDialog dialog;
    controls::prepareFileDialog(dialog);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setDirectory(QString::fromStdString(folder.path()));
    dialog.show();
    QTreeView* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(details, nullptr);
    ASSERT_TRUE(details->isVisible()) << "the toolkit's own dialog, not the desktop's";
    ASSERT_TRUE(pumpUntil([&] {
        return details->model()->rowCount(details->rootIndex()) == 2 &&
               !details->model()->index(0, 1, details->rootIndex()).data().toString().isEmpty();
    }));
    QTest::qWait(50);
    const QFontMetrics metrics(details->font());
    for (int row = 0; row < 2; ++row)
        for (int column = 1; column < details->header()->count(); ++column) {
            const QString text =
                details->model()->index(row, column, details->rootIndex()).data().toString();
            EXPECT_GT(details->columnWidth(column), metrics.horizontalAdvance(text))
                << text.toStdString();
        }
    EXPECT_TRUE(darkAt(*details->viewport(), QPoint(details->viewport()->width() - 4,
                                                    details->viewport()->height() - 4)));
    saveShot(dialog, "file_dialog.png");
}

TEST(DarkLookTest, TheColourPickerIsDark) {
    shell::applyDarkLook();
    // The plain picker the colour buttons open, with no style of its own.
    const auto picker = std::make_unique<QColorDialog>(QColor(0xff, 0x82, 0x00));
    picker->show();
    EXPECT_TRUE(darkAt(*picker, QPoint(3, picker->height() - 3)));
    saveShot(*picker, "colour_picker.png");
}

TEST_F(MessageBoxTest, CopyingAMessageGivesItsPathsWhole) {
    shell::applyDarkLook();
    window::MessageRequest request;
    request.text = text::formatString(
        lookupText("KEYLOOM_UPDATE_STARTED"),
        "/home/someone/.local/share/ORVK_Keyboard/before-update-2026-12-10-2015.klm");
    request.icon = window::MessageIcon::Information;
    const std::unique_ptr<QMessageBox> box = shell::buildMessageBox(request, nullptr);
    box->show();
    QLabel* text = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(text, nullptr);
    text->setSelection(0, static_cast<int>(text->text().size()));
    text->setFocus();
    QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(pumpUntil(
        [] {
            return QGuiApplication::clipboard()->text().contains(QStringLiteral(
                " /home/someone/.local/share/ORVK_Keyboard/before-update-2026-12-10-2015.klm;"));
        },
        std::chrono::seconds(2)))
        << QGuiApplication::clipboard()->text().toStdString();
    // Text another program copies meanwhile is not the box's: it stays as copied.
    const QString foreign = QStringLiteral("/elsewhere") + QChar(0x200B) + QStringLiteral("/file");
    QGuiApplication::clipboard()->setText(foreign);
    QApplication::processEvents();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), foreign);
    saveShot(*box, "message_box_path.png");
}

}  // namespace
}  // namespace keyloom::testing
