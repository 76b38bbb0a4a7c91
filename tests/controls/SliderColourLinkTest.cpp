#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "controls/CColourButton.h"
#include "controls/CHyperlink.h"
#include "controls/CSkinSlider.h"

namespace keyloom::controls {
namespace {

// Face i is a flat picture of grey level i * 10.
std::vector<QPixmap> greyFaces(int count, QSize size) {
    std::vector<QPixmap> faces;
    for (int i = 0; i < count; ++i) {
        QPixmap face(size);
        face.fill(QColor(i * 10, i * 10, i * 10));
        faces.push_back(face);
    }
    return faces;
}

int shownFace(QWidget& widget) {
    return qRed(widget.grab().toImage().pixel(5, 5)) / 10;
}

TEST(SkinSlider, ClicksAndKeysMoveItAndAreAnnounced) {
    CSkinSlider slider;
    slider.resize(240, 32);
    slider.setRange(0, 4);
    slider.setFacePictures(greyFaces(26, {240, 32}));
    QSignalSpy moved(&slider, &CSkinSlider::positionChangedByUser);

    slider.setPosition(2);
    EXPECT_EQ(moved.count(), 0);
    EXPECT_EQ(shownFace(slider), 13);

    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(224, 16));
    EXPECT_EQ(slider.position(), 4);
    EXPECT_EQ(shownFace(slider), 25);
    QTest::keyClick(&slider, Qt::Key_Left);
    QTest::keyClick(&slider, Qt::Key_Home);
    QTest::keyClick(&slider, Qt::Key_Left);  // already at the start: nothing
    ASSERT_EQ(moved.count(), 3);
    EXPECT_EQ(moved.at(0).at(0).toInt(), 4);
    EXPECT_EQ(moved.at(1).at(0).toInt(), 3);
    EXPECT_EQ(moved.at(2).at(0).toInt(), 0);
    EXPECT_EQ(shownFace(slider), 0);
}

class ScriptedColourButton : public CColourButton {
public:
    std::optional<QColor> answer;
    QColor asked;

protected:
    std::optional<QColor> askForColour(const QColor& initial) override {
        asked = initial;
        return answer;
    }
};

TEST(ColourButton, OffersTheShownColourAndKeepsThePickedOne) {
    ScriptedColourButton button;
    button.resize(64, 32);
    button.setAutomaticColour(0x102030u);
    QSignalSpy chosen(&button, &CColourButton::colourChosen);

    button.answer = std::nullopt;  // cancelled
    button.click();
    EXPECT_EQ(button.asked, QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_FALSE(button.choice().hasChosen());

    button.answer = QColor(200, 100, 50);
    button.click();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).value<Rgb>(), 0xC86432u);
    EXPECT_EQ(button.colour(), 0xC86432u);
    // The swatch shows it.
    const QImage shown = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(32, 16), qRgb(200, 100, 50));
}

TEST(Hyperlink, ClickAnnouncesTheAddress) {
    CHyperlink link;
    link.setOpensUrl(false);
    link.setUrl("https://keyloom.app/");
    link.resize(200, 20);
    EXPECT_EQ(link.text(), "https://keyloom.app/");
    EXPECT_EQ(link.toolTip(), "https://keyloom.app/");
    link.setLinkText("Keyloom on the web");
    EXPECT_EQ(link.text(), "Keyloom on the web");

    QSignalSpy activated(&link, &CHyperlink::activated);
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(&link, Qt::RightButton, {}, QPoint(5, 5));
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated.at(0).at(0).toString(), "https://keyloom.app/");
}

}  // namespace
}  // namespace keyloom::controls
