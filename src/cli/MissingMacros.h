#pragma once
// keyloomctl's refusal of a profile file with keys that play a macro the
// file does not hold, before it writes such a file anywhere.

#include <string>

#include "cli/CliContext.h"
#include "model/ConfigurationStore.h"

namespace keyloom::cli {

// False, with each key named, when `store` has such keys; `what` names the
// file in the message.
bool refuseMissingMacros(const CliContext& context, const StoreContents& store,
                         const std::string& what);

}  // namespace keyloom::cli
