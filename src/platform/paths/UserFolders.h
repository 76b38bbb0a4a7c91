#pragma once
// The per-user base folders of the XDG base-directory rules: data files under
// $XDG_DATA_HOME (default ~/.local/share), settings under $XDG_CONFIG_HOME
// (default ~/.config). A variable that is unset, empty or not an absolute
// path counts as unset, as those rules require.

#include <optional>
#include <string>

namespace keyloom::paths {

// The inputs, separate from the process so that tests can supply their own.
struct UserEnvironment {
    std::optional<std::string> home;
    std::optional<std::string> xdgDataHome;
    std::optional<std::string> xdgConfigHome;
};

// $HOME (or the account's home folder when $HOME is unset) and the two XDG
// variables of this process.
UserEnvironment processEnvironment();

// Empty when neither the variable nor a home folder is available.
std::string dataHome(const UserEnvironment& env);
std::string configHome(const UserEnvironment& env);

}  // namespace keyloom::paths
