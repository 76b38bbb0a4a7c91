#include "editors/ProfileManagerState.h"

#include "platform/text/SafeFormat.h"
#include "storage/AppProfile.h"
#include "storage/Language.h"
#include "storage/SettingsKey.h"

namespace keyloom::editors {

namespace {

constexpr std::string_view kExtension = ".klm";

}  // namespace

std::string onBoardProfileName(int profile) {
    std::string format = lookupText("KEYLOOM_PROFILE_NAME");
    if (format == kMissingText)
        format = "Profile %d";
    return text::formatInt(format, profile + 1);
}

ProfileRow rowForFile(std::string_view path) {
    ProfileRow row;
    row.file = std::string(path);
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    row.folder = std::string(path.substr(0, nameStart));
    std::string_view name = path.substr(nameStart);
    // A leading dot names a hidden file, not an extension.
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0)
        name = name.substr(0, dot);
    row.name = std::string(name);
    return row;
}

std::string storedPathOf(const ProfileRow& row) {
    if (!row.file.empty())
        return row.file;
    return row.folder + row.name + std::string(kExtension);
}

void ProfileManagerState::open(std::string_view slotFile, int activeProfile,
                               const std::function<std::string(int)>& rowName) {
    ++openCount_;
    rows_.clear();
    const std::string folder = rowForFile(slotFile).folder;
    for (int n = 0; n < kSlotRows; ++n) {
        ProfileRow row;
        row.name = rowName(n);
        row.folder = folder;
        row.ticked = n == activeProfile;
        rows_.push_back(std::move(row));
    }
    unapplied_ = false;
}

void ProfileManagerState::close() {
    rows_.clear();
    unapplied_ = false;
    if (openCount_ > 0)
        --openCount_;
}

void ProfileManagerState::appendFile(std::string_view path) {
    rows_.push_back(rowForFile(path));
    unapplied_ = true;
}

bool ProfileManagerState::remove(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size())
        return false;
    rows_.erase(rows_.begin() + row);
    unapplied_ = true;
    return true;
}

bool ProfileManagerState::tick(int row) {
    if (row >= 0 && static_cast<std::size_t>(row) >= rows_.size())
        return false;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        rows_[i].ticked = static_cast<int>(i) == row;
    unapplied_ = true;
    return true;
}

int ProfileManagerState::tickedRow() const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].ticked)
            return static_cast<int>(i);
    return -1;
}

void ProfileManagerState::selectRow(int profile) {
    if (profile >= 0 && profile < kSlotRows && static_cast<std::size_t>(profile) < rows_.size())
        tick(profile);
    unapplied_ = false;
}

std::vector<std::pair<std::string, std::string>> ProfileManagerState::storedList() const {
    std::vector<std::pair<std::string, std::string>> values;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        values.emplace_back(profileListValueName(static_cast<int>(i) + 1), storedPathOf(rows_[i]));
    values.emplace_back(profileListValueName(0), std::to_string(rows_.size()));
    return values;
}

ProfileApplyPlan ProfileManagerState::plan() const {
    ProfileApplyPlan plan;
    const int row = tickedRow();
    if (row < 0)
        return plan;
    if (row < kSlotRows) {
        plan.kind = ProfileApplyPlan::Kind::SetProfile;
        plan.profile = row;
        return plan;
    }
    // The keyboard has only the three on-board profiles: a file row is
    // written to them, as Restore from file does.
    plan.kind = ProfileApplyPlan::Kind::RestoreFile;
    plan.file = rows_[static_cast<std::size_t>(row)].file;
    return plan;
}

bool ProfileManagerState::apply(registry::Registry& registry, ProfileApplyPlan& plan) {
    bool stored = true;
    for (const auto& [name, value] : storedList())
        stored = writeAppString(registry, kProfilesSection, name, value) && stored;
    plan = this->plan();
    unapplied_ = false;
    return stored;
}

}  // namespace keyloom::editors
