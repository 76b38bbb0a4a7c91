#include "platform/paths/ProgramFolder.h"

#include <unistd.h>

#include <vector>

#include "platform/paths/PathRules.h"

namespace keyloom::paths {

std::string executablePath() {
    std::vector<char> buffer(kMaxPathBytes + 2);
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    // A result that fills the buffer may have been cut: refuse it.
    if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size())
        return {};
    return std::string(buffer.data(), static_cast<std::size_t>(n));
}

std::string programFolderFor(const std::string& executableFolder) {
    std::string folder = normalizeFolder(executableFolder);
    if (isDirectory(folder + "/Skins"))
        return folder == "/" ? folder : folder + "/";
    std::string prefix = parentFolder(folder);
    if (prefix.empty() || prefix == "/")
        return "/share/keyloom/";
    return prefix + "/share/keyloom/";
}

}  // namespace keyloom::paths
