// Pictures of the lighting view for a look at it: the window for effects 1,
// 17 and 20 (with painted keys), the colour dialog, and strips of preview
// frames of the key view. Saved under the build folder's screenshots, and
// checked for what a fault would change: the colours the keys show and
// whether the preview moves.

#include <QColorDialog>
#include <QLabel>
#include <QPainter>

#include "lighting/qt/LightingColourDialog.h"
#include "lighting_qt/PanelFixture.h"
#include "model/KeyViewKeys.h"

namespace keyloom::testing {
namespace {

QString screenshotPath(const std::string& name) {
    EXPECT_TRUE(QDir().mkpath(QString::fromStdString(builtFile("screenshots"))));
    return QString::fromStdString(builtFile("screenshots/" + name + ".png"));
}

class LightingScreenshotTest : public PanelFixture {
protected:
    void tick() {
        panel().previewTick();
        dialog->timer(window::timer::kStartup).stop();
    }

    void save(const std::string& name) {
        ASSERT_TRUE(pumpUntil([&] { return !dialog->busyIndicator()->isVisible(); }));
        EXPECT_TRUE(dialog->grab().toImage().save(screenshotPath(name)));
    }

    // The mean colour of a key as the window shows it.
    QColor keyColour(int id) {
        QWidget& key = button(id);
        const QImage face =
            dialog->grab(QRect(key.mapTo(dialog.get(), QPoint()), key.size())).toImage();
        double sum[3] = {0, 0, 0};
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x) {
                const QColor c = face.pixelColor(x, y);
                sum[0] += c.red();
                sum[1] += c.green();
                sum[2] += c.blue();
            }
        const double n = std::max(1, face.width() * face.height());
        return QColor(int(sum[0] / n), int(sum[1] / n), int(sum[2] / n));
    }

    // How far a key's colour is from grey: a lit key is coloured, an unlit
    // one shows the key picture's own grey.
    static int saturation(const QColor& c) {
        return std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()});
    }
    static int distance(const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue());
    }

    // The rectangle the key view's buttons cover.
    QRect keyViewArea() {
        QRect area;
        for (const KeyViewKey& key : kKeyViewKeys)
            area |= button(key.controlId).geometry();
        for (int id : kGButtonControls)
            area |= button(id).geometry();
        return area.adjusted(-8, -8, 8, 8);
    }
};

TEST_F(LightingScreenshotTest, LightingViewForEffects1_17_20) {
    open({1, 2, 3, 4, 5, 6, 10, 12, 17, 18, 20});
    viewOn();
    for (int i = 0; i < 6; ++i)
        tick();
    save("lighting_view_effect1");
    // A colourful wave across the columns: keys of one column share a hue,
    // keys twelve columns apart do not.
    const QColor column0 = keyColour(1022);
    EXPECT_GT(saturation(column0), 80) << column0.name().toStdString();
    EXPECT_LT(distance(column0, keyColour(1082)), 30);
    EXPECT_GT(distance(column0, keyColour(1040)), 150);

    selectEffect(17);
    click(1196);  // green
    tick();
    save("lighting_view_effect17");
    // Effect 17 has no preview: every key of the key view goes dark.
    for (const KeyViewKey& key : kKeyViewKeys) {
        const QColor c = keyColour(key.controlId);
        EXPECT_LT(saturation(c), 20) << key.controlId << ' ' << c.name().toStdString();
    }

    selectEffect(20);
    QColor answer(255, 130, 0);
    panel().setColourChooser(
        [&](QWidget*, const QColor&, const QString&) { return std::optional<QColor>(answer); });
    click(1162);  // base colour orange
    click(1164);  // colour brush
    answer = QColor(0, 170, 255);
    click(1160);
    for (int id : {1044, 1045, 1046, 1059, 1058, 1060, 1022})  // Q W E A S D Esc
        QTest::mouseClick(&button(id), Qt::LeftButton);
    save("lighting_view_effect20");
    // Q is painted blue, R keeps the orange base colour.
    const QColor q = keyColour(1044);
    const QColor r = keyColour(1047);
    EXPECT_GT(q.blue(), q.red()) << q.name().toStdString();
    EXPECT_GT(r.red(), r.blue()) << r.name().toStdString();
}

TEST_F(LightingScreenshotTest, ColourDialog) {
    open({1});
    auto colourDialog = lighting::qt::makeLightingColourDialog(
        dialog.get(), QColor(255, 130, 0),
        QString::fromStdString(lookupText("KEYLOOM_LIGHT_COLOUR_DIALOG")));
    colourDialog->show();
    ASSERT_TRUE(pumpUntil([&] { return colourDialog->isVisible(); }));
    const QImage shot = colourDialog->grab().toImage();
    EXPECT_TRUE(shot.save(screenshotPath("lighting_colour_dialog")));
    // The colour it was opened with is shown in its swatch.
    int orange = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            orange += shot.pixelColor(x, y) == QColor(255, 130, 0);
    EXPECT_GE(orange, 100);
    colourDialog->close();
}

TEST_F(LightingScreenshotTest, PreviewStrips) {
    open({1, 3, 6, 10, 14, 18});
    viewOn();
    // Frames left to right, then the next row; every fourth tick.
    constexpr int kColumns = 3;
    constexpr int kRows = 2;
    constexpr int kTicksBetween = 4;
    constexpr int kGap = 6;
    for (std::uint8_t effect : {1, 3, 6, 10, 14, 18}) {
        selectEffect(effect);
        const QRect area = keyViewArea();
        const QSize cell = area.size() / 2;
        QImage strip(kColumns * (cell.width() + kGap) + kGap, kRows * (cell.height() + kGap) + kGap,
                     QImage::Format_RGB32);
        strip.fill(QColor(0x0c, 0x0e, 0x11));
        QPainter painter(&strip);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        int changes = 0;
        QImage previous;
        for (int frame = 0; frame < kColumns * kRows; ++frame) {
            for (int t = 0; t < kTicksBetween; ++t)
                tick();
            const QImage shot = dialog->grab(area).toImage();
            changes += frame > 0 && shot != previous;
            previous = shot;
            const QPoint at(kGap + (frame % kColumns) * (cell.width() + kGap),
                            kGap + (frame / kColumns) * (cell.height() + kGap));
            painter.drawImage(QRect(at, cell), shot);
        }
        painter.end();
        EXPECT_TRUE(strip.save(screenshotPath("preview_strip_effect" + std::to_string(effect))));
        // The static rainbow rings of effect 6 stand still; the others move
        // from every frame to the next.
        EXPECT_EQ(changes, effect == 6 ? 0 : kColumns * kRows - 1) << int(effect);
    }
}

}  // namespace
}  // namespace keyloom::testing
