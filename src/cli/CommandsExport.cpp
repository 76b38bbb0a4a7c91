// keyloomctl export and import: profile files as JSON and back.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
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
    if (!fs::writeFileAtomically(*args->out, bytes))
        return fail(context, "cannot write " + *args->out);
    return kExitOk;
}

}  // namespace keyloom::cli
