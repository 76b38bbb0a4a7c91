#include "platform/ini/IniCache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace keyloom::ini {

namespace {

constexpr std::size_t kMaxEntries = 64;
// Longer than the coarsest timestamp tick of the file systems we expect.
constexpr std::int64_t kRacyWindowNs = 2'000'000'000;

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t mtimeNs = 0;

    bool operator==(const FileIdentity&) const = default;
};

FileIdentity identityOf(const struct stat& st) {
    return {st.st_dev, st.st_ino, st.st_size,
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

std::int64_t nowNs() {
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

struct Entry {
    FileIdentity identity;
    std::shared_ptr<const IniDocument> document;
    // Kept only while the file is "racy" (recently modified).
    std::shared_ptr<const std::vector<std::uint8_t>> bytes;
    std::uint64_t lastUse = 0;
};

struct Cache {
    std::mutex mutex;
    std::unordered_map<std::string, Entry> entries;
    std::uint64_t clock = 0;
};

Cache& cache() {
    static Cache instance;
    return instance;
}

const std::shared_ptr<const IniDocument>& emptyDocument() {
    static const std::shared_ptr<const IniDocument> empty = std::make_shared<IniDocument>();
    return empty;
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Reads the file and the identity of exactly what was read.
bool readWithIdentity(const std::string& path, std::vector<std::uint8_t>& bytes,
                      FileIdentity& identity) {
    // Non-blocking, so that a FIFO put in place of the file cannot hang us.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0)
        return false;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    if (static_cast<std::uint64_t>(st.st_size) > kMaxIniFileBytes)
        return false;
    identity = identityOf(st);
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < bytes.size()) {
        ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;  // shrank while we read: take what is there
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return true;
}

void store(const std::string& path, Entry entry) {
    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    if (c.entries.size() >= kMaxEntries && c.entries.find(path) == c.entries.end()) {
        auto oldest = c.entries.begin();
        for (auto it = c.entries.begin(); it != c.entries.end(); ++it) {
            if (it->second.lastUse < oldest->second.lastUse)
                oldest = it;
        }
        c.entries.erase(oldest);
    }
    entry.lastUse = ++c.clock;
    c.entries[path] = std::move(entry);
}

}  // namespace

LoadedFile loadFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        forgetFile(path);
        return {errno == ENOENT || errno == ENOTDIR ? FileState::Missing : FileState::Unreadable,
                emptyDocument()};
    }
    if (!S_ISREG(st.st_mode)) {
        forgetFile(path);
        return {FileState::Unreadable, emptyDocument()};
    }

    Entry previous;
    bool havePrevious = false;
    {
        Cache& c = cache();
        std::lock_guard lock(c.mutex);
        auto it = c.entries.find(path);
        if (it != c.entries.end()) {
            if (it->second.identity == identityOf(st) && !it->second.bytes) {
                it->second.lastUse = ++c.clock;
                return {FileState::Loaded, it->second.document};
            }
            previous = it->second;
            havePrevious = true;
        }
    }

    std::int64_t readStart = nowNs();
    auto bytes = std::make_shared<std::vector<std::uint8_t>>();
    FileIdentity identity;
    if (!readWithIdentity(path, *bytes, identity)) {
        forgetFile(path);
        return {FileState::Unreadable, emptyDocument()};
    }

    Entry entry;
    entry.identity = identity;
    if (havePrevious && previous.identity == identity && previous.bytes &&
        *previous.bytes == *bytes) {
        entry.document = previous.document;
    } else {
        entry.document = std::make_shared<const IniDocument>(IniDocument::parse(*bytes));
    }
    if (readStart - identity.mtimeNs < kRacyWindowNs)
        entry.bytes = std::move(bytes);
    LoadedFile result{FileState::Loaded, entry.document};
    store(path, std::move(entry));
    return result;
}

void forgetFile(const std::string& path) {
    Cache& c = cache();
    std::lock_guard lock(c.mutex);
    c.entries.erase(path);
}

}  // namespace keyloom::ini
