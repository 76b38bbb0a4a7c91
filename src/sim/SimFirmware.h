#pragma once
// The simulated keyboard's firmware: its configuration memory and the handling
// of every configuration request. It knows nothing of HID plumbing: a 64-byte
// request goes in, an optional 64-byte reply comes out with what else the
// request did. Not thread-safe; SimKeyboard serialises access.
//
//   keyloom::sim::SimFirmware firmware(keyloom::sim::kModel652F);
//   auto response = firmware.handleRequest(keyloom::sim::makeRequest(3, 44, 0));
//   // response.replied, response.reply[7] == 0, parameter block at reply[8..51]

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/SimFaults.h"
#include "sim/SimMemory.h"
#include "sim/SimModel.h"
#include "sim/SimReport.h"
#include "sim/SimReportLog.h"

namespace keyloom::sim {

struct FirmwareResponse {
    bool replied = false;
    Report reply{};
    // How long after the request the reply leaves the keyboard.
    std::uint32_t delayMs = 0;
    // The request switched the keyboard to its boot loader: it leaves the bus.
    bool enteredBootMode = false;
    bool memoryChanged = false;
};

class SimFirmware {
public:
    explicit SimFirmware(const SimModel& model, std::uint8_t macroCapacityUnits = 32);

    // Handles one request report (byte 0 the report id; shorter requests are
    // zero-padded to 64 bytes, longer ones cut). Requests of another report id
    // and requests while in boot mode go unanswered.
    FirmwareResponse handleRequest(std::span<const std::uint8_t> request);

    const SimModel& model() const { return *model_; }
    // Direct access for tests and tools; call saveState() after changing it
    // if a state file is attached.
    SimMemory& memory() { return memory_; }
    const SimMemory& memory() const { return memory_; }
    void restoreFactoryContents();
    // Gives the keyboard a macro area of `units` × 128 bytes, emptied.
    void setMacroCapacity(std::uint8_t units);

    SimFaults& faults() { return faults_; }
    SimReportLog& log() { return log_; }
    const SimReportLog& log() const { return log_; }

    bool inBootMode() const { return bootMode_; }
    // Power cycle after a firmware update: the keyboard runs its firmware again.
    void leaveBootMode() { bootMode_ = false; }

    // How a state file is used: kept up to date, or only read by a program
    // that must leave it exactly as it is.
    enum class StateFileUse { KeepChanges, LookOnly };
    // Loads the memory from `path` when the file exists. KeepChanges saves
    // after every change; a damaged file, or one of another model, is then
    // moved aside to the first free `path` + ".bad-N" and the keyboard starts
    // with factory contents. LookOnly never writes or moves a file that
    // exists: an unusable one is left alone. Returns a message for the user
    // when the file was not usable, empty otherwise.
    std::string attachStateFile(const std::string& path,
                                StateFileUse use = StateFileUse::KeepChanges);
    const std::string& stateFile() const { return stateFile_; }
    // The last attached state file existed but could not be loaded.
    bool stateFileUnusable() const { return stateFileUnusable_; }
    // Writes the memory to the attached state file now; true without one.
    bool saveState();
    // Why the last save failed; empty after a successful one.
    const std::string& saveError() const { return saveError_; }

    // Requests that broke the bracketing of configuration writes, as short
    // texts naming the commands: a write outside a Begin/End group, or a
    // Begin while a group that already wrote is open (two groups
    // interleaved). Two Begins in a row, reads and a lone End are allowed.
    const std::vector<std::string>& protocolFaults() const { return protocolFaults_; }
    void clearProtocolFaults() { protocolFaults_.clear(); }

    // Changes made on the keyboard itself (the caller sends the matching
    // notification). False for a profile above 2.
    bool selectProfile(std::uint8_t profile);

private:
    std::uint8_t execute(std::uint8_t command, std::uint8_t length, std::uint16_t offset,
                         const Report& request, Report& reply, bool& changed);

    void checkBracketing(std::uint8_t command);
    void recordProtocolFault(std::string text);

    const SimModel* model_;
    SimMemory memory_;
    SimFaults faults_;
    SimReportLog log_;
    bool bootMode_ = false;
    std::string stateFile_;
    std::string saveError_;
    bool groupOpen_ = false;
    std::uint8_t groupWrite_ = 0;  // first write command of the open group, 0 for none
    std::vector<std::string> protocolFaults_;
    bool stateFileUnusable_ = false;
};

}  // namespace keyloom::sim
