#include "cli/CliSession.h"

#include <array>
#include <chrono>
#include <memory>

#include "core/HeadlessBinding.h"
#include "device/KeyboardAccess.h"
#include "device/KeyboardModels.h"
#include "device/ProtocolResult.h"
#include "model/KeyTable.h"
#include "platform/hid/HidPlatform.h"
#include "storage/Language.h"
#include "storage/LanguageTables.h"

namespace keyloom::cli {

namespace {

// Discovery's probe and first scan take a few exchanges; a silent keyboard can
// take 4 x 1.3 s per exchange, so give the connection generous time.
constexpr auto kConnectLimit = std::chrono::seconds(30);

bool anyKeyboardBlocked() {
    hid::HidPlatform& platform = hid::HidPlatform::system();
    std::vector<std::string> paths;
    platform.enumerate(paths);
    for (const std::string& path : paths)
        if (pathNamesAcceptedKeyboard(path) &&
            !platform.open(path, hid::OpenOptions{true, true, true, false}))
            return true;
    return false;
}

}  // namespace

bool configurationInterfacePresent() {
    hid::HidPlatform& platform = hid::HidPlatform::system();
    std::vector<std::string> paths;
    platform.enumerate(paths);
    for (const std::string& path : paths) {
        if (!pathNamesAcceptedKeyboard(path))
            continue;
        auto handle = platform.open(path, hid::OpenOptions{true, true, true, false});
        if (handle && isConfigurationInterface(handle->attributes(), handle->descriptor().caps()))
            return true;
    }
    return false;
}

window::MessageAnswer CliWindow::showMessage(const window::MessageRequest& request) {
    // Questions are answered by the command itself; what it reports is shown.
    if (request.buttons == window::MessageButtons::Ok && !request.text.empty()) {
        std::fprintf(err_, "keyloomctl: %s\n", request.text.c_str());
        ++told_;
    }
    return HeadlessWindow::showMessage(request);
}

bool setUpProgramFiles(CliContext& context, AppPaths& paths) {
    // The running program's paths and texts stay as they are.
    if (context.host != nullptr) {
        paths = context.host->core().paths();
        return true;
    }
    AppPathsOptions options;
    options.dataFolder = context.options.dataDir;
    AppPathsStatus status = buildAppPaths(options, paths);
    if (status != AppPathsStatus::Ok) {
        fail(context, describeAppPathsStatus(status));
        return false;
    }
    // keyloomctl reads and prints key and effect names in English whatever the
    // language chosen for the window, so that scripts and exported profile
    // files work the same everywhere.
    installLanguageFiles(
        std::make_shared<LanguageFiles>(paths.programFolder, nullptr, kFallbackLanguage));
    SetKeyTextLookup([](std::string_view key) { return lookupText(key); });
    return true;
}

int reportNoKeyboard(const CliContext& context) {
    if (anyKeyboardBlocked()) {
        std::fputs("A supported keyboard is present but you may not open it.\n", context.err);
        for (const std::string& line : accessAdvice(diagnoseKeyboardAccess()))
            std::fprintf(context.err, "%s\n", line.c_str());
        std::fputs("keyloomctl doctor tells more.\n", context.err);
    }
    return fail(context, "no keyboard found");
}

namespace {

bool hostConnected(KeyloomCore& core) {
    const ConnectionValues& values = core.state().connection;
    return values.state.load() == 1 && !values.busy.load();
}

}  // namespace

bool keyboardPresent(const CliContext& context) {
    return context.host != nullptr ? hostConnected(context.host->core())
                                   : configurationInterfacePresent();
}

bool ReadOnlyKeyboard::open(CliContext& context) {
    if (context.host != nullptr) {
        if (!hostConnected(context.host->core())) {
            reportNoKeyboard(context);
            return false;
        }
        link_ = &context.host->core().link();
    } else if (!discovery_.probe() ||
               discovery_.scanOnce() != DiscoveryMonitor::ScanResult::Found) {
        reportNoKeyboard(context);
        return false;
    }
    if (link_->ReadParameterBlock(parameters_.bytes) != result::Success) {
        fail(context, "the keyboard did not answer");
        return false;
    }
    return true;
}

bool ReadOnlyKeyboard::readDefaultMatrix(KeyMatrix& matrix) {
    return link_->ReadDefaultKeyMatrix(matrix.bytes) == result::Success;
}

KeyboardDump ReadOnlyKeyboard::dumpConfiguration(const std::string& path) {
    KeyMatrix defaults;
    if (const DeviceResult code = link_->ReadDefaultKeyMatrix(defaults.bytes);
        code != result::Success) {
        KeyboardDump failed;
        failed.device = code;
        return failed;
    }
    const KeyboardDumpSource source{*link_, defaults, parameters_.macroCapacity()};
    const int active = parameters_.activeProfile();
    return path.empty() ? readKeyboardDump(queue_, source, active, unnamedMacroPrefix())
                        : dumpKeyboardToFile(queue_, source, active, path, unnamedMacroPrefix());
}

DeviceResult readLightingState(DeviceLink& link, int profile, LightingState& state) {
    if (profile < 0 || profile >= kProfileCount)
        return result::BadProfile;
    std::array<std::uint8_t, kMaxReportData> reply{};
    const DeviceResult status =
        link.ReadProfileSettings(reply, static_cast<std::uint8_t>(ProfileRecord::kSize),
                                 static_cast<std::uint16_t>(profile * ProfileRecord::kSize));
    if (status != result::Success)
        return status;
    ProfileRecord record;
    record.assign(reply);
    decodeLightingState(record, state);
    return result::Success;
}

ConnectedKeyboard::~ConnectedKeyboard() {
    if (hostCore_ != nullptr)
        context_.host->routePrompts(nullptr);
    if (core_)
        core_->stop();
}

bool ConnectedKeyboard::open() {
    if (context_.host != nullptr) {
        if (!hostConnected(context_.host->core())) {
            reportNoKeyboard(context_);
            return false;
        }
        hostCore_ = &context_.host->core();
        context_.host->routePrompts(&window_);
        return true;
    }
    if (!setUpProgramFiles(context_, paths_))
        return false;
    // Without a keyboard to find, do not wait for discovery to give up.
    if (!configurationInterfacePresent()) {
        reportNoKeyboard(context_);
        return false;
    }
    prepareDataFolder(paths_);
    window_.adoptCurrentThread();
    CoreSetup setup;
    setup.startHidden = true;  // a command-line run never opens a window
    // Every transfer has ended when a command returns.
    setup.queueMode = KeyboardQueue::Mode::Synchronous;
    // The keyboard holds the user mode's colours already.
    setup.sendUserModeAtRead = false;
    setup.lightingWriteFailed = [this](DeviceResult code) {
        if (!lightingFailure_)
            lightingFailure_ = code;
    };
    core_ = std::make_unique<KeyloomCore>(window_.coreWindow(), paths_, setup);
    bindHeadlessWindow(window_, *core_);
    core_->start();
    const ConnectionValues& values = core_->state().connection;
    // Discovery reports the first scan's result either way; connected means
    // the connection change and the full read have run.
    bool connected = window_.pumpUntil(
        [&] { return values.state.load() == 1 && !values.busy.load(); }, kConnectLimit);
    if (!connected) {
        core_->stop();
        core_.reset();
        reportNoKeyboard(context_);
        return false;
    }
    return true;
}

bool ConnectedKeyboard::apply() {
    const int told = window_.told();
    if (core().apply())
        return true;
    // The keyboard's own reason (macros too long for its memory, a failed
    // write) has been printed; a guess would only contradict it.
    if (window_.told() != told)
        return false;
    fail(context_,
         core().state().connection.state.load() == 1
             ? "the keyboard did not take the change (no answer); nothing was lost, try again"
             : "the keyboard was disconnected; the change is kept in the slot file");
    return false;
}

}  // namespace keyloom::cli
