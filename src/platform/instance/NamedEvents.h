#pragma once
// The program's 210 named events, kept as named POSIX semaphores
// ("/Keyloom_Event_Main_01" .. "/Keyloom_Event_Main_210"), created unsignalled
// at start-up and removed when the set is destroyed. Nothing in the program
// waits on them; they exist for companion programs. Names the system refuses
// (no /dev/shm, another user's semaphore) are skipped without complaint.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace keyloom::instance {

inline constexpr int kNamedEventCount = 210;
inline constexpr std::string_view kNamedEventPrefix = "Keyloom_Event_";

// The name of event `number` (1-based): `prefix` + "Main_" + the number with
// at least two digits.
std::string namedEventName(std::string_view prefix, int number);

class NamedEvents {
public:
    NamedEvents() = default;
    // Creates (or opens, when left over from a crashed run) every event.
    // `prefix` is replaceable so tests do not touch the program's names.
    static NamedEvents create(std::string_view prefix = kNamedEventPrefix);

    ~NamedEvents();
    NamedEvents(NamedEvents&& other) noexcept = default;
    NamedEvents& operator=(NamedEvents&& other) noexcept;
    NamedEvents(const NamedEvents&) = delete;
    NamedEvents& operator=(const NamedEvents&) = delete;

    // How many of the events exist.
    std::size_t size() const { return events_.size(); }
    // Closes and removes every event. Idempotent.
    void close();

private:
    std::vector<std::string> events_;  // names with the leading '/'
};

}  // namespace keyloom::instance
