// keyloomctl commands that read or change the keyboard's configuration:
// dump-device, backup, restore, profile, assign, default, report-rate.

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "cli/KeySyntax.h"
#include "cli/MissingMacros.h"
#include "cli/ResultText.h"
#include "device/ProtocolResult.h"
#include "model/KeyMatrix.h"
#include "model/KeyMatrixCodec.h"
#include "model/ProfileRecord.h"
#include "platform/text/Hex.h"
#include "storage/ProfileFile.h"

namespace keyloom::cli {

namespace {

constexpr int kProfiles = 3;
constexpr std::size_t kMacroHeaderSize = 16;

bool parseSmallNumber(std::string_view text, int low, int high, int& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

// A report-rate step 0-3, or the rate in Hz of one.
std::optional<int> parseReportRateStep(std::string_view text) {
    int number = 0;
    if (parseSmallNumber(text, 0, ProfileRecord::kMaxReportRate, number))
        return number;
    const auto& rates = ProfileRecord::kReportRatesHz;
    if (!parseSmallNumber(text, rates.front(), rates.back(), number))
        return std::nullopt;
    const auto at = std::find(rates.begin(), rates.end(), number);
    if (at == rates.end())
        return std::nullopt;
    return static_cast<int>(at - rates.begin());
}

// The keyboard's areas as read by dump-device.
struct DeviceDump {
    ParameterBlock parameters;
    KeyMatrix defaultMatrix;
    KeyMatrix matrices[kProfiles];
    std::vector<std::uint8_t> records;  // 3 x 42 bytes
    std::vector<std::uint8_t> macroArea;
};

int readDeviceDump(CliContext& context, ReadOnlyKeyboard& keyboard, DeviceDump& dump) {
    DeviceLink& link = keyboard.link();
    dump.parameters = keyboard.parameters();
    if (!keyboard.readDefaultMatrix(dump.defaultMatrix))
        return fail(context, "could not read the default key matrix");
    for (int p = 0; p < kProfiles; ++p)
        if (DeviceResult status = link.ReadKeyMatrix(dump.matrices[p].bytes, p);
            status != result::Success)
            return fail(context, "could not read key matrix " + std::to_string(p + 1) + " (" +
                                     describeResult(status) + ")");
    for (int p = 0; p < kProfiles; ++p) {
        std::array<std::uint8_t, kMaxReportData> reply{};
        DeviceResult status = link.ReadProfileSettings(
            reply, kMaxReportData, static_cast<std::uint16_t>(p * ProfileRecord::kSize));
        if (status != result::Success)
            return fail(context,
                        "could not read the lighting records (" + describeResult(status) + ")");
        dump.records.insert(dump.records.end(), reply.begin(),
                            reply.begin() + ProfileRecord::kSize);
    }
    // The header says how much of the area is in use; never read past the capacity.
    const std::size_t capacity = dump.parameters.macroCapacity();
    if (capacity >= kMacroHeaderSize) {
        dump.macroArea.resize(kMacroHeaderSize);
        if (link.ReadMacroArea(dump.macroArea) != result::Success)
            return fail(context, "could not read the macro area");
        const std::size_t inUse =
            dump.macroArea[0] == 0xAA && dump.macroArea[1] == 0x55
                ? std::min<std::size_t>(dump.macroArea[2] | dump.macroArea[3] << 8, capacity)
                : kMacroHeaderSize;
        if (inUse > kMacroHeaderSize) {
            dump.macroArea.resize(inUse);
            if (link.ReadMacroArea(dump.macroArea) != result::Success)
                return fail(context, "could not read the macro area");
        }
    }
    return kExitOk;
}

void printHexBlock(std::FILE* out, const char* title, std::span<const std::uint8_t> bytes) {
    std::fprintf(out, "%s (%zu bytes):\n", title, bytes.size());
    for (std::size_t i = 0; i < bytes.size(); i += 32) {
        std::string line =
            text::toHex(bytes.subspan(i, std::min<std::size_t>(32, bytes.size() - i)));
        std::fprintf(out, "  %04zx  %s\n", i, line.c_str());
    }
}

}  // namespace

int runDumpDevice(CliContext& context) {
    if (!context.options.args.empty())
        return usageError(context, "dump-device takes no arguments");
    ReadOnlyKeyboard keyboard;
    if (!keyboard.open(context))
        return kExitFailure;
    DeviceDump dump;
    if (int status = readDeviceDump(context, keyboard, dump); status != kExitOk)
        return status;
    const std::size_t length = keyboard.link().modelValues().keyMatrixLength.load();
    auto matrix = [&](const KeyMatrix& m) {
        return std::span<const std::uint8_t>(m.bytes).first(std::min(length, m.bytes.size()));
    };
    if (context.options.json) {
        JsonWriter json(context.out);
        json.beginObject();
        json.field("parameterBlock", text::toHex(dump.parameters.bytes));
        json.field("defaultKeyMatrix", text::toHex(matrix(dump.defaultMatrix)));
        json.beginArray("keyMatrices");
        for (const KeyMatrix& m : dump.matrices)
            json.value(text::toHex(matrix(m)));
        json.endArray();
        json.beginArray("profileRecords");
        for (int p = 0; p < kProfiles; ++p)
            json.value(text::toHex(std::span<const std::uint8_t>(dump.records)
                                       .subspan(p * ProfileRecord::kSize, ProfileRecord::kSize)));
        json.endArray();
        json.field("macroArea", text::toHex(dump.macroArea));
        json.endObject();
        json.finish();
        return kExitOk;
    }
    printHexBlock(context.out, "Parameter block", dump.parameters.bytes);
    printHexBlock(context.out, "Default key matrix", matrix(dump.defaultMatrix));
    for (int p = 0; p < kProfiles; ++p)
        printHexBlock(context.out, ("Key matrix, profile " + std::to_string(p + 1)).c_str(),
                      matrix(dump.matrices[p]));
    for (int p = 0; p < kProfiles; ++p)
        printHexBlock(context.out, ("Profile record " + std::to_string(p + 1)).c_str(),
                      std::span<const std::uint8_t>(dump.records)
                          .subspan(p * ProfileRecord::kSize, ProfileRecord::kSize));
    printHexBlock(context.out, "Macro area in use", dump.macroArea);
    return kExitOk;
}

int runBackup(CliContext& context) {
    if (context.options.args.size() != 1)
        return usageError(context, "backup needs one FILE");
    AppPaths paths;
    if (!setUpProgramFiles(context, paths))
        return kExitFailure;
    ReadOnlyKeyboard keyboard;
    if (!keyboard.open(context))
        return kExitFailure;
    const std::string& file = context.options.args[0];
    const KeyboardDump dump = keyboard.dumpConfiguration(file);
    if (dump.device != result::Success)
        return fail(context, "could not read the keyboard's configuration (" +
                                 describeResult(dump.device) + "); " + file + " is unchanged");
    if (dump.file != FileResult::Ok)
        return fail(context, "could not write " + file);
    std::fprintf(context.out, "Backed up the keyboard's configuration to %s\n", file.c_str());
    return kExitOk;
}

int runRestore(CliContext& context) {
    if (context.options.args.size() != 1)
        return usageError(context, "restore needs one FILE");
    // A file the program cannot load is reported by the restore itself.
    if (StoreContents store; loadProfileFile(context.options.args[0], store) == FileResult::Ok &&
                             !refuseMissingMacros(context, store, context.options.args[0]))
        return kExitFailure;
    ConnectedKeyboard keyboard(context);
    if (!keyboard.open())
        return kExitFailure;
    std::string backup;
    switch (keyboard.core().restoreFromFile(context.options.args[0], &backup)) {
        case RestoreResult::Written:
            std::fprintf(context.out,
                         "What the keyboard held was saved to %s\n"
                         "Restored %s to all three profiles\n",
                         backup.c_str(), context.options.args[0].c_str());
            return kExitOk;
        case RestoreResult::NotWritten:
            return fail(context,
                        "the file was loaded but the keyboard was not written (what it "
                        "held before was saved to " +
                            backup + ")");
        case RestoreResult::InvalidFile:
        case RestoreResult::LoadFailed:
        case RestoreResult::BackupFailed:
            // The core's message has said why.
            return kExitFailure;
    }
    return kExitFailure;
}

int runProfile(CliContext& context) {
    if (context.options.args.size() > 1)
        return usageError(context, "profile takes at most one N");
    if (context.options.args.empty()) {
        ReadOnlyKeyboard keyboard;
        if (!keyboard.open(context))
            return kExitFailure;
        if (context.options.json)
            std::fprintf(context.out, "{\"activeProfile\": %d}\n",
                         keyboard.parameters().activeProfile() + 1);
        else
            std::fprintf(context.out, "%d\n", keyboard.parameters().activeProfile() + 1);
        return kExitOk;
    }
    int profile = 0;
    if (!parseSmallNumber(context.options.args[0], 1, kProfiles, profile))
        return usageError(context, "profiles are numbered 1-3");
    ConnectedKeyboard keyboard(context);
    if (!keyboard.open())
        return kExitFailure;
    if (!keyboard.core().switchActiveProfile(profile - 1) ||
        keyboard.core().areas().activeProfile() != profile - 1)
        return fail(context, "the keyboard did not switch to profile " + std::to_string(profile));
    std::fprintf(context.out, "Active profile: %d\n", profile);
    return kExitOk;
}

int runAssign(CliContext& context) {
    if (context.options.args.size() != 2)
        return usageError(context, "assign needs KEY and ACTION");
    auto entry = parseKeyEntry(context.options.args[0]);
    if (!entry)
        return usageError(context, "no such key: '" + context.options.args[0] + "'");
    ConnectedKeyboard keyboard(context);
    if (!keyboard.open())
        return kExitFailure;
    KeyloomCore& core = keyboard.core();
    const int active = core.areas().activeProfile();
    if (active < 0 || active >= kProfiles)
        return fail(context, "the active profile is not known");
    const KeyMatrix defaults = core.defaultMatrix();
    std::string description;
    std::string countNote;
    {
        EditTransaction working = core.edit(active);
        std::string error;
        auto parsed = parseAssignAction(context.options.args[1], *entry, working->macros, error);
        if (!parsed)
            return usageError(context, error);
        // The keyboard only ever receives the keys its default matrix has.
        if (!matrixCarriesEntry(defaults, *entry))
            return fail(context, "this keyboard has no " + entryName(*entry) +
                                     " key, so it cannot be given an action; nothing was changed");
        KeyAssignment& assignment = parsed->assignment;
        auto block = working->image->block(static_cast<std::size_t>(active));
        assignment.toggle = block[*entry].toggle;  // key-toggle marks belong to the window
        block[*entry] = assignment;
        // The play count belongs to the macro, as the key dialog's count box
        // sets it: every key that plays the macro plays it that often.
        if (parsed->count) {
            MacroRecord& macro = working->macros[*findMacroPosition(
                working->macros, static_cast<std::uint16_t>(assignment.value))];
            if (macro.playCount != *parsed->count)
                countNote = "; every key that plays macro " + std::to_string(macro.number) +
                            " now plays it " + std::to_string(*parsed->count) + " times";
            macro.playCount = static_cast<std::uint8_t>(*parsed->count);
        }
        description = describeAction(assignment, working->macros);
    }
    if (!keyboard.apply())
        return kExitFailure;
    std::fprintf(context.out, "Profile %d: %s -> %s%s\n", active + 1, entryName(*entry).c_str(),
                 description.c_str(), countNote.c_str());
    return kExitOk;
}

int runDefault(CliContext& context) {
    if (!context.options.args.empty())
        return usageError(context, "default takes no arguments");
    ConnectedKeyboard keyboard(context);
    if (!keyboard.open())
        return kExitFailure;
    // Running the command is the user's Yes to the program's question.
    keyboard.window().answer("MAIN_PROMPT_DEFAULT", window::MessageAnswer::Yes);
    if (!keyboard.core().restoreDefault())
        return fail(context, "the keys were not restored");
    std::fprintf(context.out, "Every key of profile %d is back to its default\n",
                 keyboard.core().areas().activeProfile() + 1);
    return kExitOk;
}

int runReportRate(CliContext& context) {
    const auto& rates = ProfileRecord::kReportRatesHz;
    if (context.options.args.size() > 1)
        return usageError(context, "report-rate takes at most one STEP or RATE");
    if (context.options.args.empty()) {
        ReadOnlyKeyboard keyboard;
        if (!keyboard.open(context))
            return kExitFailure;
        // The lighting profile, whose record holds the step, follows the active profile.
        const int profile = keyboard.parameters().activeProfile();
        LightingState lighting;
        if (DeviceResult status = readLightingState(keyboard.link(), profile, lighting);
            status != result::Success)
            return fail(context, "the report rate was not read (" + describeResult(status) + ")");
        const int step = lighting.reportRate;
        if (context.options.json)
            std::fprintf(context.out, "{\"profile\": %d, \"step\": %d, \"rateHz\": %d}\n",
                         profile + 1, step, rates[static_cast<std::size_t>(step)]);
        else
            std::fprintf(context.out, "Report rate step %d (%d Hz) on profile %d\n", step,
                         rates[static_cast<std::size_t>(step)], profile + 1);
        return kExitOk;
    }
    const std::optional<int> step = parseReportRateStep(context.options.args[0]);
    if (!step)
        return usageError(
            context, "report-rate takes a STEP of 0-3 or a RATE of 125, 250, 500 or 1000 (Hz)");
    ConnectedKeyboard keyboard(context);
    if (!keyboard.open())
        return kExitFailure;
    if (DeviceResult status = keyboard.core().writeReportRate(*step); status != result::Success)
        return fail(context, "the report rate was not written (" + describeResult(status) + ")");
    std::fprintf(context.out, "Report rate step %d (%d Hz) written to profile %d\n", *step,
                 rates[static_cast<std::size_t>(*step)], keyboard.core().lightingProfile() + 1);
    return kExitOk;
}

}  // namespace keyloom::cli
