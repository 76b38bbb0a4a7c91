#include "platform/instance/ProcessLookup.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

#include "platform/instance/AsciiCase.h"

namespace keyloom::instance {

namespace {

constexpr std::string_view kDeletedTail = " (deleted)";

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

std::string readLink(const std::string& path) {
    std::string target(4096, '\0');
    ssize_t got = ::readlink(path.c_str(), target.data(), target.size());
    if (got <= 0 || static_cast<std::size_t>(got) >= target.size())
        return {};
    target.resize(static_cast<std::size_t>(got));
    return target;
}

std::string_view baseName(std::string_view path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::vector<pid_t> processIds(const std::string& procRoot) {
    std::vector<pid_t> pids;
    std::unique_ptr<DIR, DirCloser> dir(::opendir(procRoot.c_str()));
    if (!dir)
        return pids;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (pid_t pid = parsePid(entry->d_name))
            pids.push_back(pid);
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

bool runsProgram(const std::string& processFolder, std::string_view programFileName) {
    struct stat info {};
    if (::stat(processFolder.c_str(), &info) != 0 || info.st_uid != ::geteuid())
        return false;
    std::string exe = readLink(processFolder + "/exe");
    std::string_view path = exe;
    if (path.size() > kDeletedTail.size() && path.ends_with(kDeletedTail))
        path.remove_suffix(kDeletedTail.size());
    return !path.empty() && equalsIgnoringAsciiCase(baseName(path), programFileName);
}

}  // namespace

std::string currentProgramFileName() {
    std::string exe = readLink("/proc/self/exe");
    std::string_view path = exe;
    if (path.size() > kDeletedTail.size() && path.ends_with(kDeletedTail))
        path.remove_suffix(kDeletedTail.size());
    return std::string(baseName(path));
}

pid_t findInstanceProcess(std::string_view programFileName, const std::string& procRoot) {
    if (programFileName.empty())
        return 0;
    const pid_t self = ::getpid();
    for (pid_t pid : processIds(procRoot)) {
        if (pid != self && runsProgram(procRoot + "/" + std::to_string(pid), programFileName))
            return pid;
    }
    return 0;
}

bool isProcessAlive(pid_t pid) {
    return pid > 0 && ::kill(pid, 0) == 0;
}

pid_t parsePid(std::string_view text) {
    if (text.empty() || text.size() > 10)
        return 0;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
    }
    if (value <= 0 || value > std::numeric_limits<pid_t>::max())
        return 0;
    return static_cast<pid_t>(value);
}

}  // namespace keyloom::instance
