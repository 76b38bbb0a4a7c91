#pragma once
// Every file-system path the program uses, computed once at start-up.
// Folders named "...Folder" end in '/', except the data folder, which the
// per-user file names are appended to with their own '/'. Paths use '/'.
//
// The program folder is the executable's folder when it holds "Skins/", else
// <prefix>/share/keyloom/ of an installed build. The data folder is
// $XDG_DATA_HOME/ORVK_Keyboard (default ~/.local/share/ORVK_Keyboard), the
// registry file $XDG_CONFIG_HOME/ORVK_Keyboard/registry.ini (default
// ~/.config/...). Paths longer than the system allows (PATH_MAX) are refused,
// never cut; the 260-character limit of Windows paths does not apply here.

#include <optional>
#include <string>

#include "platform/paths/UserFolders.h"

namespace keyloom {

struct AppPaths {
    std::string programFileName;         // the executable's file name, no folder
    std::string executableFolder;        // folder of the running executable, '/' at the end
    std::string programFolder;           // Skins, language files, Help, Package
    std::string helpFolder;              // program folder + "Help/"
    std::string skinFolder;              // program folder + "Skins/"
    std::string mainSkinFile;            // skin folder + "Main.ini"
    std::string compositeSkinFile;       // skin folder + "Composite.ini"
    std::string profileSkinFile;         // skin folder + "Profile.ini"
    std::string updateSkinFile;          // skin folder + "UpdateDlg.ini"
    std::string userModeTemplatePrefix;  // skin folder + "UserDengColor_"
    std::string firmwarePackageFolder;   // program folder + "Package/"
    std::string companionProgram;        // "KbDaemon" beside the executable
    std::string dataFolder;              // per-user data folder, no '/' at the end
    std::string settingsFile;            // data folder + "/tzkb.ini"
    std::string userModeFilePrefix;      // data folder + "/UserDengColor_"
    std::string registryFile;            // the registry stand-in
};

struct AppPathsOptions {
    std::string executablePath;  // empty: the running executable
    std::string programFolder;   // overrides the program folder (tests)
    std::string dataFolder;      // overrides the data folder (--data-dir DIR)
    std::string registryFile;    // overrides the registry file (tests)
    std::optional<paths::UserEnvironment> environment;  // empty: this process's
};

enum class AppPathsStatus {
    Ok,
    NoExecutable,  // the running executable could not be determined
    NoHomeFolder,  // no data or config folder: no XDG variable and no home folder
    PathTooLong,   // a path would exceed the system's limit; refused, not cut
};

AppPathsStatus buildAppPaths(const AppPathsOptions& options, AppPaths& paths);

// A short English description of the status for messages on the command line.
const char* describeAppPathsStatus(AppPathsStatus status);

// Creates the data folder on first use and seeds it with three copies (0, 1, 2)
// of the user-mode template "UserDengColor_3.userd". An existing folder is
// left untouched, even when files inside it are missing. False when the
// folder does not exist afterwards; a missing template is not a failure.
bool prepareDataFolder(const AppPaths& paths);

}  // namespace keyloom
