// Keyboard-only use under a real X server, keys pressed through XTEST: Tab
// from the first key of the main window reaches the lighting switch, OK and
// the tool bar in screen order, each with its focus ring; in the key
// dialog Tab reaches OK and Esc cancels.

#include <QApplication>
#include <QTimer>

#include "editors/qt/Keyloom_DlgComposite.h"
#include "editors_x11/XServerEnvironment.h"
#include "model/KeyViewKeys.h"
#include "shell/MainControls.h"
#include "shell/ShellFixture.h"
#include "support/qt/SkipWithout.h"

namespace keyloom::testing {
namespace {

namespace id = shell::control;
namespace dlg = editors::qt::composite;

constexpr int kEscKey = 1022;
constexpr int kLightingOn = 1167;

class KeyboardOnlyX11Test : public SkipWithout<XServerEnvironment, ShellFixture> {
protected:
    static void xdotool(const QStringList& arguments) {
        ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0)
            << arguments.join(' ').toStdString();
    }
    // Gives `window` the X input focus (there is no window manager to do it).
    static void focusWindow(QWidget& window) {
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"),
                 QString::number(window.winId())});
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.isActiveWindow(); }, 3000));
    }
    // Presses `keysym` and waits until the focus has moved.
    static QWidget* pressAndWait(const char* keysym) {
        QWidget* before = QApplication::focusWidget();
        xdotool({QStringLiteral("key"), QString::fromLatin1(keysym)});
        // A press that moves nothing (one control only) just times out.
        (void)QTest::qWaitFor([&] { return QApplication::focusWidget() != before; }, 2000);
        return QApplication::focusWidget();
    }
    // The focus ring: the accent colour at the left edge, half way down.
    static bool showsRing(QWidget& widget) {
        const QImage face = widget.grab().toImage();
        for (int x = 0; x < 3; ++x) {
            const QColor c = face.pixelColor(x, face.height() / 2);
            if (c.red() > 200 && c.green() > 120 && c.green() < 200 && c.blue() < 110)
                return true;
        }
        return false;
    }
};

TEST_F(KeyboardOnlyX11Test, TabFromTheFirstKeyReachesTheLightingSwitchOkAndTheToolBar) {
    openWindow();
    focusWindow(*dialog);
    button(kEscKey).setFocus();
    QWidget* const lightingOn = dialog->lightingPanel()->control(kLightingOn);
    QWidget* const ok = &button(id::kOk);
    QWidget* const menu = &button(id::kMenu);
    std::vector<QWidget*> reached;
    for (int i = 0; i < 400 && reached.size() < 3; ++i) {
        QWidget* now = pressAndWait("Tab");
        ASSERT_NE(now, nullptr);
        ASSERT_EQ(now->window(), dialog.get());
        if (now == lightingOn || now == ok || now == menu) {
            EXPECT_TRUE(showsRing(*now)) << now->metaObject()->className();
            reached.push_back(now);
        }
    }
    EXPECT_EQ(reached, (std::vector<QWidget*>{lightingOn, ok, menu}));
}

TEST_F(KeyboardOnlyX11Test, InTheKeyDialogTabReachesOkAndEscCancels) {
    openWindow();
    bool okReached = false;
    bool closedByEsc = false;
    QTimer::singleShot(0, dialog.get(), [&] {
        editors::qt::Keyloom_DlgComposite* keys = dialog->keyAssignmentDialog();
        ASSERT_NE(keys, nullptr);
        focusWindow(*keys);
        QWidget* ok = keys->control(dlg::kOk);
        for (int i = 0; i < 40 && !okReached; ++i)
            okReached = pressAndWait("Tab") == ok;
        xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
        closedByEsc = QTest::qWaitFor([&] { return !keys->isVisible(); }, 2000);
        keys->closeIfOpen();
    });
    // Macros opens the dialog on its macro tab, where nothing is captured.
    dialog->runCommand(id::kMacro);
    EXPECT_TRUE(okReached);
    EXPECT_TRUE(closedByEsc);
}

}  // namespace
}  // namespace keyloom::testing
