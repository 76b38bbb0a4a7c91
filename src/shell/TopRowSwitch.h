#pragma once
// The top-row switch kept in the registry ("PROFILES" / "Flip"): which of
// the two sets of top-row keys the key view offers. Any non-zero number
// reads as on; only "0" or "1" is written.

#include "platform/registry/Registry.h"

namespace keyloom::shell {

// False without a registry or when the value cannot be read.
bool readTopRowSwitch(const registry::Registry* registry);
bool writeTopRowSwitch(registry::Registry* registry, bool on);

}  // namespace keyloom::shell
