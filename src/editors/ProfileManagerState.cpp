#include "editors/ProfileManagerState.h"

#include <algorithm>

#include "platform/text/SafeFormat.h"
#include "storage/AppProfile.h"
#include "storage/Language.h"
#include "storage/SettingsKey.h"

namespace keyloom::editors {

namespace {

constexpr std::string_view kExtension = ".klm";
// "PROFILE00" holds the count; a damaged count must not make the opening
// read values without end.
constexpr int kMostStoredRows = 999;

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

std::vector<std::string> readStoredFiles(const registry::Registry& registry) {
    const int count = std::clamp(readAppInt(registry, kProfilesSection, profileListValueName(0), 0),
                                 0, kMostStoredRows);
    std::vector<std::string> paths;
    for (int n = 1; n <= count; ++n) {
        std::string path = readAppString(registry, kProfilesSection, profileListValueName(n), "");
        if (!path.empty())
            paths.push_back(std::move(path));
    }
    return paths;
}

void ProfileManagerState::open(std::string_view slotFile, int activeProfile,
                               const std::function<std::string(int)>& rowName,
                               const std::vector<std::string>& storedFiles) {
    ++openCount_;
    rows_.clear();
    const std::string folder = rowForFile(slotFile).folder;
    for (int n = 0; n < kSlotRows; ++n) {
        ProfileRow row;
        row.name = rowName(n);
        row.folder = folder;
        row.profile = n;
        row.ticked = n == activeProfile;
        rows_.push_back(std::move(row));
    }
    // The on-board profiles' own paths are in the stored list too; they
    // already have their rows.
    for (const std::string& path : storedFiles)
        if (!listed(path))
            rows_.push_back(rowForFile(path));
    unapplied_ = false;
}

bool ProfileManagerState::listed(std::string_view path) const {
    return std::any_of(rows_.begin(), rows_.end(),
                       [&](const ProfileRow& row) { return storedPathOf(row) == path; });
}

void ProfileManagerState::close() {
    rows_.clear();
    unapplied_ = false;
    if (openCount_ > 0)
        --openCount_;
}

int ProfileManagerState::appendFile(std::string_view path) {
    unapplied_ = true;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (storedPathOf(rows_[i]) == path)
            return static_cast<int>(i);
    rows_.push_back(rowForFile(path));
    return static_cast<int>(rows_.size()) - 1;
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

int ProfileManagerState::rowOfProfile(int profile) const {
    if (profile < 0)
        return -1;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].profile == profile)
            return static_cast<int>(i);
    return -1;
}

void ProfileManagerState::selectRow(int profile) {
    tick(rowOfProfile(profile));
    unapplied_ = false;
}

std::vector<std::pair<std::string, std::string>> ProfileManagerState::storedList() const {
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<std::string> paths;
    for (const ProfileRow& row : rows_) {
        std::string path = storedPathOf(row);
        if (std::find(paths.begin(), paths.end(), path) == paths.end())
            paths.push_back(std::move(path));
    }
    for (std::size_t i = 0; i < paths.size(); ++i)
        values.emplace_back(profileListValueName(static_cast<int>(i) + 1), paths[i]);
    values.emplace_back(profileListValueName(0), std::to_string(paths.size()));
    return values;
}

ProfileApplyPlan ProfileManagerState::plan() const {
    ProfileApplyPlan plan;
    const int row = tickedRow();
    if (row < 0)
        return plan;
    const ProfileRow& ticked = rows_[static_cast<std::size_t>(row)];
    if (ticked.profile >= 0) {
        plan.kind = ProfileApplyPlan::Kind::SetProfile;
        plan.profile = ticked.profile;
        return plan;
    }
    // The keyboard has only the three on-board profiles: a file row is
    // written to them, as Restore from file does.
    plan.kind = ProfileApplyPlan::Kind::RestoreFile;
    plan.file = ticked.file;
    return plan;
}

bool ProfileManagerState::apply(registry::Registry& registry, ProfileApplyPlan& plan) {
    bool stored = true;
    const auto values = storedList();
    // Rows a longer list stored before would otherwise outlive it.
    const int before = std::clamp(
        readAppInt(registry, kProfilesSection, profileListValueName(0), 0), 0, kMostStoredRows);
    for (const auto& [name, value] : values)
        stored = writeAppString(registry, kProfilesSection, name, value) && stored;
    for (int n = static_cast<int>(values.size()); n <= before; ++n)
        registry.removeValue(applicationSectionPath(kProfilesSection), profileListValueName(n));
    plan = this->plan();
    unapplied_ = false;
    return stored;
}

}  // namespace keyloom::editors
