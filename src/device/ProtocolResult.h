#pragma once
// The result of every configuration-protocol operation. Callers test for
// Success; every other value is a failure. The numbers are the protocol's
// own result codes, kept for the trace, keyloomctl's output and the stored
// integers callers compare against (toCode).

#include <ostream>

namespace keyloom {

enum class [[nodiscard]] DeviceResult : int{
    Success = 1,
    // Not connected (nothing was sent), or no reply after the last attempt.
    NoReply = 0,
    NotWritten = -1,
    StatusFF = -102,
    StatusFE = -103,
    // Profile number outside 0-2 given to a key matrix command; nothing was sent.
    BadProfile = -201,
};

constexpr int toCode(DeviceResult result) {
    return static_cast<int>(result);
}

inline std::ostream& operator<<(std::ostream& out, DeviceResult result) {
    return out << toCode(result);
}

// The short names the sequences use.
namespace result {
inline constexpr DeviceResult Success = DeviceResult::Success;
inline constexpr DeviceResult NoReply = DeviceResult::NoReply;
inline constexpr DeviceResult NotWritten = DeviceResult::NotWritten;
inline constexpr DeviceResult StatusFF = DeviceResult::StatusFF;
inline constexpr DeviceResult StatusFE = DeviceResult::StatusFE;
inline constexpr DeviceResult BadProfile = DeviceResult::BadProfile;
}  // namespace result

}  // namespace keyloom
