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
    // The user-mode files are the only store of the key colours: a change
    // they could not take was not made.
    if (const auto failure = controller()->takeFileFailure()) {
        if (failure->kind == UserFileFailure::Kind::TemplateUnreadable)
            return fail(context_, "the user-mode template " + failure->path +
                                      " could not be read, so the key colours were not reset "
                                      "(the rest of the lighting was)");
        return fail(context_, "the user-mode file " + failure->path +
                                  " could not be written, so the key colours were left as they "
                                  "were and not sent");
    }
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
