// keyloomctl doctor: why the keyboard can or cannot be opened, and the exact
// commands that fix what is missing.

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "device/KeyboardModels.h"
#include "platform/hid/HidrawAccess.h"

#ifndef KEYLOOM_RULE_SOURCES
#define KEYLOOM_RULE_SOURCES ""
#endif

namespace keyloom::cli {

namespace {

constexpr const char* kRuleName = "60-keyloom.rules";
// The folders udev reads rules from, in the order it prefers them.
constexpr std::array<const char*, 3> kRuleFolders = {"/etc/udev/rules.d", "/run/udev/rules.d",
                                                     "/usr/lib/udev/rules.d"};
constexpr const char* kReloadCommand =
    "sudo udevadm control --reload && sudo udevadm trigger --action=add --subsystem-match=hidraw";

enum class SessionState { Active, Inactive, Unknown };

struct Diagnosis {
    hid::HidrawAccessScan scan;
    std::optional<std::string> rulePath;
    // A copy udev never reads (cmake --install to /usr/local).
    std::optional<std::string> ignoredRulePath;
    SessionState session = SessionState::Unknown;
    std::string sessionNote;
    std::vector<std::string> fixes;
    bool replug = false;
    bool newLogin = false;
    bool ok = false;
};

std::string userName(uid_t uid) {
    if (const passwd* entry = ::getpwuid(uid))
        return entry->pw_name;
    return std::to_string(uid);
}

std::string groupName(gid_t gid) {
    if (const group* entry = ::getgrgid(gid))
        return entry->gr_name;
    return std::to_string(gid);
}

std::string hex4(std::uint16_t value) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "%04x", value);
    return text.data();
}

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

Diagnosis diagnose() {
    Diagnosis d;
    d.scan = hid::scanHidrawAccess("/sys", "/dev", [](std::uint16_t vendor, std::uint16_t product) {
        return acceptedKeyboard(vendor, product).has_value();
    });
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

    bool anyBlocked = false;
    for (const auto& node : d.scan.nodes)
        anyBlocked = anyBlocked || !node.usable();
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

void printJson(CliContext& context, const Diagnosis& d) {
    JsonWriter json(context.out);
    json.beginObject();
    json.field("ok", d.ok);
    json.field("hidraw", d.scan.listing != hid::NodeListing::NoHidraw);
    json.beginArray("nodes");
    for (const auto& node : d.scan.nodes) {
        json.beginObject();
        json.field("path", node.devPath);
        json.field("vendorProduct", hex4(node.id.vendorId) + ":" + hex4(node.id.productId));
        json.field("interface", static_cast<int>(node.interfaceNumber));
        json.field("present", node.present);
        if (node.present) {
            json.field("owner", userName(node.owner));
            json.field("group", groupName(node.group));
            json.field("mode", hid::modeText(node.mode));
        }
        json.field("readable", node.readable);
        json.field("writable", node.writable);
        json.endObject();
    }
    json.endArray();
    json.field("udevRule", d.rulePath.value_or(""));
    json.field("session", d.session == SessionState::Active     ? "active"
                          : d.session == SessionState::Inactive ? "inactive"
                                                                : "unknown");
    json.beginArray("fixes");
    for (const auto& fix : d.fixes)
        json.value(fix);
    json.endArray();
    json.field("replugNeeded", d.replug);
    json.field("newLoginNeeded", d.newLogin);
    json.endObject();
    json.finish();
}

void printText(CliContext& context, const Diagnosis& d) {
    std::FILE* out = context.out;
    if (d.scan.listing == hid::NodeListing::NoHidraw)
        std::fprintf(out, "hidraw: the kernel offers no hidraw nodes (module not loaded)\n");
    if (d.scan.nodes.empty())
        std::fprintf(out, "keyboard: no supported keyboard found (is it plugged in?)\n");
    for (const auto& node : d.scan.nodes) {
        std::fprintf(out, "keyboard %s:%s interface %u: %s", hex4(node.id.vendorId).c_str(),
                     hex4(node.id.productId).c_str(), node.interfaceNumber, node.devPath.c_str());
        if (!node.present) {
            std::fprintf(out, " missing\n");
            continue;
        }
        std::fprintf(out, " %s %s:%s, %s\n", hid::modeText(node.mode).c_str(),
                     userName(node.owner).c_str(), groupName(node.group).c_str(),
                     node.usable()   ? "you may open it"
                     : node.readable ? "you may read but not write it"
                                     : "you may not open it");
    }
    if (d.rulePath)
        std::fprintf(out, "udev rule: installed as %s\n", d.rulePath->c_str());
    else
        std::fprintf(out,
                     "udev rule: not installed in /etc/udev/rules.d or /usr/lib/udev/rules.d\n");
    if (d.ignoredRulePath)
        std::fprintf(out, "udev rule: %s is never read by udev\n", d.ignoredRulePath->c_str());
    std::fprintf(out, "session: %s\n", d.sessionNote.c_str());
    if (!d.fixes.empty()) {
        std::fprintf(out, "To fix, run:\n");
        for (const auto& fix : d.fixes)
            std::fprintf(out, "  %s\n", fix.c_str());
    }
    if (d.replug)
        std::fprintf(out, "Then unplug the keyboard and plug it in again.\n");
    if (d.newLogin)
        std::fprintf(out, "Log in on the computer's own screen (a new login is needed).\n");
    std::fprintf(out, "%s\n", d.ok ? "All is well." : "Keyloom cannot use the keyboard yet.");
}

}  // namespace

int runDoctor(CliContext& context) {
    if (!context.options.args.empty())
        return usageError(context, "doctor takes no arguments");
    const Diagnosis diagnosis = diagnose();
    if (context.options.json)
        printJson(context, diagnosis);
    else
        printText(context, diagnosis);
    return diagnosis.ok ? kExitOk : kExitFailure;
}

}  // namespace keyloom::cli
