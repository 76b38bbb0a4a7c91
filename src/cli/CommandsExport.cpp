// keyloomctl export and import: profile files as JSON and back.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/MissingMacros.h"
#include "model/DeviceAction.h"
#include "model/KeyWords.h"
#include "platform/fs/FileIo.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileJson.h"

namespace keyloom::cli {

namespace {

// A JSON form is text; anything larger than this is not one of ours.
constexpr std::size_t kJsonSizeLimit = 256u * 1024u * 1024u;

struct FileArguments {
    std::string input;
    std::optional<std::string> out;
};

// "INPUT [--out FILE]" in either order; nothing (usage printed) otherwise.
std::optional<FileArguments> parseFileArguments(const CliContext& context,
                                                std::string_view command) {
    FileArguments parsed;
    const auto& args = context.options.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--out" && i + 1 < args.size()) {
            parsed.out = args[++i];
        } else if (arg.rfind("--out=", 0) == 0) {
            parsed.out = arg.substr(6);
        } else if (!arg.empty() && arg[0] != '-' && parsed.input.empty()) {
            parsed.input = arg;
        } else {
            usageError(context, std::string(command) + ": unexpected argument '" + arg + "'");
            return std::nullopt;
        }
    }
    if (parsed.input.empty() || (parsed.out && parsed.out->empty())) {
        usageError(context, std::string(command) + " needs a FILE");
        return std::nullopt;
    }
    return parsed;
}

// The file keeps each delay as given; the keyboard holds delays in steps of
// 10 ms and bounds the longest, so each one it will change is named.
void warnAboutDelays(const CliContext& context, const StoreContents& store) {
    for (const MacroRecord& macro : store.macros) {
        const auto events = macro.storedActions();
        for (std::size_t e = 0; e < events.size(); ++e) {
            const std::uint32_t kept = delayUnitsOf(events[e].delayMs) * DeviceAction::kDelayUnitMs;
            if (kept == events[e].delayMs)
                continue;
            std::fprintf(context.err,
                         "keyloomctl: warning: macro %u, event %zu (%s): the keyboard keeps the "
                         "delay as %u ms\n",
                         macro.number, e + 1, words::eventWord(events[e]).c_str(), kept);
        }
    }
}

}  // namespace

int runExport(CliContext& context) {
    const auto args = parseFileArguments(context, "export");
    if (!args)
        return kExitUsage;
    std::vector<std::uint8_t> bytes;
    if (!fs::readFile(args->input, bytes, profile_file::kSizeLimit - 1))
        return fail(context, "cannot read " + args->input);
    std::string json;
    std::string error;
    if (!profileBytesToJson(bytes, json, error))
        return fail(context, args->input + ": " + error);
    if (!args->out) {
        std::fputs(json.c_str(), context.out);
        return kExitOk;
    }
    if (!fs::writeFileAtomically(*args->out, json))
        return fail(context, "cannot write " + *args->out);
    return kExitOk;
}

int runImport(CliContext& context) {
    const auto args = parseFileArguments(context, "import");
    if (!args)
        return kExitUsage;
    if (!args->out)
        return usageError(context, "import needs --out FILE.klm");
    std::vector<std::uint8_t> text;
    if (!fs::readFile(args->input, text, kJsonSizeLimit))
        return fail(context, "cannot read " + args->input);
    std::vector<std::uint8_t> bytes;
    std::string error;
    const std::string_view json(reinterpret_cast<const char*>(text.data()), text.size());
    if (!profileJsonToBytes(json, bytes, error))
        return fail(context, args->input + ": " + error + " (nothing written)");
    StoreContents store;
    if (loadProfileBytes(bytes, store) != FileResult::Ok)
        return fail(context, args->input + ": the profile file cannot be read (nothing written)");
    if (!refuseMissingMacros(context, store, args->input))
        return kExitFailure;
    warnAboutDelays(context, store);
    if (!fs::writeFileAtomically(*args->out, bytes))
        return fail(context, "cannot write " + *args->out);
    return kExitOk;
}

}  // namespace keyloom::cli
