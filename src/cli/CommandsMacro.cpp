// keyloomctl macro list | set | delete: the macro editor's commit and the main
// window's Apply, from the command line.

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "cli/MacroOutput.h"
#include "model/AssignmentImage.h"
#include "model/KeyWords.h"
#include "platform/text/SafeFormat.h"
#include "platform/text/Utf16.h"
#include "storage/Language.h"

namespace keyloom::cli {

namespace {

constexpr std::uint32_t kMaxDelayMs = 40000;
constexpr std::uint32_t kDelayStepMs = 10;

bool parseUnsigned(std::string_view text, unsigned long& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// The delay the macro editor keeps for a typed one: at most 40000 ms, in the
// keyboard's steps of 10 ms (rounded down).
std::uint32_t keptDelay(std::uint32_t delayMs, bool tooLarge) {
    if (tooLarge || delayMs > kMaxDelayMs)
        return kMaxDelayMs;
    return delayMs / kDelayStepMs * kDelayStepMs;
}

// "KEY+DELAY" (press) or "KEY-DELAY" (release). A delay the keyboard cannot
// hold is changed as the macro editor changes it, and `notes` says so.
bool parseEvent(std::string_view text, MacroAction& action, std::vector<std::string>& notes,
                std::string& error) {
    const auto parsed = words::parseEventWord(text, error);
    if (!parsed)
        return false;
    if (KeyIndexOf(parsed->event.keyCode) == 0) {
        error = "unknown key name '" + std::string(text.substr(0, text.find_last_of("+-"))) + "'";
        return false;
    }
    action = parsed->event;
    action.delayMs = keptDelay(parsed->event.delayMs, parsed->delayTooLarge);
    const bool clamped = parsed->delayTooLarge || parsed->event.delayMs > kMaxDelayMs;
    if (clamped || action.delayMs != parsed->event.delayMs)
        notes.push_back(std::string(text) +
                        (clamped ? ": a delay is at most 40000 ms"
                                 : ": the keyboard counts delays in steps of 10 ms") +
                        "; kept as " + std::to_string(action.delayMs) + " ms");
    return true;
}

int listMacros(CliContext& context, ConnectedKeyboard& keyboard) {
    auto working = keyboard.core().workingStore().lock();
    if (context.options.json) {
        JsonWriter json(context.out);
        json.beginArray();
        for (const MacroRecord& macro : working->macros) {
            writeMacroJson(json, macro);
        }
        json.endArray();
        json.finish();
        return kExitOk;
    }
    if (working->macros.empty())
        std::fprintf(context.out, "No macros.\n");
    for (const MacroRecord& macro : working->macros) {
        std::fprintf(context.out, "%3u  %s  (x%u)\n", macro.number,
                     text::utf16ToUtf8(macro.name).c_str(), macro.playCount);
        for (const MacroAction& action : macro.actions)
            std::fprintf(context.out, "       %s\n", describeEvent(action).c_str());
    }
    return kExitOk;
}

// Replaces macro `macro.number`, or adds it as a new macro, which takes the
// smallest free number as the macro editor gives it.
int setMacro(CliContext& context, ConnectedKeyboard& keyboard, MacroRecord macro) {
    {
        EditTransaction working = keyboard.core().edit();
        auto at = findMacroPosition(working->macros, macro.number);
        if (at) {
            working->macros[*at] = macro;
        } else {
            macro.number = nextMacroNumber(working->macros);
            if (working->macros.size() >= MacroRecord::kMaxMacros)
                return fail(context,
                            text::formatInt(lookupText("MACRO_ERR_MAX"),
                                            static_cast<long long>(MacroRecord::kMaxMacros)));
            working->macros.push_back(macro);
        }
    }
    if (!keyboard.apply())
        return kExitFailure;
    std::fprintf(context.out, "Macro %u saved to the keyboard\n", macro.number);
    return kExitOk;
}

int deleteMacro(CliContext& context, ConnectedKeyboard& keyboard, std::uint16_t number) {
    bool referenced = false;
    {
        // Keys of other profiles that played it change too: the transaction
        // then has the write cover every profile.
        EditTransaction working = keyboard.core().edit();
        auto at = findMacroPosition(working->macros, number);
        if (!at)
            return usageError(context, "no macro numbered " + std::to_string(number) +
                                           " (see 'keyloomctl macro list')");
        working->macros.erase(working->macros.begin() + static_cast<long>(*at));
        // Keys of every profile that played it go back to Default.
        for (std::size_t block = 0; block < AssignmentImage::kBlockCount; ++block) {
            auto entries = working->image->block(block);
            for (std::size_t i = 0; i < entries.size(); ++i) {
                KeyAssignment& entry = entries[i];
                if (entry.kind != AssignmentKind::Macro || entry.value != number)
                    continue;
                KeyAssignment cleared;
                cleared.toggle = entry.toggle;
                if (i >= AssignmentImage::kFirstExtraKeyEntry &&
                    i < AssignmentImage::kFirstExtraKeyEntry + AssignmentImage::kExtraKeyEntryCount)
                    cleared.parameter =
                        extraKeyDefaultCode(i - AssignmentImage::kFirstExtraKeyEntry);
                entry = cleared;
                referenced = true;
            }
        }
    }
    if (!keyboard.apply())
        return kExitFailure;
    std::fprintf(context.out, "Macro %u deleted%s\n", number,
                 referenced ? "; keys that played it are back to Default in every profile" : "");
    return kExitOk;
}

}  // namespace

int runMacro(CliContext& context) {
    const auto& args = context.options.args;
    if (args.empty())
        return usageError(context, "macro needs list, set or delete");
    const std::string& verb = args[0];

    MacroRecord macro;
    unsigned long number = 0;
    if (verb == "list") {
        if (args.size() != 1)
            return usageError(context, "macro list takes no arguments");
    } else if (verb == "delete") {
        if (args.size() != 2 || !parseUnsigned(args[1], number) || number < 1 ||
            number > MacroRecord::kMaxNumber)
            return usageError(context, "macro delete needs a NUMBER of 1-100");
    } else if (verb == "set") {
        if (args.size() < 3 || !parseUnsigned(args[1], number) || number < 1 ||
            number > MacroRecord::kMaxNumber)
            return usageError(context, "macro set needs NUMBER (1-100), NAME and EVENTs");
        macro.number = static_cast<std::uint16_t>(number);
        macro.name = text::utf8ToUtf16(args[2]);
        // Refused rather than cut, which could split a character in two.
        if (macro.name.size() > MacroRecord::kMaxNameLength)
            return usageError(context,
                              "a macro name holds at most " +
                                  std::to_string(MacroRecord::kMaxNameLength) +
                                  " UTF-16 units (most characters take one, emoji two); this "
                                  "one takes " +
                                  std::to_string(macro.name.size()));
        std::vector<std::string> notes;
        for (std::size_t i = 3; i < args.size(); ++i) {
            if (args[i] == "--count") {
                unsigned long count = 0;
                if (i + 1 >= args.size() || !parseUnsigned(args[i + 1], count) || count < 1 ||
                    count > 255)
                    return usageError(context, "--count needs a number of 1-255");
                macro.playCount = static_cast<std::uint8_t>(count);
                ++i;
                continue;
            }
            MacroAction action;
            std::string error;
            if (!parseEvent(args[i], action, notes, error))
                return usageError(context, error);
            macro.actions.push_back(action);
        }
        if (macro.actions.empty())
            return usageError(context, "a macro needs at least one EVENT");
        if (macro.actions.size() > MacroRecord::kMaxActions)
            return usageError(context, "a macro holds at most 4000 events");
        for (const std::string& note : notes)
            std::fprintf(context.err, "keyloomctl: warning: %s\n", note.c_str());
    } else {
        return usageError(context, "unknown macro command '" + verb + "'");
    }

    ConnectedKeyboard keyboard(context);
    if (!keyboard.open())
        return kExitFailure;
    if (verb == "list")
        return listMacros(context, keyboard);
    if (verb == "delete")
        return deleteMacro(context, keyboard, static_cast<std::uint16_t>(number));
    return setMacro(context, keyboard, macro);
}

}  // namespace keyloom::cli
