#pragma once
// What a screen reader calls each control of the main window that is not a
// key: the language text that names it.

#include <functional>
#include <string>
#include <string_view>

namespace keyloom::shell {

using NameLookup = std::function<std::string(std::string_view key)>;

// The name of control `controlId`, from `text`; empty for the keys and G
// buttons (named after their key) and for ids this table does not know.
std::string accessibleName(int controlId, const NameLookup& text);

}  // namespace keyloom::shell
