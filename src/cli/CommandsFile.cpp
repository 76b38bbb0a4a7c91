// keyloomctl validate and show: profile files, and what the keyboard holds.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "cli/KeySyntax.h"
#include "cli/MacroOutput.h"
#include "cli/MissingMacros.h"
#include "cli/ResultText.h"
#include "model/AssignmentImage.h"
#include "platform/text/Utf16.h"
#include "storage/ProfileFile.h"

namespace keyloom::cli {

namespace {

constexpr std::size_t kShownProfiles = 3;

// False (message printed) when the file is not a valid profile file.
bool checkFile(CliContext& context, const std::string& path) {
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        fail(context, path + " does not exist");
        return false;
    }
    ProfileFileCheck check = validateProfileFile(path);
    if (check.valid())
        return true;
    if (!check.message.empty())
        fail(context, check.message);
    else if (check.code == profile_file::kCannotOpen)
        fail(context, "cannot open " + path);
    else
        fail(context, path + " is not a profile file");
    return false;
}

// Entries worth listing: everything but Default (the extra keys' fixed codes
// in the parameter field do not make an entry non-default).
bool assigned(const KeyAssignment& entry) {
    return entry.kind != AssignmentKind::Default;
}

// What the connected keyboard holds, as `backup` would write it to a file.
int readKeyboardContents(CliContext& context, StoreContents& store) {
    ReadOnlyKeyboard keyboard;
    if (!keyboard.open(context))
        return kExitFailure;
    const KeyboardDump dump = keyboard.dumpConfiguration();
    if (dump.device != result::Success)
        return fail(context, "could not read the keyboard's configuration (" +
                                 describeResult(dump.device) + ")");
    if (!dump.ok() || loadProfileBytes(dump.bytes, store) != FileResult::Ok)
        return fail(context, "could not read the keyboard's configuration");
    return kExitOk;
}

}  // namespace

int runValidate(CliContext& context) {
    if (context.options.args.size() != 1)
        return usageError(context, "validate needs one FILE");
    AppPaths paths;
    if (!setUpProgramFiles(context, paths))
        return kExitFailure;
    const std::string& path = context.options.args[0];
    if (!checkFile(context, path))
        return kExitFailure;
    StoreContents store;
    if (loadProfileFile(path, store) != FileResult::Ok)
        return fail(context, "cannot read " + path);
    if (!refuseMissingMacros(context, store, path))
        return kExitFailure;
    std::fprintf(context.out, "%s is a valid profile file\n", path.c_str());
    return kExitOk;
}

int runShow(CliContext& context) {
    if (context.options.args.size() > 1)
        return usageError(context, "show takes at most one FILE");
    AppPaths paths;
    if (!setUpProgramFiles(context, paths))
        return kExitFailure;
    StoreContents store;
    if (context.options.args.empty()) {
        if (int status = readKeyboardContents(context, store); status != kExitOk)
            return status;
    } else {
        const std::string& path = context.options.args[0];
        if (!checkFile(context, path))
            return kExitFailure;
        if (loadProfileFile(path, store) != FileResult::Ok)
            return fail(context, "cannot read " + path);
    }

    if (context.options.json) {
        JsonWriter json(context.out);
        json.beginObject();
        json.beginArray("profiles");
        for (std::size_t p = 0; p < kShownProfiles; ++p) {
            json.beginObject();
            json.field("profile", static_cast<int>(p + 1));
            json.beginArray("keys");
            auto block = store.image->block(p);
            for (std::size_t i = 0; i < block.size(); ++i) {
                if (!assigned(block[i]))
                    continue;
                json.beginObject();
                json.field("key", entryName(i));
                json.field("action", describeAction(block[i], store.macros));
                json.endObject();
            }
            json.endArray();
            json.endObject();
        }
        json.endArray();
        json.beginArray("macros");
        for (const MacroRecord& macro : store.macros) {
            writeMacroJson(json, macro);
        }
        json.endArray();
        json.endObject();
        json.finish();
        return kExitOk;
    }
    for (std::size_t p = 0; p < kShownProfiles; ++p) {
        std::fprintf(context.out, "Profile %zu:\n", p + 1);
        auto block = store.image->block(p);
        bool any = false;
        for (std::size_t i = 0; i < block.size(); ++i) {
            if (!assigned(block[i]))
                continue;
            any = true;
            std::fprintf(context.out, "  %-14s %s\n", entryName(i).c_str(),
                         describeAction(block[i], store.macros).c_str());
        }
        if (!any)
            std::fprintf(context.out, "  every key does its default\n");
    }
    std::fprintf(context.out, "Macros:%s\n", store.macros.empty() ? " none" : "");
    for (const MacroRecord& macro : store.macros) {
        std::fprintf(context.out, "  %3u  %s  (x%u):", macro.number,
                     text::utf16ToUtf8(macro.name).c_str(), macro.playCount);
        for (const MacroAction& action : macro.actions)
            std::fprintf(context.out, " %s", describeEvent(action).c_str());
        std::fprintf(context.out, "\n");
    }
    return kExitOk;
}

}  // namespace keyloom::cli
