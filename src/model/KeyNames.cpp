// Key names: looked up in the current language file at the moment they are
// needed, through a lookup the caller supplies or the one set at start-up.

#include <memory>
#include <mutex>

#include "model/KeyNameCut.h"
#include "model/KeyTable.h"
#include "platform/text/SafeFormat.h"

namespace keyloom {
namespace {

constexpr std::string_view kMissingText = "#Error";
constexpr std::string_view kUnknownKeyTextKey = "UNKNOWN_KEY";

std::mutex& ProcessLookupMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<const TextLookup>& ProcessLookupSlot() {
    static std::shared_ptr<const TextLookup> lookup;
    return lookup;
}

std::shared_ptr<const TextLookup> ProcessLookup() {
    std::lock_guard lock(ProcessLookupMutex());
    return ProcessLookupSlot();
}

std::string Look(const TextLookup* lookup, std::string_view key) {
    if (lookup == nullptr || !*lookup) {
        return std::string(kMissingText);
    }
    return (*lookup)(key);
}

std::string ListEntryNameWith(std::uint16_t listPosition, const TextLookup* lookup) {
    const KeyCode code = KeyCodeAtListPosition(listPosition);
    // Key code 0 stands for "no row at that position" as well as for row 0,
    // and row 0 has no name either way.
    const KeyRow& row = KeyRowAt(KeyIndexOf(code));
    if (code == 0 || row.nameKey.empty()) {
        return {};
    }
    return Look(lookup, row.nameKey);
}

std::string KeyNameWith(KeyCode code, std::size_t bufferSize, const TextLookup* lookup) {
    if (bufferSize == 0) {
        return {};  // not even room for the terminator
    }
    const KeyRow& row = KeyRowAt(KeyIndexOf(code));
    std::string name;
    if (!row.nameKey.empty()) {
        name = Look(lookup, row.nameKey);
    }
    if (name.empty()) {
        // The format comes from a user-editable file: never printf it.
        name = text::formatInt(Look(lookup, kUnknownKeyTextKey), code);
    }
    return CutToCharacters(std::move(name), bufferSize - 1);
}

}  // namespace

void SetKeyTextLookup(TextLookup lookup) {
    auto shared = std::make_shared<const TextLookup>(std::move(lookup));
    std::lock_guard lock(ProcessLookupMutex());
    ProcessLookupSlot() = std::move(shared);
}

std::string ListEntryName(std::uint16_t listPosition, const TextLookup& lookup) {
    return ListEntryNameWith(listPosition, &lookup);
}

std::string ListEntryName(std::uint16_t listPosition) {
    return ListEntryNameWith(listPosition, ProcessLookup().get());
}

std::string KeyName(KeyCode code, std::size_t bufferSize, const TextLookup& lookup) {
    return KeyNameWith(code, bufferSize, &lookup);
}

std::string KeyName(KeyCode code, std::size_t bufferSize) {
    return KeyNameWith(code, bufferSize, ProcessLookup().get());
}

}  // namespace keyloom
