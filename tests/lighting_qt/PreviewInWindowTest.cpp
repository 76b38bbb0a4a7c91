// The preview on the main window's key view: when its timer runs, what one
// tick repaints, and the strips of frames the effects draw.

#include <QPainter>
#include <set>

#include "lighting/PreviewGrid.h"
#include "lighting_qt/PanelFixture.h"
#include "model/KeyViewKeys.h"
#include "shell/MainControls.h"

namespace keyloom::testing {
namespace {

namespace control = shell::control;

class PreviewInWindowTest : public PanelFixture {
protected:
    QTimer& previewTimer() { return dialog->timer(window::timer::kStartup); }

    // One tick, with the timer held so that nothing ticks in between.
    void tick() {
        panel().previewTick();
        previewTimer().stop();
        QCoreApplication::processEvents();
    }

    std::map<int, std::optional<controls::Rgb>> tints() {
        std::map<int, std::optional<controls::Rgb>> out;
        for (const KeyViewKey& key : kKeyViewKeys)
            out[key.controlId] = button(key.controlId).faceTint();
        out[control::kFn] = button(control::kFn).faceTint();
        return out;
    }
};

TEST_F(PreviewInWindowTest, TimerRunsOnlyWhileTheViewIsOnAndTheWindowShows) {
    open({1, 3});
    ASSERT_TRUE(pumpUntil([&] { return !previewTimer().isActive(); }));
    viewOn();
    EXPECT_TRUE(previewTimer().isActive());
    // It keeps ticking every 50 ms.
    ASSERT_TRUE(pumpUntil([&] { return button(1058).faceTint().has_value(); }));
    EXPECT_TRUE(previewTimer().isActive());

    panel().clickLightingSwitch(false);
    EXPECT_FALSE(previewTimer().isActive());
    for (const auto& [id, tint] : tints())
        EXPECT_FALSE(tint) << id;

    viewOn();
    EXPECT_TRUE(previewTimer().isActive());
    dialog->hide();
    EXPECT_FALSE(previewTimer().isActive());
    QTest::qWait(120);
    EXPECT_FALSE(previewTimer().isActive());
    dialog->show();
    EXPECT_TRUE(previewTimer().isActive());
}

TEST_F(PreviewInWindowTest, OneTickRepaintsOnlyTheKeysWhoseColourChanged) {
    open({1, 6});
    viewOn();
    selectEffect(6);  // static rings: nothing changes after the first frame
    tick();
    EXPECT_EQ(panel().keysRepaintedLastTick(), lighting::kPreviewKeyCount);
    std::set<int> painted;
    for (const KeyViewKey& key : kKeyViewKeys)
        QObject::connect(&button(key.controlId), &controls::CSkinButton::painted,
                         &button(key.controlId),
                         [&painted, id = key.controlId] { painted.insert(id); });
    QCoreApplication::processEvents();
    painted.clear();
    tick();
    EXPECT_EQ(panel().keysRepaintedLastTick(), 0u);
    EXPECT_TRUE(painted.empty());

    selectEffect(1);  // the hue wave moves every tick
    tick();
    const auto before = tints();
    painted.clear();
    tick();
    const auto after = tints();
    std::set<int> changed;
    for (const auto& [id, tint] : after)
        if (before.at(id) != tint)
            changed.insert(id);
    EXPECT_FALSE(changed.empty());
    EXPECT_EQ(panel().keysRepaintedLastTick(), changed.size());
    for (int id : painted)
        EXPECT_TRUE(changed.count(id)) << id << " repainted without a change";
}

TEST_F(PreviewInWindowTest, EffectChangeStartsThePreviewOver) {
    open({1, 4});
    viewOn();
    selectEffect(4);
    tick();
    const auto first = tints();
    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_NE(tints(), first);
    selectEffect(1);
    selectEffect(4);
    tick();
    EXPECT_EQ(tints(), first);
}

}  // namespace
}  // namespace keyloom::testing
