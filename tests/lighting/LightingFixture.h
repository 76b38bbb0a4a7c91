#pragma once
// A lighting controller writing through the device link to a simulated
// keyboard, with a private data folder. Checks go against the requests the
// keyboard received and the files in the folder.

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "device/DeviceLink.h"
#include "lighting/LightingController.h"
#include "lighting/LightingTransport.h"
#include "sim/SimBackend.h"
#include "support/RuntimeFolder.h"
#include "support/SimKeyboardLog.h"
#include "support/TempDir.h"

namespace keyloom::testing {

// A parameter block listing `effects`.
inline ParameterBlock blockWithEffects(std::initializer_list<std::uint8_t> effects) {
    ParameterBlock block;
    std::size_t i = ParameterBlock::kEffectListOffset;
    for (std::uint8_t effect : effects)
        block.bytes[i++] = effect;
    return block;
}

class LightingFixture : public ::testing::Test {
protected:
    void SetUp() override {
        keyboard = backend->addKeyboard(sim::kModel652F);
        platform.addBackend(backend);
        ASSERT_TRUE(link.openConfigurationDevice(keyboard->configPath()));
        link.setConnected(true);
    }

    LightingPaths paths() const {
        return {dir.file("UserDengColor_"), dir.file("Skins/UserDengColor_"), dir.file("tzkb.ini")};
    }
    std::string userFile(int profile) const {
        return userModeFilePath(paths().userModeFilePrefix, profile);
    }

    // A synchronous controller on lighting profile `profile` of a keyboard
    // listing `block`'s effects, with `effect` current.
    LightingController& makeController(
        int profile = 1,
        const ParameterBlock& block = blockWithEffects({1, 2, 3, 4, 5, 6, 7, 12, 16, 17, 18, 20}),
        std::uint8_t effect = 1) {
        controller = std::make_unique<LightingController>(transport, paths(),
                                                          LightingWriter::Mode::Synchronous);
        ProfileRecords records{};
        records[static_cast<std::size_t>(profile)].bytes[ProfileRecord::kEffect] = effect;
        controller->recordsRead(block, records, true);
        controller->setLightingProfile(profile);
        clearReceived(*keyboard);
        return *controller;
    }

    std::vector<Request> received() { return requestsReceived(*keyboard); }
    void clearLog() { clearReceived(*keyboard); }

    RuntimeFolder runtime;
    TempDir dir;
    std::shared_ptr<sim::SimBackend> backend = std::make_shared<sim::SimBackend>();
    std::shared_ptr<sim::SimKeyboard> keyboard;
    hid::HidPlatform platform;
    ReportTrace trace;
    DeviceLink link{platform, trace};
    DeviceLinkTransport transport{link};
    std::unique_ptr<LightingController> controller;
};

// The writes between one begin and one end; fails the test when the requests
// are not exactly one such bracket.
struct Written {
    std::uint8_t command;
    std::uint16_t offset;
    std::vector<std::uint8_t> data;
    friend bool operator==(const Written&, const Written&) = default;
};

inline std::vector<Written> oneBracket(const std::vector<Request>& requests) {
    std::vector<Written> out;
    EXPECT_GE(requests.size(), 2u);
    if (requests.size() < 2)
        return out;
    EXPECT_EQ(requests.front().command, 1);
    EXPECT_EQ(requests.back().command, 2);
    for (std::size_t i = 1; i + 1 < requests.size(); ++i)
        out.push_back({requests[i].command, requests[i].offset, requests[i].data});
    return out;
}

inline std::ostream& operator<<(std::ostream& os, const Written& w) {
    os << "cmd " << int(w.command) << " @" << w.offset << " [";
    for (std::uint8_t b : w.data)
        os << int(b) << ' ';
    return os << ']';
}

}  // namespace keyloom::testing
