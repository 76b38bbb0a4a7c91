#pragma once
// Where the instance lock and the instance socket live: a private folder of
// the user, so no other user can take, pre-create or swap them.

#include <string>
#include <string_view>

namespace keyloom::instance {

// Name of the instance lock of the program.
inline constexpr std::string_view kInstanceMutexName = "RX24P06C-1";

// $XDG_RUNTIME_DIR when it is an absolute path to a private folder of this
// user, else /tmp/keyloom-<uid> (created 0700). Empty when neither is usable.
std::string instanceFolder();

// A real folder (not a link) owned by this user that neither group nor others
// may write to.
bool isPrivateFolder(const std::string& path);

// The lock file and the socket of the lock named `mutexName` in `folder`:
// "keyloom-<name>.lock" and "keyloom-<name>.sock", with characters other than
// letters, digits, '-' and '.' in the name turned into '_'.
std::string lockPathFor(const std::string& folder, std::string_view mutexName);
std::string socketPathFor(const std::string& folder, std::string_view mutexName);

}  // namespace keyloom::instance
