#pragma once
// The main window on a simulated keyboard whose lighting profile starts with
// a chosen effect list and record, and the lighting panel on it. Writes are
// checked as the bytes the keyboard received.

#include <QComboBox>
#include <algorithm>
#include <initializer_list>
#include <vector>

#include "device/ConfigReport.h"
#include "lighting/qt/LightingPanel.h"
#include "shell/ShellFixture.h"
#include "support/SimKeyboardLog.h"

namespace keyloom::testing {

// One write between a begin and an end.
struct LightWrite {
    std::uint8_t command;
    std::uint16_t offset;
    std::vector<std::uint8_t> data;
    friend bool operator==(const LightWrite&, const LightWrite&) = default;
};

inline std::ostream& operator<<(std::ostream& os, const LightWrite& w) {
    os << "cmd " << int(w.command) << " @" << w.offset << " [";
    for (std::uint8_t b : w.data)
        os << ' ' << int(b);
    return os << " ]";
}

class PanelFixture : public ShellFixture {
protected:
    // Effect 1, brightness 4, speed 2, direction 255, colourful, white.
    static constexpr std::uint8_t kRecord[] = {1, 4, 2, 255, 1, 255, 255, 255};

    void open(std::initializer_list<std::uint8_t> effects, std::uint8_t effect = 1) {
        plugIn();
        keyboard->withFirmware([&](sim::SimFirmware& f) {
            auto& params = f.memory().parameters;
            std::fill(params.begin() + sim::kParameterEffectList, params.end(), 0);
            std::size_t i = sim::kParameterEffectList;
            for (std::uint8_t e : effects)
                params[i++] = e;
            std::copy(std::begin(kRecord), std::end(kRecord), f.memory().profileSettings.begin());
            f.memory().profileSettings[0] = effect;
        });
        createWindow();
        ASSERT_TRUE(waitConnected());
        ASSERT_TRUE(pumpUntil([&] { return dialog->isVisible(); }));
        ASSERT_TRUE(pumpUntil(
            [&] { return panel().effectList()->count() == static_cast<int>(effects.size()); }));
        clearReceived(*keyboard);
    }

    lighting::qt::LightingPanel& panel() { return *dialog->lightingPanel(); }
    LightingService::Access controller() { return panel().controller(); }

    void viewOn() {
        panel().clickLightingSwitch(true);
        ASSERT_TRUE(pumpUntil([&] { return panel().lightingViewOn() && !dialog->isBusy(); }));
        clearReceived(*keyboard);
    }

    void selectEffect(std::uint8_t effect) {
        const int position = controller()->effects().positionOf(effect);
        ASSERT_GE(position, 0) << int(effect);
        panel().effectList()->setCurrentIndex(position);
        emit panel().effectList()->activated(position);
    }

    // The writes the keyboard received since the last call, brackets left
    // out; once the keyboard queue has sent everything.
    std::vector<LightWrite> writes() {
        // Pumped, not waited for: a write that fails asks the window first.
        EXPECT_TRUE(
            pumpUntil([&] { return panel().flushKeyboardWork(std::chrono::milliseconds(0)); }));
        std::vector<LightWrite> out;
        for (const Request& r : requestsReceived(*keyboard))
            if (r.command != command::BeginTransfer && r.command != command::EndTransfer)
                out.push_back({r.command, r.offset, r.data});
        clearReceived(*keyboard);
        return out;
    }

    bool shown(int controlId) {
        QWidget* w = panel().control(controlId);
        EXPECT_NE(w, nullptr) << controlId;
        return w && w->isVisible();
    }

    void click(int controlId) {
        QWidget* w = panel().control(controlId);
        ASSERT_NE(w, nullptr) << controlId;
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }
};

}  // namespace keyloom::testing
