#pragma once
// Starting with the desktop session: a desktop entry in the user's autostart
// folder ($XDG_CONFIG_HOME/autostart, default ~/.config/autostart) that runs
// the window program with --start, so that it comes up hidden in the tray.
// The entry's presence is the setting; nothing else records it.

#include <string>

#include "platform/paths/UserFolders.h"

namespace keyloom {

inline constexpr const char* kAutostartFileName = "keyloom.desktop";

// The entry's path; empty when there is neither $XDG_CONFIG_HOME nor a home.
std::string autostartPath(const paths::UserEnvironment& env);

// The entry's text for starting `program` (an absolute path or a name on
// PATH), quoted as desktop entries require.
std::string autostartEntryText(const std::string& program);

bool autostartEnabled(const std::string& path);

// Writes the entry (creating the folder) or removes it. False when that
// failed; removing an entry that is not there succeeds.
bool setAutostart(const std::string& path, bool enabled, const std::string& program);

}  // namespace keyloom
