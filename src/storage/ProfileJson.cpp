#include "storage/ProfileJson.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
#include <new>
#include <nlohmann/json.hpp>
#include <set>

#include "model/AssignmentImage.h"
#include "model/ConfigurationStore.h"
#include "model/ImageHeader.h"
#include "model/KeyWords.h"
#include "model/LittleEndian.h"
#include "platform/text/Utf16.h"
#include "storage/ProfileFile.h"

namespace keyloom {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::size_t kBlocks = AssignmentImage::kBlockCount;
constexpr std::size_t kPerBlock = AssignmentImage::kEntriesPerBlock;
// Differing bytes closer than this go into one patch.
constexpr std::size_t kPatchGap = 8;

constexpr std::string_view kHexDigits = "0123456789abcdef";

std::string toHex(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(2 * bytes.size());
    for (std::uint8_t byte : bytes) {
        out.push_back(kHexDigits[byte >> 4]);
        out.push_back(kHexDigits[byte & 0xF]);
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> fromHex(std::string_view text) {
    if (text.size() % 2 != 0)
        return std::nullopt;
    auto digit = [](char c) -> int {
        const auto at = kHexDigits.find(static_cast<char>(c | 0x20));
        return at == std::string_view::npos ? -1 : static_cast<int>(at);
    };
    std::vector<std::uint8_t> out;
    out.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = digit(text[i]);
        const int low = digit(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return out;
}

// ---- Export --------------------------------------------------------------

Json entryJson(std::size_t slot, const KeyAssignment& entry, const StringTable& texts) {
    const std::size_t index = slot % kPerBlock;
    Json out;
    out["key"] = words::entryWord(index);
    out["action"] = words::actionWord(entry, index);
    if (carriesText(entry.kind)) {
        if (const auto text = texts.text(slot))
            out["text"] = text::utf16ToUtf8(*text);
        else
            out["offset"] = entry.value;
    }
    if (!words::wordCarriesParameter(entry, index))
        out["parameter"] = entry.parameter;
    if (entry.toggle != 0)
        out["toggle"] = entry.toggle;
    if (entry.reserved != 0)
        out["reserved"] = entry.reserved;
    return out;
}

// The JSON form of loaded contents, without patches.
Json contentsJson(const StoreContents& store) {
    const ImageHeader& header = store.image->header();
    Json doc;
    doc["format"] = kProfileJsonFormat;
    doc["version"] = kProfileJsonVersion;
    doc["header"] = {{"flag", header.flag},
                     {"reserved20", header.reserved20},
                     {"reserved24", header.reserved24},
                     {"reserved28", header.reserved28}};

    const AssignmentImage fresh = AssignmentImage::fresh();
    Json profiles = Json::array();
    for (std::size_t block = 0; block < kBlocks; ++block) {
        Json keys = Json::array();
        for (std::size_t i = 0; i < kPerBlock; ++i) {
            const std::size_t slot = block * kPerBlock + i;
            const KeyAssignment& entry = store.image->entries()[slot];
            const KeyAssignment& blank = fresh.entries()[slot];
            const bool hasText = carriesText(entry.kind) && store.texts.text(slot);
            if (entry != blank || hasText)
                keys.push_back(entryJson(slot, entry, store.texts));
        }
        profiles.push_back({{"profile", block + 1}, {"keys", std::move(keys)}});
    }
    doc["profiles"] = std::move(profiles);

    Json macros = Json::array();
    for (const MacroRecord& macro : store.macros) {
        Json events = Json::array();
        for (const MacroAction& event : macro.actions)
            events.push_back(words::eventWord(event));
        // A play count of 0, which the keyboard would take as "never", is
        // written as 1; the patches keep the stored byte.
        Json item = {{"number", macro.number},
                     {"name", text::utf16ToUtf8(macro.name)},
                     {"playCount", std::max<unsigned>(macro.playCount, 1)}};
        if (macro.newFlag != 0)
            item["newFlag"] = macro.newFlag;
        item["events"] = std::move(events);
        macros.push_back(std::move(item));
    }
    doc["macros"] = std::move(macros);
    return doc;
}

// Macro numbers the JSON form would refuse (0, above 100, taken twice) are
// written as free numbers; the patches bring the stored ones back.
void renumberForExport(std::vector<MacroRecord>& macros) {
    std::set<std::uint16_t> taken;
    std::vector<MacroRecord*> clashing;
    for (MacroRecord& macro : macros) {
        if (macro.number >= 1 && macro.number <= MacroRecord::kMaxNumber &&
            taken.insert(macro.number).second)
            continue;
        clashing.push_back(&macro);
    }
    std::uint16_t next = 1;
    for (MacroRecord* macro : clashing) {
        while (taken.count(next) != 0)
            ++next;
        macro->number = next;
        taken.insert(next);
    }
}

// Runs of bytes where `built` differs from `original`, the bytes as in
// `original`; `built` has been sized like `original`.
Json patchesBetween(std::span<const std::uint8_t> built, std::span<const std::uint8_t> original) {
    Json patches = Json::array();
    std::size_t at = 0;
    while (at < original.size()) {
        if (built[at] == original[at]) {
            ++at;
            continue;
        }
        const std::size_t start = at;
        std::size_t end = at + 1;
        std::size_t same = 0;
        for (std::size_t i = end; i < original.size() && same < kPatchGap; ++i) {
            if (built[i] != original[i]) {
                end = i + 1;
                same = 0;
            } else {
                ++same;
            }
        }
        patches.push_back(
            {{"offset", start}, {"bytes", toHex(original.subspan(start, end - start))}});
        at = end;
    }
    return patches;
}

bool buildFromJson(const Json& doc, std::vector<std::uint8_t>& bytes, std::string& error);

// ---- Import --------------------------------------------------------------

// Walks a parsed document, keeping the JSON pointer of the place being read
// for the error message.
class JsonReader {
public:
    explicit JsonReader(std::string& error) : error_(error) {}

    bool fail(const std::string& path, const std::string& message) {
        error_ = (path.empty() ? std::string("/") : path) + ": " + message;
        return false;
    }

    // An object holding only `allowed` keys and every one of `required`.
    bool object(const Json& node, const std::string& path,
                std::initializer_list<std::string_view> required,
                std::initializer_list<std::string_view> optional = {}) {
        if (!node.is_object())
            return fail(path, "expected an object, found " + std::string(node.type_name()));
        for (const auto& [key, value] : node.items()) {
            const bool known = std::find(required.begin(), required.end(), key) != required.end() ||
                               std::find(optional.begin(), optional.end(), key) != optional.end();
            if (!known)
                return fail(path + "/" + key, "unknown field");
        }
        for (std::string_view key : required)
            if (!node.contains(key))
                return fail(path, "missing field '" + std::string(key) + "'");
        return true;
    }

    template <typename Number>
    bool number(const Json& node, const std::string& path, Number& out,
                std::uint64_t high = std::numeric_limits<Number>::max(), std::uint64_t low = 0) {
        const bool integral = node.is_number_unsigned() ||
                              (node.is_number_integer() && node.get<std::int64_t>() >= 0);
        if (!integral || node.get<std::uint64_t>() < low || node.get<std::uint64_t>() > high)
            return fail(path, "expected a whole number " + std::to_string(low) + "-" +
                                  std::to_string(high) + ", found " + node.dump());
        out = static_cast<Number>(node.get<std::uint64_t>());
        return true;
    }

    bool string(const Json& node, const std::string& path, std::string& out) {
        if (!node.is_string())
            return fail(path, "expected a string, found " + std::string(node.type_name()));
        out = node.get<std::string>();
        return true;
    }

    bool array(const Json& node, const std::string& path) {
        if (!node.is_array())
            return fail(path, "expected an array, found " + std::string(node.type_name()));
        return true;
    }

    // A text for a UTF-16 field: no NUL, which would end it in the file.
    bool utf16(const Json& node, const std::string& path, std::u16string& out) {
        std::string utf8;
        if (!string(node, path, utf8))
            return false;
        if (utf8.find('\0') != std::string::npos)
            return fail(path, "the text holds a NUL character");
        out = text::utf8ToUtf16(utf8);
        return true;
    }

private:
    std::string& error_;
};

bool readHeader(JsonReader& in, const Json& node, ImageHeader& header) {
    const std::string path = "/header";
    if (!in.object(node, path, {"flag", "reserved20", "reserved24", "reserved28"}))
        return false;
    return in.number(node["flag"], path + "/flag", header.flag, 1) &&
           in.number(node["reserved20"], path + "/reserved20", header.reserved20) &&
           in.number(node["reserved24"], path + "/reserved24", header.reserved24) &&
           in.number(node["reserved28"], path + "/reserved28", header.reserved28);
}

bool readEntry(JsonReader& in, const Json& node, const std::string& path, std::size_t block,
               StoreContents& store, std::set<std::size_t>& seen) {
    if (!in.object(node, path, {"key", "action"},
                   {"text", "offset", "parameter", "toggle", "reserved"}))
        return false;
    std::string name;
    if (!in.string(node["key"], path + "/key", name))
        return false;
    const auto index = words::parseEntryWord(name);
    if (!index)
        return in.fail(path + "/key", "unknown key name '" + name + "'");
    if (!seen.insert(*index).second)
        return in.fail(path + "/key", "key '" + name + "' is listed twice");

    std::string actionText;
    std::string problem;
    if (!in.string(node["action"], path + "/action", actionText))
        return false;
    auto parsed = words::parseActionWord(actionText, *index, problem);
    if (!parsed)
        return in.fail(path + "/action", problem);

    const std::size_t slot = block * kPerBlock + *index;
    KeyAssignment& entry = store.image->entries()[slot];
    const bool isMacro = parsed->assignment.kind == AssignmentKind::Macro;
    entry.kind = parsed->assignment.kind;
    entry.value = parsed->assignment.value;
    if (isMacro)
        entry.parameter = parsed->assignment.parameter;

    const bool textual = carriesText(entry.kind);
    if (node.contains("text") || node.contains("offset")) {
        if (!textual)
            return in.fail(path, "only launch and text actions have a text or an offset");
        if (node.contains("text") && node.contains("offset"))
            return in.fail(path, "give either a text or an offset, not both");
    }
    if (node.contains("text")) {
        std::u16string text;
        if (!in.utf16(node["text"], path + "/text", text))
            return false;
        store.texts.setText(slot, text);
    }
    if (node.contains("offset") && !in.number(node["offset"], path + "/offset", entry.value))
        return false;
    if (node.contains("parameter")) {
        if (parsed->count)
            return in.fail(path + "/parameter", "a macro action's play count is its COUNT");
        if (!in.number(node["parameter"], path + "/parameter", entry.parameter))
            return false;
    }
    if (node.contains("toggle") && !in.number(node["toggle"], path + "/toggle", entry.toggle))
        return false;
    if (node.contains("reserved") &&
        !in.number(node["reserved"], path + "/reserved", entry.reserved))
        return false;
    return true;
}

bool readProfiles(JsonReader& in, const Json& node, StoreContents& store) {
    const std::string path = "/profiles";
    if (!in.array(node, path))
        return false;
    if (node.size() != kBlocks)
        return in.fail(path, "expected " + std::to_string(kBlocks) + " profiles, found " +
                                 std::to_string(node.size()));
    for (std::size_t block = 0; block < kBlocks; ++block) {
        const std::string at = path + "/" + std::to_string(block);
        const Json& profile = node[block];
        std::size_t number = 0;
        if (!in.object(profile, at, {"profile", "keys"}) ||
            !in.number(profile["profile"], at + "/profile", number, block + 1, block + 1) ||
            !in.array(profile["keys"], at + "/keys"))
            return false;
        std::set<std::size_t> seen;
        const Json& keys = profile["keys"];
        for (std::size_t k = 0; k < keys.size(); ++k)
            if (!readEntry(in, keys[k], at + "/keys/" + std::to_string(k), block, store, seen))
                return false;
    }
    return true;
}

bool readMacro(JsonReader& in, const Json& node, const std::string& path, MacroRecord& macro) {
    if (!in.object(node, path, {"number", "name", "playCount", "events"}, {"newFlag"}))
        return false;
    if (!in.number(node["number"], path + "/number", macro.number, MacroRecord::kMaxNumber, 1) ||
        !in.utf16(node["name"], path + "/name", macro.name) ||
        !in.number(node["playCount"], path + "/playCount", macro.playCount,
                   std::numeric_limits<std::uint8_t>::max(), 1))
        return false;
    if (macro.name.size() > MacroRecord::kMaxNameLength)
        return in.fail(path + "/name",
                       "a macro name has at most " + std::to_string(MacroRecord::kMaxNameLength) +
                           " UTF-16 units, this one " + std::to_string(macro.name.size()));
    if (node.contains("newFlag") && !in.number(node["newFlag"], path + "/newFlag", macro.newFlag))
        return false;
    const Json& events = node["events"];
    if (!in.array(events, path + "/events"))
        return false;
    if (events.size() > MacroRecord::kMaxActions)
        return in.fail(path + "/events", "a macro has at most " +
                                             std::to_string(MacroRecord::kMaxActions) +
                                             " events, this one " + std::to_string(events.size()));
    for (std::size_t e = 0; e < events.size(); ++e) {
        const std::string at = path + "/events/" + std::to_string(e);
        std::string eventText;
        std::string problem;
        if (!in.string(events[e], at, eventText))
            return false;
        const auto event = words::parseEventWord(eventText, problem);
        if (!event)
            return in.fail(at, problem);
        if (event->delayTooLarge)
            return in.fail(at, "a delay is at most 4294967295 ms");
        macro.actions.push_back(event->event);
    }
    return true;
}

bool readMacros(JsonReader& in, const Json& node, std::vector<MacroRecord>& macros) {
    const std::string path = "/macros";
    if (!in.array(node, path))
        return false;
    if (node.size() > MacroRecord::kMaxMacros)
        return in.fail(path, "a profile file holds at most " +
                                 std::to_string(MacroRecord::kMaxMacros) + " macros, found " +
                                 std::to_string(node.size()));
    std::set<std::uint16_t> numbers;
    for (std::size_t m = 0; m < node.size(); ++m) {
        const std::string at = path + "/" + std::to_string(m);
        MacroRecord macro;
        if (!readMacro(in, node[m], at, macro))
            return false;
        if (!numbers.insert(macro.number).second)
            return in.fail(at + "/number",
                           "macro number " + std::to_string(macro.number) + " is used twice");
        macros.push_back(std::move(macro));
    }
    return true;
}

// Sets the header fields a save leaves at zero, keeping the checksum right.
void applyHeaderFields(const ImageHeader& fields, std::span<std::uint8_t> bytes) {
    ImageHeader header = ImageHeader::parse(bytes);
    header.flag = fields.flag;
    header.reserved20 = fields.reserved20;
    header.reserved24 = fields.reserved24;
    header.reserved28 = fields.reserved28;
    header.checksum = header.computeChecksum();
    header.write(bytes);
}

bool applyPatches(JsonReader& in, const Json& doc, std::vector<std::uint8_t>& bytes) {
    if (doc.contains("size")) {
        std::uint64_t size = 0;
        if (!in.number(doc["size"], "/size", size, profile_file::kSizeLimit - 1,
                       AssignmentImage::kSize))
            return false;
        bytes.resize(static_cast<std::size_t>(size));
    }
    if (!doc.contains("patches"))
        return true;
    const Json& patches = doc["patches"];
    if (!in.array(patches, "/patches"))
        return false;
    for (std::size_t p = 0; p < patches.size(); ++p) {
        const std::string at = "/patches/" + std::to_string(p);
        std::size_t offset = 0;
        std::string hex;
        if (!in.object(patches[p], at, {"offset", "bytes"}) ||
            !in.number(patches[p]["offset"], at + "/offset", offset) ||
            !in.string(patches[p]["bytes"], at + "/bytes", hex))
            return false;
        const auto patch = fromHex(hex);
        if (!patch)
            return in.fail(at + "/bytes", "expected an even number of hex digits");
        if (offset > bytes.size() || patch->size() > bytes.size() - offset)
            return in.fail(at, "the patch reaches past the end of the file (" +
                                   std::to_string(bytes.size()) + " bytes)");
        std::copy(patch->begin(), patch->end(),
                  bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    }
    return true;
}

bool buildFromJson(const Json& doc, std::vector<std::uint8_t>& bytes, std::string& error) {
    JsonReader in(error);
    if (!in.object(doc, "", {"format", "version", "header", "profiles", "macros"},
                   {"size", "patches"}))
        return false;
    std::string format;
    int version = 0;
    if (!in.string(doc["format"], "/format", format))
        return false;
    if (format != kProfileJsonFormat)
        return in.fail("/format", "expected \"" + std::string(kProfileJsonFormat) + "\"");
    if (!in.number(doc["version"], "/version", version, kProfileJsonVersion, kProfileJsonVersion))
        return false;

    StoreContents store;
    ImageHeader fields;
    if (!readHeader(in, doc["header"], fields) || !readProfiles(in, doc["profiles"], store) ||
        !readMacros(in, doc["macros"], store.macros))
        return false;

    std::vector<std::uint8_t> built;
    if (!buildProfileBytes(store, built))
        return in.fail("", "the texts are too large for a profile file");
    applyHeaderFields(fields, built);
    if (!applyPatches(in, doc, built))
        return false;
    if (checkProfileBytes(built) != ProfileFileFault::None)
        return in.fail("", "the size and patches do not give a valid profile file");
    bytes = std::move(built);
    return true;
}

// "[json.exception.parse_error.101] parse error at line 1, ..." without the
// library's tag.
std::string syntaxMessage(const char* what) {
    std::string message = what;
    if (const auto tag = message.find("] ");
        message.rfind("[json.exception", 0) == 0 && tag != std::string::npos)
        message.erase(0, tag + 2);
    return message;
}

}  // namespace

bool profileBytesToJson(std::span<const std::uint8_t> bytes, std::string& json,
                        std::string& error) {
    if (checkProfileBytes(bytes) != ProfileFileFault::None) {
        error = "not a valid profile file";
        return false;
    }
    try {
        StoreContents store;
        if (loadProfileBytes(bytes, store) != FileResult::Ok) {
            error = "the profile file cannot be read";
            return false;
        }
        renumberForExport(store.macros);
        Json doc = contentsJson(store);

        // What the fields alone rebuild, against the file: the difference
        // goes into the size and the patches.
        std::vector<std::uint8_t> built;
        if (!buildFromJson(doc, built, error))
            return false;
        if (built.size() != bytes.size())
            doc["size"] = bytes.size();
        built.resize(bytes.size());
        Json patches = patchesBetween(built, bytes);
        if (!patches.empty())
            doc["patches"] = std::move(patches);
        json = doc.dump(2) + "\n";
        return true;
    } catch (const std::bad_alloc&) {
        error = "out of memory";
        return false;
    } catch (const Json::exception& failure) {
        error = failure.what();
        return false;
    }
}

bool profileJsonToBytes(std::string_view json, std::vector<std::uint8_t>& bytes,
                        std::string& error) {
    try {
        const Json doc = Json::parse(json);
        return buildFromJson(doc, bytes, error);
    } catch (const Json::parse_error& failure) {
        error = syntaxMessage(failure.what());
        return false;
    } catch (const Json::exception& failure) {
        error = syntaxMessage(failure.what());
        return false;
    } catch (const std::bad_alloc&) {
        error = "out of memory";
        return false;
    }
}

}  // namespace keyloom
