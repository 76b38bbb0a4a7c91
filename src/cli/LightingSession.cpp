#include "cli/LightingSession.h"

#include <charconv>
#include <cstdio>

#include "cli/ResultText.h"

namespace keyloom::cli {

bool LightingSession::open() {
    // The full read of the connection leaves the core's lighting as the
    // window holds it: records, lighting profile and its user mode.
    if (!keyboard_.open())
        return false;
    toldAtOpen_ = keyboard_.window().told();
    return true;
}

int LightingSession::finish(const std::string& done) {
    if (!keyboard_.core().queue().flush())
        return fail(context_, "the keyboard did not take the change in time");
    if (const auto failure = keyboard_.lightingFailure())
        return fail(context_,
                    "the keyboard did not take the change (" + describeResult(*failure) + ")");
    // A running program tells a refused write in a message box, which has
    // been printed.
    if (keyboard_.window().told() != toldAtOpen_)
        return kExitFailure;
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
