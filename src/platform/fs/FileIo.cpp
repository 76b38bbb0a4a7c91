#include "platform/fs/FileIo.h"

#include "platform/fs/UniqueFd.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string_view>

namespace keyloom::fs {

namespace {

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string parentOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string_view nameOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string_view(path)
                                      : std::string_view(path).substr(slash + 1);
}

// "<name>.tmp" and the six characters mkostemp puts in place of XXXXXX.
bool isTemporaryOf(std::string_view entry, std::string_view name) {
    return entry.size() == name.size() + 10 && entry.starts_with(name) &&
           entry.substr(name.size(), 4) == ".tmp";
}

// How old a temporary file must be before a save removes it: a younger one
// may belong to a save another process is doing right now.
constexpr std::time_t kStaleSeconds = 60;

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// A save killed between creating its temporary file and the rename leaves
// that file behind; the next save of the same file removes such leftovers.
// Only regular files of this user are removed, never through a symlink.
void removeStaleTemporaries(const std::string& path) {
    std::unique_ptr<DIR, DirCloser> dir(::opendir(parentOf(path).c_str()));
    if (!dir)
        return;
    const std::string_view name = nameOf(path);
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!isTemporaryOf(entry->d_name, name))
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && st.st_mtime + kStaleSeconds < now)
            ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
    }
}

}  // namespace

bool readFile(const std::string& path, std::vector<std::uint8_t>& out, std::size_t maxBytes) {
    out.clear();
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        return false;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes)
        return false;
    out.reserve(static_cast<std::size_t>(st.st_size));
    std::uint8_t chunk[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            out.clear();
            return false;
        }
        if (n == 0)
            break;
        if (out.size() + static_cast<std::size_t>(n) > maxBytes) {
            out.clear();
            return false;
        }
        out.insert(out.end(), chunk, chunk + n);
    }
    return true;
}

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::string tmp = path + ".tmpXXXXXX";
    UniqueFd fd(::mkostemp(tmp.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return false;
    bool ok = writeAll(fd.get(), bytes.data(), bytes.size()) && ::fsync(fd.get()) == 0;
    // New files get the usual permissions (mkostemp creates them 0600).
    ok = ok && ::fchmod(fd.get(), 0644) == 0;
    int raw = fd.release();
    ok = (::close(raw) == 0) && ok;
    if (ok && ::rename(tmp.c_str(), path.c_str()) == 0) {
        // Make the rename itself durable.
        UniqueFd dir(::open(parentOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.get() >= 0)
            ::fsync(dir.get());
        removeStaleTemporaries(path);
        return true;
    }
    ::unlink(tmp.c_str());
    return false;
}

bool writeFileAtomically(const std::string& path, const std::string& text) {
    return writeFileAtomically(
        path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()),
                                            text.size()));
}

bool makeDirectories(const std::string& path) {
    if (path.empty())
        return false;
    std::string partial;
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = path.find('/', pos + 1);
        partial = path.substr(0, pos);
        if (partial.empty())
            continue;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace keyloom::fs
