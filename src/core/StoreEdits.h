#pragma once
// How the core hears of an edit of the working store (EditTransaction): the
// configuration is marked modified and, when the edit reached other
// profiles, the next write covers all of them.

#include "core/ModifiedState.h"
#include "model/ConnectionValues.h"
#include "model/EditTransaction.h"

namespace keyloom {

class StoreEdits final : public EditListener {
public:
    StoreEdits(ModifiedState& modified, ConnectionValues& values)
        : modified_(modified), values_(values) {}

    void storeEdited(bool allProfiles) override {
        if (allProfiles)
            values_.writeAllProfiles = true;
        modified_.markEdited();
    }

private:
    ModifiedState& modified_;
    ConnectionValues& values_;
};

}  // namespace keyloom
