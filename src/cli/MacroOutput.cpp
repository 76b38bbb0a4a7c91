#include "cli/MacroOutput.h"

#include "model/KeyWords.h"
#include "platform/text/Utf16.h"

namespace keyloom::cli {

std::string describeEvent(const MacroAction& action) {
    return words::eventWord(action);
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
