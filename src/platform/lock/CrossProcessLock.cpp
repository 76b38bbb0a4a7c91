#include "platform/lock/CrossProcessLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <utility>

namespace keyloom::lock {

namespace {

// A folder we may keep lock files in: a real folder (not a link) owned by us
// and closed to others, so nobody can swap or pre-create our lock files.
bool isPrivateFolder(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 0077) == 0;
}

bool flockRetrying(int fd, int operation) {
    for (;;) {
        if (::flock(fd, operation) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

}  // namespace

std::string runtimeLockFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') {
        std::string folder(runtime);
        struct stat info {};
        // The runtime folder is the session manager's; trust it when it is ours.
        if (::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
            info.st_uid == ::geteuid())
            return folder;
    }
    std::string folder = "/tmp/keyloom-" + std::to_string(::geteuid());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    return isPrivateFolder(folder) ? folder : std::string();
}

std::string lockFileNameFor(std::string_view key) {
    std::string name = "keyloom-";
    for (char c : key) {
        bool keep = std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.';
        name += keep ? c : '_';
    }
    return name + ".lock";
}

CrossProcessLock::CrossProcessLock(const std::string& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
}

CrossProcessLock CrossProcessLock::forKey(std::string_view key) {
    std::string folder = runtimeLockFolder();
    if (folder.empty())
        return CrossProcessLock();
    return CrossProcessLock(folder + "/" + lockFileNameFor(key));
}

CrossProcessLock::~CrossProcessLock() {
    reset();
}

CrossProcessLock::CrossProcessLock(CrossProcessLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

CrossProcessLock& CrossProcessLock::operator=(CrossProcessLock&& other) noexcept {
    if (this != &other) {
        reset();
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

void CrossProcessLock::reset() {
    if (fd_ >= 0)
        ::close(fd_);  // closing the descriptor also drops the lock
    fd_ = -1;
}

void CrossProcessLock::lock() {
    if (fd_ >= 0)
        flockRetrying(fd_, LOCK_EX);
}

bool CrossProcessLock::try_lock() {
    if (fd_ < 0)
        return true;
    return flockRetrying(fd_, LOCK_EX | LOCK_NB);
}

void CrossProcessLock::unlock() {
    if (fd_ >= 0)
        flockRetrying(fd_, LOCK_UN);
}

}  // namespace keyloom::lock
