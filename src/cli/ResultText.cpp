#include "cli/ResultText.h"

#include "device/ProtocolResult.h"

namespace keyloom::cli {

std::string describeResult(DeviceResult code) {
    switch (code) {
        case result::Success:
            return "success";
        case result::NoReply:
            return "not connected, or no answer from the keyboard";
        case result::NotWritten:
            return "the request could not be written";
        case result::StatusFF:
            return "the keyboard refused the request (status 0xFF)";
        case result::StatusFE:
            return "the keyboard refused the request (status 0xFE)";
        case result::BadProfile:
            return "no such on-board profile";
        default:
            return "result " + std::to_string(toCode(code));
    }
}

}  // namespace keyloom::cli
