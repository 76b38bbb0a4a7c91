#include <gtest/gtest.h>

#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <set>

#include "TestPictures.h"
#include "controls/CSkinButton.h"
#include "controls/CSkinButtonLayer.h"

namespace keyloom::controls {
namespace {

using keyloom::testing::patternPicture;

// A window with a picture of its own, so that a gap the layer paints over
// by mistake shows.
class Backdrop : public QWidget {
public:
    Backdrop() : picture_(patternPicture(220, 90, 9)) { resize(picture_.size()); }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, picture_); }

private:
    QImage picture_;
};

class SkinButtonLayerTest : public ::testing::Test {
protected:
    SkinButtonLayerTest() {
        const SkinPictureSet pictures{QPixmap::fromImage(patternPicture(220, 90, 0)),
                                      QPixmap::fromImage(patternPicture(220, 90, 1)),
                                      QPixmap::fromImage(patternPicture(220, 90, 2)),
                                      QPixmap::fromImage(patternPicture(220, 90, 3)),
                                      QPixmap::fromImage(patternPicture(220, 90, 4))};
        for (int i = 0; i < 3; ++i) {
            auto& key = keys_.emplace_back(std::make_unique<CSkinButton>(&window_));
            key->setGeometry(10 + 70 * i, 20, 50, 40);
            key->setPictures(pictures, key->pos() + QPoint(1, 1));
        }
        layer_ = std::make_unique<CSkinButtonLayer>(
            std::vector<CSkinButton*>{keys_[0].get(), keys_[1].get(), keys_[2].get()});
        window_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window_));
        layer_->setActive(true);
    }

    // What the window's backing store holds: the pixels the window system
    // is given, painted incrementally as the program repaints.
    QImage onScreen() {
        QCoreApplication::processEvents();
        return window_.screen()
            ->grabWindow(window_.winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    // After a change painted by the layer, the window looks as it does when
    // the buttons paint themselves.
    ::testing::AssertionResult looksAsWithoutLayer() {
        const QImage layered = onScreen();
        layer_->setActive(false);
        const QImage own = onScreen();
        layer_->setActive(true);
        if (layered.isNull() || layered != own)
            return ::testing::AssertionFailure() << "the layer paints something else";
        return ::testing::AssertionSuccess();
    }

    Backdrop window_;
    std::vector<std::unique_ptr<CSkinButton>> keys_;
    std::unique_ptr<CSkinButtonLayer> layer_;
};

TEST_F(SkinButtonLayerTest, PaintsWhatTheButtonsWouldThroughEveryKindOfChange) {
    EXPECT_TRUE(looksAsWithoutLayer());
    const std::vector<std::pair<const char*, std::function<void()>>> changes{
        {"tint", [&] { keys_[0]->setFaceTint(0xff0000); }},
        {"two tints",
         [&] {
             keys_[1]->setFaceTint(0x0000ff);
             keys_[0]->setFaceTint(0x00ff00);
         }},
        {"press", [&] { keys_[2]->setDown(true); }},
        {"outline", [&] { keys_[1]->setOutline(0xffff00); }},
        {"untint", [&] { keys_[0]->setFaceTint(std::nullopt); }},
        {"hide", [&] { keys_[2]->hide(); }},
        {"move", [&] { keys_[0]->move(5, 45); }},
    };
    for (const auto& [what, change] : changes) {
        change();
        EXPECT_TRUE(looksAsWithoutLayer()) << what;
    }
}

TEST_F(SkinButtonLayerTest, TheMouseReachesTheButtonsBeneath) {
    ASSERT_TRUE(layer_->isVisible());
    for (const auto& key : keys_)
        EXPECT_EQ(window_.childAt(key->geometry().center()), key.get());
}

// A batch asks for the buttons' own places, whether few (one by one) or many
// (joined): the rectangle around them would repaint the keys in between.
TEST(SkinButtonLayerBatch, RepaintsOnlyTheButtonsAskedFor) {
    Backdrop window;
    const SkinPictureSet pictures{QPixmap::fromImage(patternPicture(220, 90, 0)), {}, {}, {}, {}};
    std::vector<std::unique_ptr<CSkinButton>> keys;
    std::vector<CSkinButton*> buttons;
    std::set<std::size_t> painted;
    for (std::size_t i = 0; i < 20; ++i) {
        auto& key = keys.emplace_back(std::make_unique<CSkinButton>(&window));
        key->setGeometry(5 + 21 * static_cast<int>(i % 10), 10 + 40 * static_cast<int>(i / 10), 18,
                         30);
        key->setPictures(pictures, key->pos());
        QObject::connect(key.get(), &CSkinButton::painted, key.get(),
                         [&painted, i] { painted.insert(i); });
        buttons.push_back(key.get());
    }
    CSkinButtonLayer layer(buttons);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    layer.setActive(true);
    const std::vector<std::set<std::size_t>> asks{{0, 19}, {0, 2, 4, 6, 8, 11, 13, 15, 17, 19}};
    for (const auto& ask : asks) {
        QTest::qWait(10);  // the layer's own first paint of every button
        painted.clear();
        {
            const CSkinButtonLayer::Batch batch(&layer);
            for (std::size_t i : ask)
                keys[i]->setFaceTint(0x102030 + static_cast<Rgb>(ask.size()));
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(painted, ask) << ask.size() << " places";
    }
}

}  // namespace
}  // namespace keyloom::controls
