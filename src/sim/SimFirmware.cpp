#include "sim/SimFirmware.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/fs/FileIo.h"
#include "sim/SimStateFile.h"

namespace keyloom::sim {

namespace {

std::span<std::uint8_t> dataOf(Report& report) {
    return std::span<std::uint8_t>(report).subspan(field::kData, kReportDataSize);
}

std::span<const std::uint8_t> dataOf(const Report& report) {
    return std::span<const std::uint8_t>(report).subspan(field::kData, kReportDataSize);
}

// Copies `length` bytes from `offset` of the area into the reply's data.
std::uint8_t readArea(std::span<const std::uint8_t> area, std::size_t length, std::size_t offset,
                      Report& reply) {
    if (length > kReportDataSize || offset + length > area.size())
        return reply_status::kRefused;
    std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(offset), length, dataOf(reply).begin());
    return reply_status::kOk;
}

// Stores `length` request data bytes at `offset` of the area.
std::uint8_t writeArea(std::span<std::uint8_t> area, std::size_t length, std::size_t offset,
                       const Report& request, bool& changed) {
    if (length > kReportDataSize || offset + length > area.size())
        return reply_status::kRefused;
    auto source = dataOf(request).first(length);
    auto target = area.subspan(offset, length);
    if (!std::equal(source.begin(), source.end(), target.begin())) {
        std::copy(source.begin(), source.end(), target.begin());
        changed = true;
    }
    return reply_status::kOk;
}

bool isConfigurationWrite(std::uint8_t cmd) {
    switch (cmd) {
        case command::kWriteParameterBlock:
        case command::kWriteProfileSettings:
        case command::kWriteKeyMatrix:
        case command::kWriteMacroArea:
        case command::kWriteKeyColours:
            return true;
        default:
            return false;
    }
}

// A long simulated session must not grow the list without end.
constexpr std::size_t kMaxProtocolFaults = 256;

// Moves the file to "<path>.bad-<n>" with the first free n, so that no
// earlier copy is replaced; the new name, or empty when it could not be moved.
std::string moveAside(const std::string& path) {
    for (int n = 1; n <= 999; ++n) {
        std::string aside = path + ".bad-" + std::to_string(n);
        // link() refuses an existing name, where rename() would replace it.
        if (::link(path.c_str(), aside.c_str()) == 0) {
            if (::unlink(path.c_str()) == 0)
                return aside;
            ::unlink(aside.c_str());
            return {};
        }
        if (errno == EEXIST)
            continue;
        // A file system without hard links: look first, then rename.
        if (fs::fileExists(aside))
            continue;
        return std::rename(path.c_str(), aside.c_str()) == 0 ? aside : std::string();
    }
    return {};
}

}  // namespace

SimFirmware::SimFirmware(const SimModel& model, std::uint8_t macroCapacityUnits)
    : model_(&model), memory_(factoryMemory(model, macroCapacityUnits)) {}

void SimFirmware::restoreFactoryContents() {
    memory_ = factoryMemory(*model_, memory_.parameters[kParameterMacroCapacity]);
}

void SimFirmware::setMacroCapacity(std::uint8_t units) {
    memory_.parameters[kParameterMacroCapacity] = units;
    memory_.macroArea = emptyMacroArea(std::size_t{units} * kMacroCapacityUnit);
}

FirmwareResponse SimFirmware::handleRequest(std::span<const std::uint8_t> bytes) {
    FirmwareResponse response;
    Report request{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), kReportSize), request.begin());
    log_.record(Direction::Received, request);

    if (bootMode_ || request[field::kReportId] != kConfigReportId)
        return response;
    const std::uint8_t cmd = request[field::kCommand];
    const std::uint8_t length = request[field::kLength];
    if (cmd == command::kBootMode && length == 0xEE) {
        bootMode_ = true;
        response.enteredBootMode = true;
        return response;
    }
    if (faults_.takeDrop())
        return response;

    const std::uint16_t offset = readU16(request, field::kOffset);
    Report& reply = response.reply;
    reply[field::kReportId] = kConfigReportId;
    reply[field::kCommand] = cmd;
    reply[field::kLength] = length;
    reply[field::kOffset] = request[field::kOffset];
    reply[field::kOffset + 1] = request[field::kOffset + 1];

    std::uint8_t status;
    if (readU16(request, field::kChecksum) != reportChecksum(request)) {
        status = reply_status::kBadChecksum;
    } else if (auto refusal = faults_.takeRefusal(cmd)) {
        status = *refusal;
    } else {
        checkBracketing(cmd);
        faults_.takeCorruption(cmd, dataOf(request));
        status = execute(cmd, length, offset, request, reply, response.memoryChanged);
    }
    reply[field::kStatus] = status;
    storeChecksum(reply);
    response.replied = true;
    response.delayMs = faults_.takeDelay();
    log_.record(Direction::Sent, reply);

    if (response.memoryChanged)
        saveState();
    return response;
}

