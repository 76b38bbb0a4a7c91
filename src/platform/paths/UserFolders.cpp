#include "platform/paths/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/paths/PathRules.h"

namespace keyloom::paths {

namespace {

std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

std::optional<std::string> accountHome() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir || found->pw_dir[0] == '\0') {
        return std::nullopt;
    }
    return std::string(found->pw_dir);
}

bool isAbsolute(const std::optional<std::string>& path) {
    return path && !path->empty() && path->front() == '/';
}

std::string baseFolder(const std::optional<std::string>& variableValue,
                       const std::optional<std::string>& home, const char* homeRelative) {
    if (isAbsolute(variableValue))
        return normalizeFolder(*variableValue);
    if (!isAbsolute(home))
        return {};
    return normalizeFolder(*home + "/" + homeRelative);
}

}  // namespace

UserEnvironment processEnvironment() {
    UserEnvironment env;
    env.home = variable("HOME");
    if (!env.home || env.home->empty())
        env.home = accountHome();
    env.xdgDataHome = variable("XDG_DATA_HOME");
    env.xdgConfigHome = variable("XDG_CONFIG_HOME");
    return env;
}

std::string dataHome(const UserEnvironment& env) {
    return baseFolder(env.xdgDataHome, env.home, ".local/share");
}

std::string configHome(const UserEnvironment& env) {
    return baseFolder(env.xdgConfigHome, env.home, ".config");
}

}  // namespace keyloom::paths
