#pragma once
// Keys of a profile file that play a macro the file does not hold. The
// keyboard would play another macro for them, so keyloomctl names them
// before it writes such a file anywhere.

#include <string>

#include "cli/CliContext.h"
#include "model/ConfigurationStore.h"

namespace keyloom::cli {

// "profile 1: A plays macro 3", one a key, for the three profiles.
std::vector<std::string> keysPlayingMissingMacros(const StoreContents& store);

// False, with each key named, when `store` has such keys; `what` names the
// file in the message.
bool refuseMissingMacros(const CliContext& context, const StoreContents& store,
                         const std::string& what);

}  // namespace keyloom::cli
