#include "sim/SimSetup.h"

#include <cstdlib>

#include "platform/fs/FileIo.h"

namespace keyloom::sim {

namespace {

std::string parentFolder(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0)
        return {};
    return path.substr(0, slash);
}

}  // namespace

bool parseSimulationArgument(std::string_view text, SimulationChoice& choice, std::string& error) {
    constexpr std::size_t kModelLength = 9;  // "vvvv:pppp"
    const std::string usage =
        "expected MODEL[:STATEFILE] with MODEL 0c45:652f or 320f:5064, got \"" + std::string(text) +
        "\"";
    choice = {};
    choice.model = parseModelName(text.substr(0, kModelLength));
    if (choice.model == nullptr) {
        error = usage;
        return false;
    }
    if (text.size() > kModelLength) {
        if (text[kModelLength] != ':' || text.size() == kModelLength + 1) {
            choice.model = nullptr;
            error = usage;
            return false;
        }
        choice.stateFile = std::string(text.substr(kModelLength + 1));
    }
    return true;
}

bool parseReportTime(std::string_view text, std::uint32_t& microseconds, std::string& error) {
    std::uint32_t value = 0;
    bool digits = !text.empty() && text.size() <= 9;
    for (char c : text) {
        if (c < '0' || c > '9') {
            digits = false;
            break;
        }
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (!digits || value > kMaxReportTimeUs) {
        error = std::string(kReportTimeVariable) + "=\"" + std::string(text) +
                "\" is not a number of microseconds from 0 to " + std::to_string(kMaxReportTimeUs);
        return false;
    }
    microseconds = value;
    return true;
}

bool startSimulation(std::string_view text, hid::HidPlatform& platform, Simulation& simulation,
                     std::string& error, SimFirmware::StateFileUse use) {
    SimulationChoice choice;
    if (!parseSimulationArgument(text, choice, error))
        return false;

    simulation = {};
    simulation.backend = std::make_shared<SimBackend>();
    simulation.keyboard = simulation.backend->addKeyboard(*choice.model);
    if (!choice.stateFile.empty()) {
        const bool lookOnly = use == SimFirmware::StateFileUse::LookOnly;
        std::string folder = parentFolder(choice.stateFile);
        if (!folder.empty())
            fs::makeDirectories(folder);
        bool unusable = false;
        simulation.message = simulation.keyboard->withFirmware([&](SimFirmware& firmware) {
            std::string message = firmware.attachStateFile(choice.stateFile, use);
            unusable = firmware.stateFileUnusable();
            return message;
        });
        if (lookOnly && unusable) {
            simulation.keyboard->unplug();
            simulation.message += ", and the simulated keyboard stays unplugged";
        }
    }
    if (const char* reportTime = std::getenv(kReportTimeVariable)) {
        std::uint32_t us = 0;
        std::string problem;
        if (parseReportTime(reportTime, us, problem)) {
            simulation.keyboard->setReportTime(us);
        } else {
            if (!simulation.message.empty())
                simulation.message += "\n";
            simulation.message +=
                "simulated keyboard: " + problem + "; it is ignored and reports take no time";
        }
    }
    platform.addBackend(simulation.backend);
    return true;
}

}  // namespace keyloom::sim
