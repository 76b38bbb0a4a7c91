#pragma once
// Rules every path the program builds follows: '/' separators, absolute,
// and no longer than the system allows (PATH_MAX bytes with the terminator).
// Over-long paths are refused, never cut.

#include <cstddef>
#include <string>
#include <string_view>

namespace keyloom::paths {

// Longest path in bytes, without the terminator.
inline constexpr std::size_t kMaxPathBytes = 4095;

bool fitsPathLimit(std::string_view path);

// An absolute form of `path` (relative ones are taken from the current
// folder) without repeated '/', "." components or a trailing '/' (except "/").
// Empty when the current folder cannot be determined.
std::string normalizeFolder(std::string_view path);

// The folder holding `path` ("/a/b/c" -> "/a/b"; "/a" -> "/"); empty when
// there is no '/'.
std::string parentFolder(std::string_view path);

// The last component of `path`.
std::string fileNameOf(std::string_view path);

bool isDirectory(const std::string& path);

}  // namespace keyloom::paths
