#pragma once
// Where the program's own files (Skins, language files, Help, Package) lie:
// the executable's folder when it holds a "Skins" folder (a build tree or an
// unpacked copy), otherwise <prefix>/share/keyloom/ of an installed build,
// with the prefix taken as the folder above the executable's (…/bin).

#include <string>

namespace keyloom::paths {

// The running executable (/proc/self/exe); empty when it cannot be read.
std::string executablePath();

// The program folder for an executable in `executableFolder`, ending in '/'.
std::string programFolderFor(const std::string& executableFolder);

}  // namespace keyloom::paths
