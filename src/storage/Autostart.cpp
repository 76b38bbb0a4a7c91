#include "storage/Autostart.h"

#include <filesystem>
#include <system_error>

#include "platform/fs/FileIo.h"

namespace keyloom {

namespace {

// An Exec argument: quoted when it holds anything but plain path characters,
// with the characters a quoted argument escapes, and '%' doubled (field codes).
std::string execArgument(const std::string& argument) {
    bool plain = !argument.empty();
    for (char c : argument) {
        const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '/' || c == '.' || c == '_' || c == '-';
        plain = plain && safe;
    }
    if (plain)
        return argument;
    std::string quoted = "\"";
    // The quoting's backslash is itself escaped by the string rules, so a
    // literal backslash takes four.
    for (char c : argument) {
        if (c == '\\')
            quoted += "\\\\\\";
        else if (c == '"' || c == '`' || c == '$')
            quoted += "\\\\";
        else if (c == '%')
            quoted += '%';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

std::string autostartPath(const paths::UserEnvironment& env) {
    const std::string config = paths::configHome(env);
    if (config.empty())
        return {};
    return config + "/autostart/" + kAutostartFileName;
}

std::string autostartEntryText(const std::string& program) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Keyloom\n"
           "Comment=Keyboard configuration, in the tray\n"
           "Exec=" +
           execArgument(program) +
           " --start\n"
           "Icon=keyloom\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool autostartEnabled(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

bool setAutostart(const std::string& path, bool enabled, const std::string& program) {
    if (path.empty())
        return false;
    std::error_code error;
    if (!enabled) {
        std::filesystem::remove(path, error);
        return !error && !autostartEnabled(path);
    }
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return fs::makeDirectories(folder) &&
           fs::writeFileAtomically(path, autostartEntryText(program));
}

}  // namespace keyloom
