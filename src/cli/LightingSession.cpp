#include "cli/LightingSession.h"

#include <charconv>
#include <cstdio>

#include "cli/ResultText.h"

namespace keyloom::cli {

bool LightingSession::open() {
    if (!keyboard_.open())
        return false;
    KeyloomCore& core = keyboard_.core();
    const AppPaths& paths = core.paths();
    transport_ = std::make_unique<DeviceLinkTransport>(core.link());
    controller_ = std::make_unique<LightingController>(
        *transport_,
        LightingPaths{paths.userModeFilePrefix, paths.userModeTemplatePrefix, paths.settingsFile},
        LightingWriter::Mode::Synchronous, [this](DeviceResult code) {
            if (!failure_)
                failure_ = code;
        });
    controller_->recordsRead(core.parameterBlock(), core.profileRecords(), true);
    controller_->setLightingProfile(core.lightingProfile());
    if (controller_->supportsPerKeyColours()) {
        // As the window after its full read; the colours the keyboard holds
        // are those of the file already, so nothing is sent here.
        controller_->loadUserMode(controller_->lightingProfile(), false);
        controller_->markBaseGroup();
    }
    return true;
}

int LightingSession::finish(const std::string& done) {
    if (!controller_->flush())
        return fail(context_, "the keyboard did not take the change in time");
    if (failure_)
        return fail(context_,
                    "the keyboard did not take the change (" + describeResult(*failure_) + ")");
    std::fprintf(context_.out, "%s\n", done.c_str());
    return kExitOk;
}

std::optional<Rgb> parseRgb(std::string_view text) {
    unsigned value = 0;
    if (text.size() != 6)
        return std::nullopt;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return Rgb{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
               static_cast<std::uint8_t>(value)};
}

std::string rgbHex(Rgb colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", colour.red, colour.green, colour.blue);
    return text;
}

}  // namespace keyloom::cli
