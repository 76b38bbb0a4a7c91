#pragma once
// Plain words for the protocol's result codes, for error messages.

#include <string>

#include "device/ProtocolResult.h"

namespace keyloom::cli {

std::string describeResult(DeviceResult result);

}  // namespace keyloom::cli
