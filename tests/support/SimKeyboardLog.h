#pragma once
// What a simulated keyboard received and holds, in the terms tests check:
// the configuration requests (command, length, offset, data) since the log
// was last cleared, the profiles whose key matrix was written, its memory.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/SimKeyboard.h"

namespace keyloom::testing {

struct Request {
    std::uint8_t command = 0;
    std::uint8_t length = 0;
    std::uint16_t offset = 0;
    std::vector<std::uint8_t> data;
};

inline std::vector<Request> requestsReceived(sim::SimKeyboard& keyboard) {
    return keyboard.withFirmware([](sim::SimFirmware& f) {
        std::vector<Request> out;
        for (const sim::LogEntry& entry : f.log().entries()) {
            if (entry.direction != sim::Direction::Received)
                continue;
            Request r;
            r.command = entry.bytes[3];
            r.length = entry.bytes[4];
            r.offset = static_cast<std::uint16_t>(entry.bytes[5] | entry.bytes[6] << 8);
            r.data.assign(entry.bytes.begin() + 8,
                          entry.bytes.begin() + 8 + std::min<std::size_t>(r.length, 56));
            out.push_back(std::move(r));
        }
        return out;
    });
}

// Profiles whose key matrix was written (command 8 at offset 0 of a profile).
inline std::vector<int> matrixWritesReceived(sim::SimKeyboard& keyboard) {
    std::vector<int> out;
    const unsigned stride = keyboard.model().keyMatrixStride;
    for (const Request& r : requestsReceived(keyboard))
        if (r.command == 8 && r.offset % stride == 0)
            out.push_back(static_cast<int>(r.offset / stride));
    return out;
}

// Bracketing faults the keyboard saw (SimFirmware::protocolFaults).
inline std::vector<std::string> protocolFaultsOf(sim::SimKeyboard& keyboard) {
    return keyboard.withFirmware([](sim::SimFirmware& f) { return f.protocolFaults(); });
}

inline void clearReceived(sim::SimKeyboard& keyboard) {
    keyboard.withFirmware([](sim::SimFirmware& f) { f.log().clear(); });
}

inline sim::SimMemory memoryOf(sim::SimKeyboard& keyboard) {
    return keyboard.withFirmware([](sim::SimFirmware& f) { return f.memory(); });
}

}  // namespace keyloom::testing
