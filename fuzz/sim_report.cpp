// Feeds arbitrary reports to the simulated keyboard's firmware: it must never
// read or write outside its memory, and every reply must be a well-formed
// report that echoes the request's command.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "sim/SimFirmware.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace keyloom::sim;
    if (size == 0)
        return 0;
    // The first byte picks the model and the macro capacity.
    static SimFirmware firstModel(kModel652F);
    static SimFirmware secondModel(kModel5064);
    SimFirmware& firmware = (data[0] & 1) ? secondModel : firstModel;
    firmware.restoreFactoryContents();
    firmware.setMacroCapacity(static_cast<std::uint8_t>(data[0] >> 1));
    firmware.faults().clear();
    firmware.log().clear();
    firmware.leaveBootMode();
    ++data;
    --size;

    while (size > 0) {
        std::size_t n = size < kReportSize ? size : kReportSize;
        Report request{};
        for (std::size_t i = 0; i < n; ++i)
            request[i] = data[i];
        // Half the time the checksum is right, so commands are carried out.
        if (request[1] & 1)
            storeChecksum(request);
        firmware.handleRequest(std::span(data, n));
        auto response = firmware.handleRequest(request);
        if (response.replied) {
            const Report& reply = response.reply;
            if (reply[0] != kConfigReportId || reply[3] != request[3] ||
                readU16(reply, 1) != reportChecksum(reply))
                std::abort();
        }
        if (firmware.memory().macroArea.size() !=
            std::size_t{firmware.memory().parameters[kParameterMacroCapacity]} * kMacroCapacityUnit)
            std::abort();
        data += n;
        size -= n;
    }
    return 0;
}
