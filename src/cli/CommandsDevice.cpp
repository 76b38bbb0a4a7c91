// keyloomctl list and info: finding the keyboard.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "cli/ResultText.h"
#include "device/ConnectionHandler.h"
#include "device/DeviceLink.h"
#include "device/DiscoveryMonitor.h"
#include "device/KeyboardModels.h"
#include "device/ProtocolResult.h"
#include "model/ParameterBlock.h"
#include "model/ProfileRecord.h"
#include "platform/hid/HidPlatform.h"
#include "storage/Language.h"

namespace keyloom::cli {

namespace {

struct InterfaceRow {
    std::string path;
    hid::Attributes attributes;
    hid::Caps caps;
    bool known = false;     // the descriptor could be read
    bool openable = false;  // this user may open it for reading and writing
};

std::vector<InterfaceRow> supportedInterfaces(hid::HidPlatform& platform) {
    std::vector<std::string> paths;
    platform.enumerate(paths);
    std::vector<InterfaceRow> rows;
    for (const std::string& path : paths) {
        if (!pathNamesAcceptedKeyboard(path))
            continue;
        InterfaceRow row;
        row.path = path;
        if (auto handle = platform.open(path, hid::OpenOptions{})) {
            row.known = true;
            row.attributes = handle->attributes();
            row.caps = handle->descriptor().caps();
        }
        row.openable = platform.open(path, hid::OpenOptions{true, true, true, false}) != nullptr;
        rows.push_back(row);
    }
    return rows;
}

std::string hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value & 0xFFFFu);
    return text;
}

const char kPermissionHint[] =
    "A supported keyboard is present but you may not open it. Install the udev rule\n"
    "that gives the logged-in user access, then replug the keyboard:\n"
    "  sudo cp packaging/60-keyloom.rules /usr/lib/udev/rules.d/\n"
    "  sudo udevadm control --reload && sudo udevadm trigger\n";

// An effect's name in the current language.
std::string effectName(std::uint8_t effect) {
    return lookupMode(std::to_string(effect));
}

// Discovery reports connection changes; the command only needs the result.
class QuietHandler : public ConnectionHandler {
public:
    void connectionChanged(int) override {}
};

}  // namespace

int runList(CliContext& context) {
    if (!context.options.args.empty())
        return usageError(context, "list takes no arguments");
    std::vector<InterfaceRow> rows = supportedInterfaces(hid::HidPlatform::system());
    bool anyBlocked = false;
    if (context.options.json) {
        JsonWriter json(context.out);
        json.beginArray();
        for (const InterfaceRow& row : rows) {
            json.beginObject();
            json.field("path", row.path);
            json.field("vendorProduct",
                       hex4(row.attributes.vendorId) + ":" + hex4(row.attributes.productId));
            json.field("usage", hex4(row.caps.usagePage) + ":" + hex4(row.caps.usage));
            json.field("openable", row.openable);
            json.endObject();
        }
        json.endArray();
        json.finish();
    }
    for (const InterfaceRow& row : rows) {
        anyBlocked = anyBlocked || !row.openable;
        if (context.options.json)
            continue;
        std::fprintf(context.out, "%s  %s:%s  %s  %s\n", row.path.c_str(),
                     hex4(row.attributes.vendorId).c_str(), hex4(row.attributes.productId).c_str(),
                     row.known ? (hex4(row.caps.usagePage) + ":" + hex4(row.caps.usage)).c_str()
                               : "????:????",
                     row.openable ? "ok" : "no access");
    }
    if (rows.empty())
        return fail(context, "no supported keyboard found");
    if (anyBlocked)
        std::fputs(kPermissionHint, context.err);
    return kExitOk;
}

int runInfo(CliContext& context) {
    if (!context.options.args.empty())
        return usageError(context, "info takes no arguments");
    AppPaths paths;
    if (!setUpProgramFiles(context, paths))
        return kExitFailure;
    DeviceLink link;
    QuietHandler handler;
    StartupState startup;
    DiscoveryMonitor discovery(link, handler, startup);
    if (!discovery.probe() || discovery.scanOnce() != DiscoveryMonitor::ScanResult::Found) {
        std::vector<InterfaceRow> rows = supportedInterfaces(hid::HidPlatform::system());
        for (const InterfaceRow& row : rows)
            if (!row.openable) {
                std::fputs(kPermissionHint, context.err);
                break;
            }
        return fail(context, "no keyboard found");
    }

    ParameterBlock block;
    DeviceResult status = link.ReadParameterBlock(block.bytes);
    const hid::Attributes& attributes = link.configurationDevice().attributes();
    std::string model = hex4(attributes.vendorId) + ":" + hex4(attributes.productId);
    std::string path = link.configurationDevice().path();
    if (status != result::Success)
        return fail(context, "the keyboard did not answer (" + describeResult(status) + ")");

    // The lighting profile, whose record holds the report rate, follows the
    // active profile.
    LightingState lighting;
    status = readLightingState(link, block.activeProfile(), lighting);
    if (status != result::Success)
        return fail(context,
                    "the keyboard did not send its report rate (" + describeResult(status) + ")");
    const int rateHz = ProfileRecord::kReportRatesHz[lighting.reportRate];

    std::vector<std::uint8_t> effects = block.effects();
    if (context.options.json) {
        JsonWriter json(context.out);
        json.beginObject();
        json.field("model", model);
        json.field("path", path);
        json.field("activeProfile", block.activeProfile() + 1);
        json.field("macroCapacity", static_cast<long long>(block.macroCapacity()));
        json.beginArray("effects");
        for (std::uint8_t effect : effects)
            json.value(static_cast<long long>(effect));
        json.endArray();
        json.beginArray("effectNames");
        for (std::uint8_t effect : effects)
            json.value(effectName(effect));
        json.endArray();
        json.field("perKeyColours", block.supportsPerKeyColours());
        json.field("reportRateStep", static_cast<int>(lighting.reportRate));
        json.field("reportRateHz", rateHz);
        json.endObject();
        json.finish();
        return kExitOk;
    }
    std::fprintf(context.out, "Model:            %s\n", model.c_str());
    std::fprintf(context.out, "Interface:        %s\n", path.c_str());
    std::fprintf(context.out, "Active profile:   %d\n", block.activeProfile() + 1);
    std::fprintf(context.out, "Macro capacity:   %zu bytes\n", block.macroCapacity());
    std::fprintf(context.out, "Report rate:      step %u (%d Hz)\n", lighting.reportRate, rateHz);
    std::fprintf(context.out, "Lighting effects: %zu%s\n", effects.size(),
                 block.supportsPerKeyColours() ? " (per-key colours)" : "");
    for (std::uint8_t effect : effects)
        std::fprintf(context.out, "  %3u  %s\n", effect, effectName(effect).c_str());
    return kExitOk;
}

}  // namespace keyloom::cli
