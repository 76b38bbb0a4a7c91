#pragma once
// The names under which a running Keyloom serves the session bus.

namespace keyloom::cli::bus {

inline constexpr const char* kServiceName = "io.github.keyloom.Keyloom";
inline constexpr const char* kObjectPath = "/io/github/keyloom/Keyloom";
inline constexpr const char* kInterface = "io.github.keyloom.Keyloom1";
inline constexpr const char* kErrorPrefix = "io.github.keyloom.Error.";

}  // namespace keyloom::cli::bus
