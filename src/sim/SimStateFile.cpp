#include "sim/SimStateFile.h"

#include <array>
#include <vector>

#include "platform/text/Hex.h"

namespace keyloom::sim {

namespace {

constexpr std::string_view kMagic = "keyloom-sim-state";
constexpr std::string_view kVersion = "1";

constexpr std::array<std::string_view, 5> kAreaNames = {
    "parameters", "key-matrices", "profile-settings", "key-colours", "macro-area"};

void appendLine(std::string& out, std::string_view key, std::string_view value) {
    out.append(key);
    out.push_back(' ');
    out.append(value);
    out.push_back('\n');
}

// Splits "key value" at the first space.
bool splitLine(std::string_view line, std::string_view& key, std::string_view& value) {
    auto space = line.find(' ');
    key = line.substr(0, space);
    value = space == std::string_view::npos ? std::string_view{} : line.substr(space + 1);
    return !key.empty();
}

}  // namespace

std::string serializeState(const SimModel& model, const SimMemory& memory) {
    std::string out;
    out.reserve(2 * (memory.keyMatrices.size() + memory.macroArea.size() + 2048));
    appendLine(out, kMagic, kVersion);
    appendLine(out, "model", modelName(model));
    appendLine(out, "parameters", text::toHex(memory.parameters));
    appendLine(out, "key-matrices", text::toHex(memory.keyMatrices));
    appendLine(out, "profile-settings", text::toHex(memory.profileSettings));
    appendLine(out, "key-colours", text::toHex(memory.keyColours));
    appendLine(out, "macro-area", text::toHex(memory.macroArea));
    return out;
}

bool parseState(std::string_view text, const SimModel& model, SimMemory& memory,
                std::string& reason) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty())
            lines.push_back(line);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }

    std::string_view key, value;
    if (lines.empty() || !splitLine(lines[0], key, value) || key != kMagic) {
        reason = "not a simulated keyboard state file";
        return false;
    }
    if (value != kVersion) {
        reason = "format version " + std::string(value) + " is not supported";
        return false;
    }
    if (lines.size() < 2 || !splitLine(lines[1], key, value) || key != "model") {
        reason = "the model line is missing";
        return false;
    }
    if (value != modelName(model)) {
        reason = "it belongs to model " + std::string(value) + ", not " + modelName(model);
        return false;
    }

    std::array<std::vector<std::uint8_t>, kAreaNames.size()> areas;
    std::array<bool, kAreaNames.size()> seen{};
    for (std::size_t i = 2; i < lines.size(); ++i) {
        if (!splitLine(lines[i], key, value)) {
            reason = "line " + std::to_string(i + 1) + " is malformed";
            return false;
        }
        std::size_t area = 0;
        while (area < kAreaNames.size() && kAreaNames[area] != key)
            ++area;
        if (area == kAreaNames.size() || seen[area]) {
            reason = "line " + std::to_string(i + 1) + " is unexpected";
            return false;
        }
        seen[area] = true;
        if (!text::fromHex(std::string(value), areas[area])) {
            reason = "the " + std::string(key) + " line is not valid hex";
            return false;
        }
    }
    for (std::size_t area = 0; area < kAreaNames.size(); ++area) {
        if (!seen[area]) {
            reason = "the " + std::string(kAreaNames[area]) + " line is missing";
            return false;
        }
    }

    const auto& parameters = areas[0];
    const std::size_t expected[] = {
        kParameterBlockSize,
        std::size_t{3} * model.keyMatrixStride,
        kProfileSettingsSize,
        kKeyColourAreaSize,
        parameters.size() == kParameterBlockSize
            ? std::size_t{parameters[kParameterMacroCapacity]} * kMacroCapacityUnit
            : 0,
    };
    for (std::size_t area = 0; area < kAreaNames.size(); ++area) {
        if (areas[area].size() != expected[area]) {
            reason = "the " + std::string(kAreaNames[area]) + " line has the wrong length";
            return false;
        }
    }
    if (parameters[kParameterActiveProfile] >= kProfileCount) {
        reason = "the active profile is out of range";
        return false;
    }

    std::copy(parameters.begin(), parameters.end(), memory.parameters.begin());
    memory.keyMatrices = std::move(areas[1]);
    std::copy(areas[2].begin(), areas[2].end(), memory.profileSettings.begin());
    std::copy(areas[3].begin(), areas[3].end(), memory.keyColours.begin());
    memory.macroArea = std::move(areas[4]);
    return true;
}

}  // namespace keyloom::sim
