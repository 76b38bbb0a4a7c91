#pragma once
// Whole-file reads with a size bound, and writes that never leave a
// half-written file behind: the bytes go to a temporary file beside the
// target, are flushed to disk, and the temporary file is renamed over it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace keyloom::fs {

// Reads the whole file into `out`. Fails (false, `out` cleared) when the file
// cannot be read or is larger than `maxBytes`.
bool readFile(const std::string& path, std::vector<std::uint8_t>& out,
              std::size_t maxBytes = 64u * 1024u * 1024u);

// Replaces `path` atomically with `bytes`. On failure the old file is intact
// and no temporary file is left behind. A successful save also removes the
// temporary files older than a minute that killed saves of `path` left.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);
bool writeFileAtomically(const std::string& path, const std::string& text);

// Creates `path` and any missing parents (mode 0700 for new folders).
bool makeDirectories(const std::string& path);

bool fileExists(const std::string& path);

}  // namespace keyloom::fs
