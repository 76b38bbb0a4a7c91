#pragma once
// The copies the program saves by itself before it replaces what the
// keyboard holds: "<kind>-YYYYMMDD-HHMMSS.klm" in the data folder, stamped
// in local time, so a user finds the newest by its name.

#include <chrono>
#include <ctime>
#include <string>
#include <string_view>

namespace keyloom {

// dataFolder + "/" + kind + "-YYYYMMDD-HHMMSS.klm" (no '/' at the folder's end).
std::string datedBackupPath(std::string_view dataFolder, std::string_view kind,
                            const std::tm& localTime);
std::string datedBackupPath(std::string_view dataFolder, std::string_view kind,
                            std::chrono::system_clock::time_point now);

}  // namespace keyloom
