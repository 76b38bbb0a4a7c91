#pragma once
// The process-wide values of the keyboard connection. The discovery thread
// and the window thread both read and write them, so each is atomic on its
// own; none of them needs to change together with another.

#include <atomic>
#include <cstddef>

namespace keyloom {

struct ConnectionValues {
    static constexpr int kUnknownProfile = -1;

    // 0 = no keyboard, 1 = keyboard present (as last handled by the
    // connection change, which may lag the link's connected flag).
    std::atomic<int> state{0};
    // Set while a connection change is being handled.
    std::atomic<bool> busy{false};
    // Active on-board profile as last read from the keyboard; -1 = not known,
    // read on demand.
    std::atomic<int> activeProfile{kUnknownProfile};
    // Macro area capacity in bytes (parameter block byte 11 x 128).
    std::atomic<std::size_t> macroCapacity{0};
    // The next write to the keyboard writes all three profiles (a macro that
    // keys of any profile may refer to was deleted).
    std::atomic<bool> writeAllProfiles{false};
};

}  // namespace keyloom
