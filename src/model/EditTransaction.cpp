#include "model/EditTransaction.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace keyloom {

namespace {

bool hasMacroNumbered(const std::vector<MacroRecord>& macros, std::uint16_t number) {
    return std::any_of(macros.begin(), macros.end(),
                       [number](const MacroRecord& m) { return m.number == number; });
}

// A macro some key of the image played before the edit is no longer there.
bool playedMacroGone(const StoreContents& before, const StoreContents& after) {
    for (const KeyAssignment& entry : before.image->entries())
        if (entry.kind == AssignmentKind::Macro &&
            hasMacroNumbered(before.macros, static_cast<std::uint16_t>(entry.value)) &&
            !hasMacroNumbered(after.macros, static_cast<std::uint16_t>(entry.value)))
            return true;
    return false;
}

bool otherBlockChanged(const AssignmentImage& before, const AssignmentImage& after, int profile) {
    for (std::size_t block = 0; block < AssignmentImage::kBlockCount; ++block) {
        if (static_cast<int>(block) == profile)
            continue;
        const auto a = before.block(block);
        const auto b = after.block(block);
        if (!std::equal(a.begin(), a.end(), b.begin(), b.end()))
            return true;
    }
    return false;
}

}  // namespace

EditTransaction::EditTransaction(WorkingStore& store, EditListener* listener, int profile)
    : access_(store.lock()), listener_(listener), profile_(profile), before_(**access_) {}

EditTransaction::EditTransaction(EditTransaction&& other) noexcept
    : access_(std::move(other.access_)),
      listener_(other.listener_),
      profile_(other.profile_),
      before_(std::move(other.before_)) {
    other.access_.reset();
}

EditTransaction::~EditTransaction() {
    commit();
}

bool EditTransaction::commit() {
    if (!access_)
        return false;
    const StoreContents& after = **access_;
    const bool changed = *after.image != *before_.image || after.macros != before_.macros ||
                         after.texts != before_.texts;
    const bool allProfiles =
        changed && (otherBlockChanged(*before_.image, *after.image, profile_) ||
                    playedMacroGone(before_, after));
    access_.reset();
    if (changed && listener_ != nullptr)
        listener_->storeEdited(allProfiles);
    return changed;
}

}  // namespace keyloom
