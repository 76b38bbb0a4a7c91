#pragma once
// Whether the working store holds key changes the keyboard has not been
// given (the main window shows it as Apply's enabled state). Each edit bumps
// a revision; Apply remembers the revision it wrote and clears the state only
// when no edit came in meanwhile, so an edit made while Apply was writing is
// never taken for applied.
//
// Thread-safe. Every change is told to the window's view (also a change to
// the same value, so the view can mirror it without keeping its own copy);
// the view is never told while a store lock is held by the caller.

#include <atomic>
#include <cstdint>
#include <mutex>

#include "core/window/MainView.h"

namespace keyloom {

class ModifiedState {
public:
    explicit ModifiedState(window::MainView& view) : view_(view) {}
    ModifiedState(const ModifiedState&) = delete;
    ModifiedState& operator=(const ModifiedState&) = delete;

    bool isModified() const { return modified_.load(); }
    // The revision of the working store's key changes; Apply passes the one
    // it read before writing to clearIfUnchanged.
    std::uint64_t revision() const { return revision_.load(); }

    // The working store was edited.
    void markEdited();
    // The working store holds what the keyboard or the slot file holds.
    void clear();
    // Clears only when no edit came after `revision`; false when one did.
    bool clearIfUnchanged(std::uint64_t revision);

private:
    // Tells the view the value as it is now, so that of two changes told in
    // the other order the last told is still the current one.
    void tell();

    window::MainView& view_;
    std::mutex mutex_;  // revision and flag change together
    std::atomic<bool> modified_{false};
    std::atomic<std::uint64_t> revision_{0};
};

}  // namespace keyloom