void SimFirmware::checkBracketing(std::uint8_t cmd) {
    if (cmd == command::kBeginTransfer) {
        // The lighting wake-up sends Begin twice before its write: only a
        // group that already wrote makes a second Begin an interleaving.
        if (groupOpen_ && groupWrite_ != 0)
            recordProtocolFault("command 1 (Begin) inside an open group that wrote command " +
                                std::to_string(groupWrite_));
        groupOpen_ = true;
        groupWrite_ = 0;
    } else if (cmd == command::kEndTransfer) {
        groupOpen_ = false;
        groupWrite_ = 0;
    } else if (isConfigurationWrite(cmd)) {
        if (!groupOpen_)
            recordProtocolFault("command " + std::to_string(cmd) +
                                " (write) outside a Begin/End group");
        else if (groupWrite_ == 0)
            groupWrite_ = cmd;
    }
}

void SimFirmware::recordProtocolFault(std::string text) {
    if (protocolFaults_.size() < kMaxProtocolFaults)
        protocolFaults_.push_back(std::move(text));
}

std::uint8_t SimFirmware::execute(std::uint8_t cmd, std::uint8_t length, std::uint16_t offset,
                                  const Report& request, Report& reply, bool& changed) {
    switch (cmd) {
        case command::kBeginTransfer:
        case command::kEndTransfer:
        case 11:
        case 12:
        case 13:
        case 14:
            return reply_status::kOk;
        case command::kReadParameterBlock:
            return readArea(memory_.parameters, length, offset, reply);
        case command::kWriteParameterBlock: {
            auto block = memory_.parameters;
            bool touched = false;
            std::uint8_t status = writeArea(block, length, offset, request, touched);
            if (status != reply_status::kOk)
                return status;
            if (block[kParameterActiveProfile] >= kProfileCount)
                return reply_status::kRefused;
            // The macro capacity is the size of the keyboard's memory, not a setting.
            block[kParameterMacroCapacity] = memory_.parameters[kParameterMacroCapacity];
            if (block != memory_.parameters) {
                memory_.parameters = block;
                changed = true;
            }
            return reply_status::kOk;
        }
        case command::kReadProfileSettings: {
            // Always answers 56 bytes from the offset; the last record is read
            // with a 56-byte request, so bytes past the area read as 0.
            const auto& area = memory_.profileSettings;
            if (length > kReportDataSize || offset >= area.size())
                return reply_status::kRefused;
            std::size_t n = std::min(kReportDataSize, area.size() - offset);
            std::copy_n(area.begin() + offset, n, dataOf(reply).begin());
            return reply_status::kOk;
        }
        case command::kWriteProfileSettings:
            return writeArea(memory_.profileSettings, length, offset, request, changed);
        case command::kReadKeyMatrix:
            return readArea(memory_.keyMatrices, length, offset, reply);
        case command::kWriteKeyMatrix:
            return writeArea(memory_.keyMatrices, length, offset, request, changed);
        case command::kReadMacroArea:
            return readArea(memory_.macroArea, length, offset, reply);
        case command::kWriteMacroArea:
            return writeArea(memory_.macroArea, length, offset, request, changed);
        case command::kReadDefaultKeyMatrix:
            return readArea(memory_.defaultMatrix, length, offset, reply);
        case command::kReadKeyColours:
            return readArea(memory_.keyColours, length, offset, reply);
        case command::kWriteKeyColours:
            return writeArea(memory_.keyColours, length, offset, request, changed);
        default:
            return reply_status::kRefused;
    }
}

bool SimFirmware::selectProfile(std::uint8_t profile) {
    if (profile >= kProfileCount)
        return false;
    if (memory_.parameters[kParameterActiveProfile] != profile) {
        memory_.parameters[kParameterActiveProfile] = profile;
        saveState();
    }
    return true;
}

std::string SimFirmware::attachStateFile(const std::string& path, StateFileUse use) {
    stateFile_.clear();
    saveError_.clear();
    stateFileUnusable_ = false;
    const bool keep = use == StateFileUse::KeepChanges;
    // A new file holds nothing to lose: every use keeps the memory there.
    if (!fs::fileExists(path)) {
        stateFile_ = path;
        return {};
    }
    std::vector<std::uint8_t> bytes;
    std::string reason;
    SimMemory loaded = memory_;
    if (!fs::readFile(path, bytes, kMaxStateFileSize)) {
        reason = "it cannot be read or is too large";
    } else if (parseState(std::string(bytes.begin(), bytes.end()), *model_, loaded, reason)) {
        memory_ = std::move(loaded);
        if (keep)
            stateFile_ = path;
        return {};
    }

    stateFileUnusable_ = true;
    restoreFactoryContents();
    std::string message =
        "simulated keyboard: state file " + path + " is not usable (" + reason + ")";
    if (!keep)
        return message + "; it was left as it is";
    message += "; the keyboard starts with factory contents";
    const std::string aside = moveAside(path);
    if (!aside.empty()) {
        stateFile_ = path;
        return message + ", and the old file was kept as " + aside;
    }
    return message + ", and its memory is not kept because the old file cannot be moved aside";
}

bool SimFirmware::saveState() {
    if (stateFile_.empty())
        return true;
    if (fs::writeFileAtomically(stateFile_, serializeState(*model_, memory_))) {
        saveError_.clear();
        return true;
    }
    saveError_ = "cannot write the state file " + stateFile_;
    return false;
}

}  // namespace keyloom::sim
