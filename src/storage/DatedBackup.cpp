#include "storage/DatedBackup.h"

#include <cstdio>
#include <mutex>

namespace keyloom {

std::string datedBackupPath(std::string_view dataFolder, std::string_view kind, const std::tm& t) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    std::string path(dataFolder);
    path += '/';
    path += kind;
    path += '-';
    path += stamp;
    path += ".klm";
    return path;
}

std::string datedBackupPath(std::string_view dataFolder, std::string_view kind,
                            std::chrono::system_clock::time_point now) {
    // std::localtime shares one buffer across the process.
    static std::mutex mutex;
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    {
        std::lock_guard lock(mutex);
        if (const std::tm* t = std::localtime(&seconds))
            local = *t;
    }
    return datedBackupPath(dataFolder, kind, local);
}

}  // namespace keyloom
