#include "platform/instance/InstanceFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace keyloom::instance {

namespace {

std::string fileNameFor(std::string_view mutexName, std::string_view suffix) {
    std::string name = "keyloom-";
    for (char c : mutexName) {
        bool keep = std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.';
        name += keep ? c : '_';
    }
    name += suffix;
    return name;
}

}  // namespace

bool isPrivateFolder(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::lstat(path.c_str(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 0022) == 0;
}

std::string instanceFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && isPrivateFolder(runtime))
        return runtime;
    std::string folder = "/tmp/keyloom-" + std::to_string(::geteuid());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    return isPrivateFolder(folder) ? folder : std::string();
}

std::string lockPathFor(const std::string& folder, std::string_view mutexName) {
    return folder + "/" + fileNameFor(mutexName, ".lock");
}

std::string socketPathFor(const std::string& folder, std::string_view mutexName) {
    return folder + "/" + fileNameFor(mutexName, ".sock");
}

}  // namespace keyloom::instance
