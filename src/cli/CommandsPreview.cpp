// keyloomctl preview: the frames the window's lighting preview would draw,
// as JSON or as a key grid in the terminal.

#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "cli/KeySyntax.h"
#include "device/ProtocolResult.h"
#include "lighting/HueCircle.h"
#include "lighting/PerKeyColours.h"
#include "lighting/PreviewEngine.h"
#include "lighting/UserModeFile.h"
#include "model/KeyViewKeys.h"
#include "storage/AppPaths.h"

namespace keyloom::cli {

namespace {

using lighting::PreviewEngine;
using lighting::PreviewFrame;

constexpr long long kMaxFrames = 1000;  // 50 seconds of preview
constexpr std::uint8_t kDirectionLeft = 255;
constexpr std::uint8_t kDirectionRight = 0;
constexpr std::uint32_t kWhite = 0x00FFFFFF;

// Preview slots are the colour slots of the key buttons and Fn.
using KeyColours = std::array<Rgb, lighting::kPreviewKeyCount>;
static_assert(lighting::kPreviewKeyCount <= kKeySlotCount);

struct PreviewRequest {
    int effect = 0;
    std::optional<bool> colourful;
    std::optional<std::uint32_t> colour;  // 0x00BBGGRR
    std::optional<std::uint8_t> direction;
    long long frames = 1;
    std::uint64_t seed = PreviewEngine::kDefaultSeed;
};

template <typename Number>
bool parseDecimal(std::string_view text, Number& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

// RRGGBB as 0x00BBGGRR.
std::optional<std::uint32_t> parseColour(std::string_view text) {
    unsigned value = 0;
    if (text.size() != 6)
        return std::nullopt;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return ((value >> 16) & 0xFF) | (value & 0xFF00) | ((value & 0xFF) << 16);
}

// Reads the command's arguments; on failure returns the message.
std::optional<std::string> parseRequest(const std::vector<std::string>& args,
                                        PreviewRequest& request) {
    bool haveEffect = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::string_view name = arg;
        std::string value;
        bool hasValue = false;
        if (arg.starts_with("--")) {
            if (auto equals = arg.find('='); equals != std::string_view::npos) {
                name = arg.substr(0, equals);
                value = std::string(arg.substr(equals + 1));
                hasValue = true;
            } else if (i + 1 < args.size()) {
                value = args[++i];
                hasValue = true;
            }
            if (!hasValue)
                return std::string(name) + " needs a value";
        }
        if (name == "--colourful") {
            if (value != "on" && value != "off")
                return "--colourful takes on or off, not '" + value + "'";
            request.colourful = value == "on";
        } else if (name == "--colour") {
            request.colour = parseColour(value);
            if (!request.colour)
                return "--colour takes RRGGBB (six hex digits), not '" + value + "'";
        } else if (name == "--direction") {
            if (value != "left" && value != "right")
                return "--direction takes left or right, not '" + value + "'";
            request.direction = value == "left" ? kDirectionLeft : kDirectionRight;
        } else if (name == "--frames") {
            if (!parseDecimal(value, request.frames) || request.frames < 1 ||
                request.frames > kMaxFrames)
                return "--frames takes a number from 1 to " + std::to_string(kMaxFrames) +
                       ", not '" + value + "'";
        } else if (name == "--seed") {
            if (!parseDecimal(value, request.seed))
                return "--seed takes a whole number from 0 to 18446744073709551615, not '" + value +
                       "'";
        } else if (arg.starts_with("--")) {
            return "unknown option " + std::string(name);
        } else if (!haveEffect) {
            if (!parseDecimal(arg, request.effect) || !lighting::isPreviewEffect(request.effect))
                return "EFFECT must be 1-18 or 20, not '" + std::string(arg) + "'";
            haveEffect = true;
        } else {
            return "unexpected argument '" + std::string(arg) + "'";
        }
    }
    if (!haveEffect)
        return std::string("preview needs an EFFECT (1-18 or 20)");
    return std::nullopt;
}

// Effect 20's key colours: the profile's user mode, read from its file as
// the lighting loads it; nothing is sent.
void readKeyColours(ReadOnlyKeyboard& keyboard, const AppPaths& paths, int profile,
                    std::optional<KeyColours>& colours) {
    if (!keyboard.parameters().supportsPerKeyColours())
        return;
    PerKeyColours perKey;
    perKey.load(profile, readUserModeFile(userModeFilePath(paths.userModeFilePrefix, profile)));
    colours.emplace();
    for (std::size_t slot = 0; slot < colours->size(); ++slot)
        (*colours)[slot] = perKey.keyColour(profile, colourKeys()[slot].controlId);
}

// The lighting state of the keyboard's active profile and its key colours,
// read without writing anything. False, with a note printed, when the state
// cannot be read.
bool readKeyboardState(CliContext& context, const AppPaths& paths, LightingState& state,
                       std::optional<KeyColours>& keyColours) {
    ReadOnlyKeyboard keyboard;
    if (!keyboard.open(context))
        return false;
    std::uint8_t profile = keyboard.parameters().activeProfile();
    if (profile >= ProfileRecord::kProfileCount)
        profile = 0;
    std::array<std::uint8_t, kMaxReportData> reply{};
    ProfileRecord record;
    if (keyboard.link().ReadProfileSettings(
            reply, kMaxReportData, static_cast<std::uint16_t>(profile * ProfileRecord::kSize)) !=
            result::Success ||
        !record.assign(reply)) {
        fail(context, "could not read the keyboard's lighting record");
        return false;
    }
    decodeLightingState(record, state);
    readKeyColours(keyboard, paths, profile, keyColours);
    return true;
}

// The state the frames are drawn from: the keyboard's when one is there (or
// simulated), else colourful white running left; the options override it.
// Picking a colour turns multicolour off, as in the window. Effect 20 shows
// the keyboard's per-key colours, else every key in the main colour.
LightingState previewState(CliContext& context, const AppPaths& paths,
                           const PreviewRequest& request, std::optional<KeyColours>& keyColours) {
    LightingState state;
    state.colourful = true;
    state.mainColour = kWhite;
    state.direction = kDirectionLeft;
    if (!context.options.simulate.empty() || keyboardPresent(context)) {
        LightingState fromKeyboard = state;
        if (readKeyboardState(context, paths, fromKeyboard, keyColours))
            state = fromKeyboard;
        else
            std::fprintf(context.err, "keyloomctl: previewing the default lighting state\n");
    }
    state.effect = static_cast<std::uint8_t>(request.effect);
    if (request.colour) {
        state.mainColour = *request.colour;
        state.colourful = false;
    }
    if (request.colourful)
        state.colourful = *request.colourful;
    if (request.direction)
        state.direction = *request.direction;
    return state;
}

std::string hexOf(Rgb colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", colour.red, colour.green, colour.blue);
    return text;
}

// The name keyloomctl assign takes for the key at a preview slot.
std::string keyNameOf(std::size_t slot) {
    if (slot == lighting::kFnSlot)
        return "Fn";
    return assignableName(foldedScanCode(kKeyViewKeys[slot].scanCode));
}

void printJson(std::FILE* out, int effect, const std::vector<PreviewFrame>& frames) {
    std::vector<std::string> names;
    for (std::size_t slot = 0; slot < lighting::kPreviewKeyCount; ++slot)
        names.push_back(keyNameOf(slot));
    JsonWriter json(out);
    json.beginObject();
    json.field("effect", effect);
    json.beginArray("frames");
    for (const PreviewFrame& frame : frames) {
        json.beginObject();
        for (std::size_t slot = 0; slot < lighting::kPreviewKeyCount; ++slot)
            json.field(names[slot], hexOf(frame.colours[slot]));
        json.endObject();
    }
    json.endArray();
    json.endObject();
    json.finish();
}

// The key grid, one line per row: colour blocks on a terminal, hex codes
// ("......" for a cell without a key) otherwise.
void printGrid(std::FILE* out, const std::vector<PreviewFrame>& frames) {
    const bool terminal = isatty(fileno(out)) == 1;
    for (std::size_t f = 0; f < frames.size(); ++f) {
        std::fprintf(out, "frame %zu\n", f);
        for (std::size_t row = 0; row < lighting::kGridRows; ++row) {
            for (std::size_t column = 0; column < lighting::kGridColumns; ++column) {
                const std::uint8_t slot = lighting::gridSlot(row, column);
                if (slot == lighting::kNoSlot) {
                    std::fputs(terminal ? "   " : " ......", out);
                    continue;
                }
                const Rgb colour = frames[f].colours[slot];
                if (terminal)
                    std::fprintf(out, "\x1b[48;2;%u;%u;%um   \x1b[0m", colour.red, colour.green,
                                 colour.blue);
                else
                    std::fprintf(out, " %s", hexOf(colour).c_str());
            }
            std::fputc('\n', out);
        }
    }
}

}  // namespace

int runPreview(CliContext& context) {
    PreviewRequest request;
    if (auto error = parseRequest(context.options.args, request))
        return usageError(context, *error);
    AppPaths paths;  // key names come from the language file
    if (!setUpProgramFiles(context, paths))
        return kExitFailure;
    std::optional<KeyColours> keyColours;
    const LightingState state = previewState(context, paths, request, keyColours);
    if (!keyColours) {
        keyColours.emplace();
        keyColours->fill(lighting::rgbOfColour(state.mainColour));
    }

    PreviewEngine engine(request.seed);
    std::vector<PreviewFrame> frames;
    frames.reserve(static_cast<std::size_t>(request.frames));
    for (long long i = 0; i < request.frames; ++i)
        frames.push_back(engine.tick(state, *keyColours));

    if (context.options.json)
        printJson(context.out, request.effect, frames);
    else
        printGrid(context.out, frames);
    return kExitOk;
}

}  // namespace keyloom::cli
