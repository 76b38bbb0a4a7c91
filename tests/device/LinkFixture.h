#pragma once
// A DeviceLink connected to a fake keyboard whose replies echo the request's
// header and fill the data with (offset + i) & 0xFF, so tests can see which
// chunk a reply belongs to.

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "FakeHid.h"
#include "TestDescriptors.h"
#include "device/DeviceLink.h"
#include "support/RuntimeFolder.h"
#include "support/TempDir.h"

namespace keyloom::testing {

inline const std::string kKeyboardPath = "fake:kb0#vid_0c45&pid_652f&mi_01";

// Reply of a cooperative keyboard to `request`.
inline std::optional<Bytes> patternReply(const Bytes& request) {
    Bytes reply(request.begin(), request.begin() + 8);
    reply.resize(64);
    reply[7] = 0;
    const unsigned offset = request[5] | request[6] << 8;
    for (unsigned i = 0; i < 56; ++i)
        reply[8 + i] = static_cast<std::uint8_t>(offset + i);
    return reply;
}

class LinkFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform.addBackend(backend);
        keyboard = backend->add(kKeyboardPath, kVendorDescriptor, 0x0C45, 0x652F);
        keyboard->setResponder(patternReply);
        link = std::make_unique<DeviceLink>(platform, trace);
        ASSERT_TRUE(link->openConfigurationDevice(kKeyboardPath));
        link->setConnected(true);
    }

    RuntimeFolder runtimeDir;
    std::shared_ptr<FakeBackend> backend = std::make_shared<FakeBackend>();
    hid::HidPlatform platform;
    ReportTrace trace;
    std::shared_ptr<FakeInterface> keyboard;
    std::unique_ptr<DeviceLink> link;
};

inline unsigned offsetOf(const Bytes& report) {
    return report[5] | report[6] << 8;
}

}  // namespace keyloom::testing
