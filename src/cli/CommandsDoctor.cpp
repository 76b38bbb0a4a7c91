// keyloomctl doctor: why the keyboard can or cannot be opened, and the exact
// commands that fix what is missing.

#include <grp.h>
#include <pwd.h>

#include <array>
#include <cstdio>
#include <string>

#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "device/KeyboardAccess.h"

namespace keyloom::cli {

namespace {

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

void printJson(CliContext& context, const AccessDiagnosis& d) {
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

void printText(CliContext& context, const AccessDiagnosis& d) {
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
    for (const std::string& line : accessAdvice(d))
        std::fprintf(out, "%s\n", line.c_str());
    std::fprintf(out, "%s\n", d.ok ? "All is well." : "Keyloom cannot use the keyboard yet.");
}

}  // namespace

int runDoctor(CliContext& context) {
    if (!context.options.args.empty())
        return usageError(context, "doctor takes no arguments");
    const AccessDiagnosis diagnosis = diagnoseKeyboardAccess();
    if (context.options.json)
        printJson(context, diagnosis);
    else
        printText(context, diagnosis);
    return diagnosis.ok ? kExitOk : kExitFailure;
}

}  // namespace keyloom::cli
