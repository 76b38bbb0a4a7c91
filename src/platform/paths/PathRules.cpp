#include "platform/paths/PathRules.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace keyloom::paths {

bool fitsPathLimit(std::string_view path) {
    return path.size() <= kMaxPathBytes;
}

std::string normalizeFolder(std::string_view path) {
    std::string absolute;
    if (path.empty() || path.front() != '/') {
        std::vector<char> cwd(kMaxPathBytes + 1);
        if (::getcwd(cwd.data(), cwd.size()) == nullptr)
            return {};
        absolute = cwd.data();
        absolute += '/';
    }
    absolute += path;

    // Empty and "." components go; ".." stays, since a symbolic link before it
    // would make dropping it lexically wrong.
    std::string out;
    std::size_t start = 0;
    while (start <= absolute.size()) {
        auto end = absolute.find('/', start);
        if (end == std::string::npos)
            end = absolute.size();
        std::string_view part(absolute.data() + start, end - start);
        if (!part.empty() && part != ".") {
            out += '/';
            out += part;
        }
        start = end + 1;
    }
    if (out.empty())
        out = "/";
    return out;
}

std::string parentFolder(std::string_view path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string_view::npos)
        return {};
    if (slash == 0)
        return "/";
    return std::string(path.substr(0, slash));
}

std::string fileNameOf(std::string_view path) {
    auto slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace keyloom::paths
