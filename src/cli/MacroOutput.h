#pragma once
// How keyloomctl prints a macro: its events as "KEY+DELAY" / "KEY-DELAY",
// the same words `macro set` takes, and its JSON object.

#include <string>

#include "cli/JsonWriter.h"
#include "model/MacroRecord.h"

namespace keyloom::cli {

std::string describeEvent(const MacroAction& action);
void writeMacroJson(JsonWriter& json, const MacroRecord& macro);

}  // namespace keyloom::cli
