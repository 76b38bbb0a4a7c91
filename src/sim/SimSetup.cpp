#include "sim/SimSetup.h"

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

bool parseSimulationSpec(std::string_view text, SimulationSpec& spec, std::string& error) {
    constexpr std::size_t kModelLength = 9;  // "vvvv:pppp"
    const std::string usage =
        "expected MODEL[:STATEFILE] with MODEL 0c45:652f or 320f:5064, got \"" + std::string(text) +
        "\"";
    spec = {};
    spec.model = parseModelName(text.substr(0, kModelLength));
    if (spec.model == nullptr) {
        error = usage;
        return false;
    }
    if (text.size() > kModelLength) {
        if (text[kModelLength] != ':' || text.size() == kModelLength + 1) {
            spec.model = nullptr;
            error = usage;
            return false;
        }
        spec.stateFile = std::string(text.substr(kModelLength + 1));
    }
    return true;
}

bool startSimulation(std::string_view text, hid::HidPlatform& platform, Simulation& simulation,
                     std::string& error) {
    SimulationSpec spec;
    if (!parseSimulationSpec(text, spec, error))
        return false;

    simulation = {};
    simulation.backend = std::make_shared<SimBackend>();
    simulation.keyboard = simulation.backend->addKeyboard(*spec.model);
    if (!spec.stateFile.empty()) {
        std::string folder = parentFolder(spec.stateFile);
        if (!folder.empty())
            fs::makeDirectories(folder);
        simulation.message = simulation.keyboard->withFirmware(
            [&](SimFirmware& firmware) { return firmware.attachStateFile(spec.stateFile); });
    }
    platform.addBackend(simulation.backend);
    return true;
}

}  // namespace keyloom::sim
