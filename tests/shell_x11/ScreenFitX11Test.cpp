// The windows on a screen too small for them at the desktop's scale: a
// private Xvfb of 1600x1000 at twice the scale, where the main window's
// pictures would need 2320x1400. The application object is built and
// dressed the way the program does it; the window system's own geometry is
// checked.

#include <QTimer>

#include "editors/qt/Keyloom_DlgComposite.h"
#include "editors_x11/XServerEnvironment.h"
#include "shell/DarkLook.h"
#include "shell/MainControls.h"
#include "shell/ScreenFit.h"
#include "shell/ShellFixture.h"
#include "support/qt/SkipWithout.h"

namespace keyloom::testing {
namespace {

namespace id = shell::control;

constexpr QSize kScreen(1600, 1000);

class FittedXServer : public XServerEnvironment {
public:
    FittedXServer() : XServerEnvironment(QStringLiteral("1600x1000x24")) {}
    static inline double fit = 1.0;

protected:
    void startApplication(const QString& platform) override {
        qputenv("QT_QPA_PLATFORM", platform.toLocal8Bit());
        qputenv("QT_SCALE_FACTOR", "2");
        const std::string skins = builtFile("bin/Skins/");
        application_ = std::make_unique<shell::FittedApplication>(
            1, argv_,
            std::vector<std::string>{skins + "Main.ini", skins + "Composite.ini",
                                     skins + "Profile.ini", skins + "UpdateDlg.ini"});
        fit = application_->fit();
        shell::applyDarkLook();
    }
    void stopApplication() override { application_.reset(); }

private:
    char name_[24] = "keyloom_tests_fit";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<shell::FittedApplication> application_;
};

[[maybe_unused]] const ::testing::Environment* const kXServer =
    ::testing::AddGlobalTestEnvironment(std::make_unique<FittedXServer>().release());

class ScreenFitX11Test : public SkipWithout<XServerEnvironment, ShellFixture> {
protected:
    // The window's place on the X screen, in device pixels.
    static QRect placeOnScreen(QWidget& window) {
        QProcess xdotool;
        xdotool.start(QStringLiteral("xdotool"),
                      {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"),
                       QString::number(window.winId())});
        xdotool.waitForFinished(3000);
        QRect place;
        for (const QByteArray& line : xdotool.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> pair = line.split('=');
            if (pair.size() != 2)
                continue;
            const int value = pair[1].toInt();
            if (pair[0] == "X")
                place.moveLeft(value);
            else if (pair[0] == "Y")
                place.moveTop(value);
            else if (pair[0] == "WIDTH")
                place.setWidth(value);
            else if (pair[0] == "HEIGHT")
                place.setHeight(value);
        }
        return place;
    }
};

TEST_F(ScreenFitX11Test, TheMainWindowAndTheKeyDialogLieInsideTheScreen) {
    openWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    EXPECT_LT(FittedXServer::fit, 1.0);
    const QRect main = placeOnScreen(*dialog);
    EXPECT_TRUE(QRect(QPoint(0, 0), kScreen).contains(main))
        << main.x() << "," << main.y() << " " << main.width() << "x" << main.height();
    // The largest scale that fits, not just any smaller one.
    EXPECT_GE(main.width(), kScreen.width() - 4);
    saveScreenshot("fitted");

    bool checked = false;
    QTimer::singleShot(0, dialog.get(), [&] {
        editors::qt::Keyloom_DlgComposite* keys = dialog->keyAssignmentDialog();
        ASSERT_NE(keys, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(keys));
        const QRect place = placeOnScreen(*keys);
        EXPECT_TRUE(QRect(QPoint(0, 0), kScreen).contains(place))
            << place.x() << "," << place.y() << " " << place.width() << "x" << place.height();
        EXPECT_GT(place.width(), 0);
        EXPECT_TRUE(keys->grab().save(
            QString::fromStdString(builtFile("screenshots/key_dialog_fitted.png"))));
        checked = true;
        keys->closeIfOpen();
    });
    dialog->runCommand(id::kMacro);
    EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace keyloom::testing
