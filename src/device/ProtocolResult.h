#pragma once
// Result codes of every configuration-protocol operation. Callers test for
// Success; every other value is a failure.

namespace keyloom::result {

inline constexpr int Success = 1;
// Not connected (nothing was sent), or no reply after the last attempt.
inline constexpr int NoReply = 0;
inline constexpr int NotWritten = -1;
inline constexpr int StatusFF = -102;
inline constexpr int StatusFE = -103;
// Profile number outside 0-2 given to a key matrix command; nothing was sent.
inline constexpr int BadProfile = -201;

}  // namespace keyloom::result
