#pragma once
// The profile manager without its window: the list of profile files (the
// three on-board profiles' rows first, then files the user added or loaded),
// the tick that chooses the active profile, the unapplied-changes flag, and
// what Apply stores and asks of the keyboard. Each opening starts from the
// three profile rows, followed by the file rows the last Apply stored.
//
// Window thread only.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/Registry.h"

namespace keyloom::editors {

struct ProfileRow {
    std::string name;    // shown: the file name without folder and extension
    std::string folder;  // shown: the folder, '/' at its end
    // The file the row stands for; empty for the on-board profiles' rows,
    // which share the slot file.
    std::string file;
    // The on-board profile (0-2) the row stands for; -1 for a file row.
    // Rows are found by what they stand for, never by their position, which
    // changes when a row above is removed.
    int profile = -1;
    bool ticked = false;
};

// What Apply asks of the keyboard once the list is stored.
struct ProfileApplyPlan {
    enum class Kind {
        Refresh,      // no row ticked: only re-read the keyboard
        SetProfile,   // make on-board profile `profile` active, then re-read
        RestoreFile,  // a file row: write `file` to the keyboard as Restore does
    };
    Kind kind = Kind::Refresh;
    int profile = -1;
    std::string file;
};

class ProfileManagerState {
public:
    static constexpr int kSlotRows = 3;

    // Opening: the three on-board profiles' rows named by `rowName(n)` (n =
    // 0-2) with the slot file's folder, then a row for each of `storedFiles`
    // (the list the last Apply stored, see readStoredFiles) that is not one
    // of those three; the active profile's row ticked when it is 0-2. Raises
    // the open counter; nothing unapplied.
    void open(std::string_view slotFile, int activeProfile,
              const std::function<std::string(int)>& rowName,
              const std::vector<std::string>& storedFiles = {});
    // Closing (OK, Cancel, the close box): the rows go, the counter drops.
    void close();
    bool isOpen() const { return openCount_ > 0; }

    const std::vector<ProfileRow>& rows() const { return rows_; }
    bool hasUnappliedChanges() const { return unapplied_; }
    void clearUnappliedChanges() { unapplied_ = false; }

    // Add (after a new empty file was created at `path`, or failed to be)
    // and Load both append a row for `path`; a file already listed is not
    // listed twice. Returns the row that stands for the file.
    int appendFile(std::string_view path);
    // Removes row `row` (the file stays on disk). False, and nothing changes,
    // for no selection (-1) or a row that does not exist.
    bool remove(int row);
    // Ticks row `row` and clears every other tick (-1 clears all). A row that
    // does not exist changes nothing.
    bool tick(int row);
    // The ticked row, -1 when none.
    int tickedRow() const;
    // The profile switch ticks the row of on-board profile `profile` (no row
    // when none stands for it) and leaves nothing unapplied.
    void selectRow(int profile);
    // The row that stands for on-board profile `profile`; -1 when none.
    int rowOfProfile(int profile) const;

    // The stored list: "PROFILE01".. hold each row's path, "PROFILE00" the
    // row count.
    std::vector<std::pair<std::string, std::string>> storedList() const;
    // Apply's first half: stores the list, removes values a longer list
    // stored before, and clears the unapplied flag. False when a value could
    // not be stored (the plan is still returned).
    bool apply(registry::Registry& registry, ProfileApplyPlan& plan);
    ProfileApplyPlan plan() const;

private:
    // Whether some row is stored as `path`.
    bool listed(std::string_view path) const;

    std::vector<ProfileRow> rows_;
    int openCount_ = 0;
    bool unapplied_ = false;
};

// The path stored for a row: its own file, or for an on-board profile's
// row folder + name + ".klm".
std::string storedPathOf(const ProfileRow& row);

// The name of on-board profile `profile` (0-2) in the list, the profile
// label and menu: the language text "KEYLOOM_PROFILE_NAME" with the number
// 1-3 ("Profile %d" when the text is missing).
std::string onBoardProfileName(int profile);

// Splits a path into the row's name (no folder, no extension) and folder.
ProfileRow rowForFile(std::string_view path);

// The paths of the list Apply stored, in order, without empty values. A
// count that is no number or out of range reads as what can be stored.
std::vector<std::string> readStoredFiles(const registry::Registry& registry);

}  // namespace keyloom::editors
