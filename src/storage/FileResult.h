#pragma once
// The result of reading or writing a profile file. The numbers are the
// file layer's own result codes (1 success, 0 failure, -2 cannot be
// opened or read, -3 out of memory), kept for keyloomctl's output (toCode).

#include <ostream>

namespace keyloom {

enum class [[nodiscard]] FileResult : int{
    Ok = 1,
    Failed = 0,
    CannotOpen = -2,
    OutOfMemory = -3,
};

constexpr int toCode(FileResult result) {
    return static_cast<int>(result);
}

inline std::ostream& operator<<(std::ostream& out, FileResult result) {
    return out << toCode(result);
}

}  // namespace keyloom
