#include "shell/TopRowSwitch.h"

#include "storage/AppProfile.h"
#include "storage/SettingsKey.h"

namespace keyloom::shell {

bool readTopRowSwitch(const registry::Registry* registry) {
    return registry && readAppInt(*registry, kProfilesSection, kTopRowSwitchValue, 0) != 0;
}

bool writeTopRowSwitch(registry::Registry* registry, bool on) {
    return registry && writeAppInt(*registry, kProfilesSection, kTopRowSwitchValue, on ? 1 : 0);
}

}  // namespace keyloom::shell
