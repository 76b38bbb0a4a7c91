#pragma once
// Reading and writing ini ("private profile") files by section and key, with
// the rules Windows programs expect of them:
// - section and key names match without regard to case;
// - a value is returned without the blanks around it and without one pair of
//   enclosing quotes ("..." or '...');
// - at most bufferChars - 1 UTF-16 units of a value are returned (259 with
//   the usual 260-unit buffer);
// - a missing file or section reads like a missing key (the default);
// - files may be UTF-16 with a byte-order mark, UTF-8, or Latin-1 8-bit text.
// A write keeps the file's encoding and every other line, creates the file
// (UTF-8), section or key when missing, and replaces the file atomically.
// Lookups of an unchanged file are served from a parsed copy (IniCache.h).

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ini/IniDocument.h"

namespace keyloom::ini {

inline constexpr std::size_t kDefaultBufferChars = 260;

std::string readString(const std::string& path, std::string_view section, std::string_view key,
                       std::string_view defaultValue,
                       std::size_t bufferChars = kDefaultBufferChars);

// The value of a parsed file as readString gives it (quotes removed, cut to
// the buffer); nothing when the key is missing.
std::optional<std::string> readValue(const IniDocument& document, std::string_view section,
                                     std::string_view key,
                                     std::size_t bufferChars = kDefaultBufferChars);

// The value as a decimal number (optional sign, digits up to the first other
// character, 0 when there are none; clamped to the int range). A missing or
// empty value gives the default.
int readInt(const std::string& path, std::string_view section, std::string_view key,
            int defaultValue);

// False when the file cannot be written, cannot be read (it is then left
// alone rather than replaced), or the names or value cannot be stored (see
// IniDocument::setValue).
bool writeString(const std::string& path, std::string_view section, std::string_view key,
                 std::string_view value);
bool removeKey(const std::string& path, std::string_view section, std::string_view key);
bool removeSection(const std::string& path, std::string_view section);

std::vector<std::string> sectionNames(const std::string& path);
std::vector<std::string> keyNames(const std::string& path, std::string_view section);

// Runs `edit` on the file's current contents (an empty UTF-8 document when the
// file does not exist) and writes the result when `edit` returns true.
// Edits of all files are serialised within the process.
bool editFile(const std::string& path, const std::function<bool(IniDocument&)>& edit);

}  // namespace keyloom::ini
