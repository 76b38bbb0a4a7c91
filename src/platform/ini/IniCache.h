#pragma once
// Process-wide cache of parsed ini files. A lookup costs one stat() of the
// file as long as the file is unchanged (same device, inode, size and
// modification time to the nanosecond); any change is seen by the next
// lookup. A file modified within the last two seconds is compared byte for
// byte on each lookup, because a second write inside the same timestamp tick
// could otherwise go unnoticed. Thread-safe.

#include <memory>
#include <string>

#include "platform/ini/IniDocument.h"

namespace keyloom::ini {

enum class FileState {
    Missing,     // no such file: reads like a file without any key
    Loaded,      // read and parsed
    Unreadable,  // exists but cannot be read (permissions, not a regular file, too large)
};

struct LoadedFile {
    FileState state = FileState::Missing;
    std::shared_ptr<const IniDocument> document;  // never null; empty unless Loaded
};

// Files above this size are treated as unreadable.
inline constexpr std::size_t kMaxIniFileBytes = 16u * 1024u * 1024u;

LoadedFile loadFile(const std::string& path);

// Drops the cached copy, e.g. after this process rewrote the file.
void forgetFile(const std::string& path);

}  // namespace keyloom::ini
