#include "core/ModifiedState.h"

namespace keyloom {

void ModifiedState::markEdited() {
    {
        std::lock_guard lock(mutex_);
        ++revision_;
        modified_ = true;
    }
    tell();
}

void ModifiedState::clear() {
    {
        std::lock_guard lock(mutex_);
        modified_ = false;
    }
    tell();
}

bool ModifiedState::clearIfUnchanged(std::uint64_t revision) {
    {
        std::lock_guard lock(mutex_);
        if (revision_.load() != revision)
            return false;
        modified_ = false;
    }
    tell();
    return true;
}

void ModifiedState::tell() {
    view_.modifiedChanged(modified_.load());
}

}  // namespace keyloom
