#pragma once
// Setting up a simulated keyboard from a "MODEL[:STATEFILE]" text, as the
// programs' --simulate option gives it: MODEL is "0c45:652f" or "320f:5064".
//
//   keyloom::sim::Simulation simulation;
//   std::string error;
//   if (!keyloom::sim::startSimulation(argument, keyloom::hid::HidPlatform::system(),
//                                      simulation, error)) { /* print error, exit 2 */ }
//   if (!simulation.message.empty()) { /* tell the user (damaged state file) */ }

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/hid/HidPlatform.h"
#include "sim/SimBackend.h"

namespace keyloom::sim {

struct SimulationChoice {
    const SimModel* model = nullptr;
    std::string stateFile;  // empty: memory not kept
};

// False with a message for the user when the text is not MODEL[:STATEFILE].
bool parseSimulationArgument(std::string_view text, SimulationChoice& choice, std::string& error);

// The environment variable that gives each report's time on the simulated
// wire in microseconds (SimKeyboard::setReportTime).
inline constexpr const char* kReportTimeVariable = "KEYLOOM_SIM_REPORT_US";
inline constexpr std::uint32_t kMaxReportTimeUs = 100000;

// A whole decimal number 0..kMaxReportTimeUs; false with a message otherwise.
bool parseReportTime(std::string_view text, std::uint32_t& microseconds, std::string& error);

struct Simulation {
    std::shared_ptr<SimBackend> backend;
    std::shared_ptr<SimKeyboard> keyboard;
    // Set when the state file was not usable (the keyboard then starts with
    // factory contents); the simulation runs all the same.
    std::string message;
};

// Creates the keyboard (its memory from the state file when one is named and
// present, its report time from KEYLOOM_SIM_REPORT_US: an unusable value is
// ignored with a message) and registers its backend on `platform`. False, with
// nothing registered, when `text` is malformed. With LookOnly the state file is
// never written or moved, and a keyboard whose file is not usable stays
// unplugged rather than show factory contents as its own.
bool startSimulation(std::string_view text, hid::HidPlatform& platform, Simulation& simulation,
                     std::string& error,
                     SimFirmware::StateFileUse use = SimFirmware::StateFileUse::KeepChanges);

}  // namespace keyloom::sim
