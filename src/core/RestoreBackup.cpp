#include "core/RestoreBackup.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "storage/DatedBackup.h"
#include "storage/ProfileFile.h"

namespace keyloom {

namespace {

namespace stdfs = std::filesystem;

constexpr std::string_view kExtension = ".klm";
constexpr std::size_t kStampLength = 15;  // YYYYMMDD-HHMMSS
constexpr int kMaxSameSecond = 1000;

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The order of a before-restore file: its stamp, then its number within the
// second (1 for the first); nothing for any other name.
std::optional<std::pair<std::string, long>> backupOrder(std::string_view name) {
    const std::string prefix = std::string(kRestoreBackupKind) + "-";
    if (!name.starts_with(prefix) || !name.ends_with(kExtension))
        return std::nullopt;
    name.remove_prefix(prefix.size());
    name.remove_suffix(kExtension.size());
    if (name.size() < kStampLength || !allDigits(name.substr(0, 8)) || name[8] != '-' ||
        !allDigits(name.substr(9, 6)))
        return std::nullopt;
    const std::string stamp(name.substr(0, kStampLength));
    name.remove_prefix(kStampLength);
    if (name.empty())
        return std::pair{stamp, 1L};
    if (name[0] != '-' || name.size() > 5 || !allDigits(name.substr(1)))
        return std::nullopt;
    long number = 0;
    std::from_chars(name.data() + 1, name.data() + name.size(), number);
    return std::pair{stamp, number};
}

std::string freePath(const std::string& dated) {
    std::error_code error;
    if (!stdfs::exists(dated, error) && !error)
        return dated;
    const std::string stem = dated.substr(0, dated.size() - kExtension.size());
    for (int n = 2; n <= kMaxSameSecond; ++n) {
        std::string candidate = stem + "-" + std::to_string(n) + std::string(kExtension);
        if (!stdfs::exists(candidate, error) && !error)
            return candidate;
    }
    return {};
}

}  // namespace

std::string saveRestoreBackup(StoreContents& store, const std::string& dataFolder,
                              std::chrono::system_clock::time_point now) {
    const std::string path = freePath(datedBackupPath(dataFolder, kRestoreBackupKind, now));
    if (path.empty() || saveProfileFile(store, path) != FileResult::Ok)
        return {};
    pruneRestoreBackups(dataFolder, path, kRestoreBackupsKept);
    return path;
}

void pruneRestoreBackups(const std::string& dataFolder, const std::string& keep, std::size_t kept) {
    struct Backup {
        std::pair<std::string, long> order;
        stdfs::path path;
    };
    std::vector<Backup> others;
    const stdfs::path keptName = stdfs::path(keep).filename();
    std::error_code error;
    for (stdfs::directory_iterator it(dataFolder, error), end; !error && it != end;
         it.increment(error)) {
        const stdfs::path& path = it->path();
        std::error_code typeError;
        if (path.filename() == keptName || !it->is_regular_file(typeError))
            continue;
        if (auto order = backupOrder(path.filename().string()))
            others.push_back({std::move(*order), path});
    }
    // The one just written counts among those kept.
    const std::size_t keepOthers = kept > 0 ? kept - 1 : 0;
    if (others.size() <= keepOthers)
        return;
    std::sort(others.begin(), others.end(),
              [](const Backup& a, const Backup& b) { return a.order > b.order; });
    for (std::size_t i = keepOthers; i < others.size(); ++i)
        stdfs::remove(others[i].path, error);
}

}  // namespace keyloom
