#include "cli/MacroOutput.h"

#include "model/KeyTable.h"
#include "platform/text/Utf16.h"

namespace keyloom::cli {

namespace {
constexpr std::size_t kKeyNameLength = 64;
}

std::string describeEvent(const MacroAction& action) {
    return KeyName(action.keyCode, kKeyNameLength) + (action.pressed() ? "+" : "-") +
           std::to_string(action.delayMs);
}

void writeMacroJson(JsonWriter& json, const MacroRecord& macro) {
    json.beginObject();
    json.field("number", static_cast<int>(macro.number));
    json.field("name", text::utf16ToUtf8(macro.name));
    json.field("count", static_cast<int>(macro.playCount));
    json.beginArray("events");
    for (const MacroAction& action : macro.actions)
        json.value(describeEvent(action));
    json.endArray();
    json.endObject();
}

}  // namespace keyloom::cli
