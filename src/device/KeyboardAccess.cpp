// Finds the supported keyboards' hidraw nodes and checks the udev rule and
// the login session that decide whether this user may open them.

#include "device/KeyboardAccess.h"

#include <unistd.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "device/KeyboardModels.h"

#ifndef KEYLOOM_RULE_SOURCES
#define KEYLOOM_RULE_SOURCES ""
#endif

namespace keyloom {

namespace {

constexpr const char* kRuleName = "60-keyloom.rules";
// The folders udev reads rules from, in the order it prefers them.
constexpr std::array<const char*, 3> kRuleFolders = {"/etc/udev/rules.d", "/run/udev/rules.d",
                                                     "/usr/lib/udev/rules.d"};
constexpr const char* kReloadCommand =
    "sudo udevadm control --reload && sudo udevadm trigger --action=add --subsystem-match=hidraw";

// The first line a fixed command prints; nothing when it cannot be run.
std::optional<std::string> firstLineOf(const std::string& command) {
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::array<char, 256> line{};
    const bool got = std::fgets(line.data(), line.size(), pipe) != nullptr;
    const int status = ::pclose(pipe);
    if (!got || status != 0)
        return std::nullopt;
    std::string text = line.data();
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    return text;
}

// Whether logind counts this session as the active one on its seat, which is
// when udev's uaccess gives it the keyboard's nodes.
SessionState sessionState(std::string& note) {
    const char* candidates[] = {"/usr/bin/loginctl", "/bin/loginctl"};
    const char* loginctl = nullptr;
    for (const char* path : candidates)
        if (::access(path, X_OK) == 0)
            loginctl = path;
    if (!loginctl) {
        note = "loginctl not found: cannot tell whether uaccess applies";
        return SessionState::Unknown;
    }
    const char* id = std::getenv("XDG_SESSION_ID");
    std::string session = id ? id : "";
    // The id goes into a command line: take it only when it is a plain word.
    for (char c : session)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-')
            session.clear();
    if (session.empty()) {
        note = "no login session (XDG_SESSION_ID unset): uaccess does not apply";
        return SessionState::Inactive;
    }
    const auto active = firstLineOf(std::string(loginctl) + " show-session " + session +
                                    " -p Active --value 2>/dev/null");
    if (!active) {
        note = "loginctl does not know session " + session;
        return SessionState::Unknown;
    }
    if (*active == "yes") {
        note = "session " + session + " is active: uaccess applies";
        return SessionState::Active;
    }
    note = "session " + session + " is not the active one on its seat: uaccess does not apply";
    return SessionState::Inactive;
}

std::string ruleSource() {
    const std::string sources = KEYLOOM_RULE_SOURCES;
    std::size_t start = 0;
    while (start <= sources.size()) {
        const std::size_t end = std::min(sources.find('|', start), sources.size());
        const std::string candidate = sources.substr(start, end - start);
        std::error_code error;
        if (!candidate.empty() && std::filesystem::is_regular_file(candidate, error))
            return candidate;
        start = end + 1;
    }
    return "packaging/60-keyloom.rules";
}

}  // namespace

hid::HidrawAccessScan scanKeyboardNodes() {
    return hid::scanHidrawAccess("/sys", "/dev", [](std::uint16_t vendor, std::uint16_t product) {
        return acceptedKeyboard(vendor, product).has_value();
    });
}

bool anyNodeBlocked(const hid::HidrawAccessScan& scan) {
    for (const auto& node : scan.nodes)
        if (!node.usable())
            return true;
    return false;
}

AccessDiagnosis diagnoseKeyboardAccess() {
    AccessDiagnosis d;
    d.scan = scanKeyboardNodes();
    std::error_code error;
    for (const char* folder : kRuleFolders) {
        const std::string path = std::string(folder) + "/" + kRuleName;
        if (!d.rulePath && std::filesystem::exists(path, error))
            d.rulePath = path;
    }
    const std::string local = std::string("/usr/local/lib/udev/rules.d/") + kRuleName;
    if (std::filesystem::exists(local, error))
        d.ignoredRulePath = local;
    d.session = sessionState(d.sessionNote);

    const bool anyBlocked = anyNodeBlocked(d.scan);
    d.ok = !d.scan.nodes.empty() && !anyBlocked;

    if (d.scan.listing == hid::NodeListing::NoHidraw)
        d.fixes.push_back("sudo modprobe hidraw");
    if (!d.rulePath) {
        d.fixes.push_back("sudo install -m 0644 " + ruleSource() + " /etc/udev/rules.d/" +
                          kRuleName);
        d.fixes.push_back(kReloadCommand);
        d.replug = true;
    } else if (anyBlocked && d.session != SessionState::Inactive) {
        // Installed but not applied to the nodes yet.
        d.fixes.push_back(kReloadCommand);
        d.replug = true;
    }
    if (anyBlocked && d.session == SessionState::Inactive)
        d.newLogin = true;
    return d;
}

std::vector<std::string> accessAdvice(const AccessDiagnosis& d) {
    std::vector<std::string> lines;
    if (!d.fixes.empty()) {
        lines.emplace_back("To fix, run:");
        for (const auto& fix : d.fixes)
            lines.push_back("  " + fix);
    }
    if (d.replug)
        lines.emplace_back("Then unplug the keyboard and plug it in again.");
    if (d.newLogin)
        lines.emplace_back("Log in on the computer's own screen (a new login is needed).");
    return lines;
}

}  // namespace keyloom
