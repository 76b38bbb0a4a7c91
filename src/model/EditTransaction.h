#pragma once
// One edit of the working store. It holds the store's lock while the caller
// changes keys, macros and texts; when it ends (commit, or leaving scope) it
// lets go of the lock and, when anything changed, tells its listener, which
// marks the configuration modified. It also works out whether the next write
// must cover every profile: when a block other than the edited profile's
// changed, or a macro that some key plays is gone (every profile's matrix
// refers to the macro area by number). An edit that changed nothing is not
// told, so looking through a transaction never asks for a write.

#include <memory>
#include <optional>
#include <vector>

#include "model/ConfigurationStore.h"

namespace keyloom {

class EditListener {
public:
    virtual ~EditListener() = default;
    // The working store was changed (no store lock is held); `allProfiles`:
    // the next write must cover every profile.
    virtual void storeEdited(bool allProfiles) = 0;
};

class EditTransaction {
public:
    // `profile` 0-2 is the profile being edited; any other number counts
    // every block as another profile's. No listener: nobody is told.
    EditTransaction(WorkingStore& store, EditListener* listener, int profile);
    EditTransaction(EditTransaction&&) noexcept;
    EditTransaction& operator=(EditTransaction&&) = delete;
    EditTransaction(const EditTransaction&) = delete;
    EditTransaction& operator=(const EditTransaction&) = delete;
    ~EditTransaction();

    // Only while the transaction is open.
    StoreContents& operator*() const { return **access_; }
    StoreContents* operator->() const { return access_->operator->(); }

    // Ends the edit (the lock is let go first) and tells the listener what
    // changed; true when anything did. Later calls do nothing.
    bool commit();

private:
    std::optional<WorkingStore::Access> access_;
    EditListener* listener_;
    int profile_;
    StoreContents before_;
};

}  // namespace keyloom
