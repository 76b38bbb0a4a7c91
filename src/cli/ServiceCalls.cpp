#include "cli/ServiceCalls.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>

#include "cli/LightingSession.h"
#include "core/KeyloomCore.h"
#include "core/window/Prompter.h"
#include "device/KeyboardModels.h"
#include "lighting/LightingOps.h"

namespace keyloom::cli {

namespace {

// The core's message boxes during a call: questions are answered No and
// remembered, so the call can say what the window would have asked.
class RecordingPrompter : public window::Prompter {
public:
    window::MessageAnswer showMessage(const window::MessageRequest& request) override {
        std::lock_guard lock(mutex_);
        if (request.buttons == window::MessageButtons::YesNo) {
            if (!question_)
                question_ = request.text;
            return window::MessageAnswer::No;
        }
        told_ = request.text;
        return window::MessageAnswer::Ok;
    }
    std::optional<std::string> question() const {
        std::lock_guard lock(mutex_);
        return question_;
    }
    std::string told() const {
        std::lock_guard lock(mutex_);
        return told_;
    }

private:
    mutable std::mutex mutex_;
    std::optional<std::string> question_;
    std::string told_;
};

// Routes the core's prompts for as long as it lives.
class PromptRoute {
public:
    PromptRoute(CliHost& host, window::Prompter& prompts) : host_(host) {
        host_.routePrompts(&prompts);
    }
    ~PromptRoute() { host_.routePrompts(nullptr); }
    PromptRoute(const PromptRoute&) = delete;
    PromptRoute& operator=(const PromptRoute&) = delete;

private:
    CliHost& host_;
};

bool connected(KeyloomCore& core) {
    return core.state().connection.state.load() == 1 && !core.state().connection.busy.load();
}

std::string modelName(KeyloomCore& core) {
    // Discovery sets the model's matrix length before it reports the keyboard.
    const auto length = core.link().modelValues().keyMatrixLength.load();
    for (const KeyboardModel& model : kAcceptedKeyboards)
        if (model.keyMatrixLength == length) {
            char text[10];
            std::snprintf(text, sizeof text, "%04x:%04x", model.vendorId, model.productId);
            return text;
        }
    return {};
}

CallOutcome refused(CallError error, std::string message) {
    return {error, std::move(message)};
}

CallOutcome outOfRange(const char* what, int value, int low, int high) {
    return refused(CallError::InvalidArgument,
                   std::string(what) + " " + std::to_string(value) + " does not exist; it takes " +
                       std::to_string(low) + " to " + std::to_string(high) + ".");
}

std::string listedEffects(const EffectList& effects) {
    std::string list;
    for (std::size_t i = 0; i < effects.size(); ++i)
        list += (i == 0 ? "" : ", ") + std::to_string(effects.effectAt(static_cast<int>(i)));
    return list.empty() ? "none" : list;
}

}  // namespace

ServiceCalls::~ServiceCalls() {
    ending_.store(true);
    std::lock_guard lock(watchesMutex_);
    for (Watch& watch : watches_)
        watch.thread.join();
}

ServiceProperties ServiceCalls::properties() {
    KeyloomCore& core = window_.core();
    ServiceProperties properties;
    properties.modified = core.modified().isModified();
    if (!connected(core))
        return properties;
    properties.connected = true;
    properties.model = modelName(core);
    const int active = core.state().connection.activeProfile.load();
    properties.activeProfile = active >= 0 && active < kProfileCount ? active + 1 : 0;
    const LightingState lighting = core.lightingState();
    properties.reportRate = ProfileRecord::kReportRatesHz[std::min<std::size_t>(
        lighting.reportRate, ProfileRecord::kMaxReportRate)];
    properties.effect = lighting.effect;
    properties.brightness = lighting.brightness;
    return properties;
}

void ServiceCalls::change(std::function<CallOutcome()> change, Done done) {
    window_.core().queue().submit([this, change = std::move(change), done = std::move(done)] {
        KeyloomCore& core = window_.core();
        if (!connected(core))
            return done(refused(CallError::NoKeyboard, "No keyboard is connected."));
        if (window_.dialogOpen())
            return done(refused(CallError::Busy,
                                "Keyloom shows a dialog; close it and try again. Nothing was "
                                "changed."));
        RecordingPrompter prompts;
        CallOutcome outcome;
        {
            PromptRoute route(window_, prompts);
            outcome = change();
        }
        if (const auto question = prompts.question(); question && outcome.error == CallError::None)
            outcome = refused(CallError::Busy, *question);
        if (outcome.error == CallError::WriteFailed && !prompts.told().empty())
            outcome.message = prompts.told();
        window_.showCoreState();
        done(std::move(outcome));
    });
}

void ServiceCalls::setActiveProfile(int profile, Done done) {
    if (profile < 1 || profile > kProfileCount)
        return done(outOfRange("Profile", profile, 1, kProfileCount));
    change(
        [this, profile] {
            KeyloomCore& core = window_.core();
            // The profile button would ask whether to apply or drop them.
            if (core.modified().isModified())
                return refused(CallError::Busy,
                               "The window holds changes that are not applied; apply or "
                               "discard them there first. The profile was not switched.");
            if (!core.profileButton(profile - 1) ||
                core.state().connection.activeProfile.load() != profile - 1)
                return refused(CallError::WriteFailed, "The keyboard did not switch to profile " +
                                                           std::to_string(profile) + ".");
            return CallOutcome{};
        },
        std::move(done));
}

void ServiceCalls::setEffect(int effect, Done done) {
    if (effect < 1 || effect > 255)
        return done(outOfRange("Effect", effect, 1, 255));
    change(
        [this, effect] {
            auto lighting = window_.core().lighting().lock();
            const int position = lighting->effects().positionOf(static_cast<std::uint8_t>(effect));
            if (position < 0)
                return refused(CallError::InvalidArgument,
                               "The keyboard does not offer effect " + std::to_string(effect) +
                                   "; it offers " + listedEffects(lighting->effects()) + ".");
            // An effect the panel shows no controls for is not sent by it either.
            if (shownControls(static_cast<std::uint8_t>(effect), true).any())
                lighting->selectEffectAt(position);
            return CallOutcome{};
        },
        std::move(done));
}

void ServiceCalls::setBrightness(int level, Done done) {
    if (level < 0 || level > lighting::kBrightnessMax)
        return done(outOfRange("Brightness", level, 0, lighting::kBrightnessMax));
    change(
        [this, level] {
            auto lighting = window_.core().lighting().lock();
            // The slider sends nothing when it stays where it is.
            if (lighting->state().brightness != level)
                lighting->sliderMoved(controlId(LightingControl::BrightnessSlider), level);
            return CallOutcome{};
        },
        std::move(done));
}

void ServiceCalls::run(std::vector<std::string> args, RunDone done) {
    CliOptions options;
    std::vector<const char*> argv{"keyloomctl"};
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    std::string error;
    // Wrong usage is told by the command line itself.
    const bool parsed =
        parseCommandLine(static_cast<int>(argv.size()), argv.data(), options, error);
    if (parsed && options.command == "watch" && !ending_.load()) {
        // Reads notifications only: no keyboard job, no dialog to respect.
        std::lock_guard lock(watchesMutex_);
        // Threads of watches that ended are joined here, so none piles up.
        watches_.remove_if([](Watch& watch) {
            if (!watch.finished->load())
                return false;
            watch.thread.join();
            return true;
        });
        auto finished = std::make_shared<std::atomic<bool>>(false);
        watches_.push_back(
            {std::thread([this, finished, args = std::move(args), done = std::move(done)] {
                 done({}, runCommandLine(args, window_));
                 finished->store(true);
             }),
             finished});
        return;
    }
    const bool looks = !parsed || options.help || looksOnly(options);
    window_.core().queue().submit([this, looks, args = std::move(args), done = std::move(done)] {
        if (!looks && window_.dialogOpen())
            return done(refused(CallError::Busy,
                                "Keyloom shows a dialog; close it and try again. Nothing was "
                                "run."),
                        {});
        CommandRun result = runCommandLine(args, window_);
        window_.showCoreState();
        done({}, std::move(result));
    });
}

}  // namespace keyloom::cli
