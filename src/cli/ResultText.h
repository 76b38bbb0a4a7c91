#pragma once
// Plain words for the protocol's result codes, for error messages.

#include <string>

namespace keyloom::cli {

std::string describeResult(int result);

}  // namespace keyloom::cli
