#include "platform/ini/Ini.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "platform/fs/FileIo.h"
#include "platform/ini/IniCache.h"
#include "platform/text/Utf16.h"

namespace keyloom::ini {

namespace {

std::mutex& editMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string_view withoutEnclosingQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// A symbolic link is followed, so that the rename replaces the file it points
// to rather than the link itself.
std::string writeTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr),
                                                         &std::free);
        if (real)
            return real.get();
    }
    return path;
}

// What the private-profile functions copy into a buffer of `bufferChars`.
std::string cutToBuffer(std::string_view text, std::size_t bufferChars) {
    if (bufferChars == 0)
        return {};
    std::string result(text);
    text::truncateToUtf16Units(result, bufferChars - 1);
    return result;
}

}  // namespace

std::string readString(const std::string& path, std::string_view section, std::string_view key,
                       std::string_view defaultValue, std::size_t bufferChars) {
    LoadedFile file = loadFile(path);
    const std::string* value = file.document->findValue(section, key);
    return cutToBuffer(value ? withoutEnclosingQuotes(*value) : defaultValue, bufferChars);
}

std::optional<std::string> readValue(const IniDocument& document, std::string_view section,
                                     std::string_view key, std::size_t bufferChars) {
    const std::string* value = document.findValue(section, key);
    if (!value)
        return std::nullopt;
    return cutToBuffer(withoutEnclosingQuotes(*value), bufferChars);
}

int readInt(const std::string& path, std::string_view section, std::string_view key,
            int defaultValue) {
    std::string text = readString(path, section, key, "");
    if (text.empty())
        return defaultValue;
    std::size_t i = 0;
    bool negative = false;
    if (text[i] == '-' || text[i] == '+')
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(value);
}

bool editFile(const std::string& path, const std::function<bool(IniDocument&)>& edit) {
    std::lock_guard lock(editMutex());
    std::string target = writeTarget(path);
    LoadedFile file = loadFile(target);
    if (file.state == FileState::Unreadable)
        return false;
    IniDocument document = *file.document;
    if (!edit(document))
        return false;
    std::vector<std::uint8_t> bytes = document.serialize();
    bool written = fs::writeFileAtomically(target, bytes);
    forgetFile(target);
    if (target != path)
        forgetFile(path);
    return written;
}

bool writeString(const std::string& path, std::string_view section, std::string_view key,
                 std::string_view value) {
    return editFile(path, [&](IniDocument& d) { return d.setValue(section, key, value); });
}

bool removeKey(const std::string& path, std::string_view section, std::string_view key) {
    return editFile(path, [&](IniDocument& d) { return d.removeKey(section, key); });
}

bool removeSection(const std::string& path, std::string_view section) {
    return editFile(path, [&](IniDocument& d) { return d.removeSection(section); });
}

std::vector<std::string> sectionNames(const std::string& path) {
    return loadFile(path).document->sectionNames();
}

std::vector<std::string> keyNames(const std::string& path, std::string_view section) {
    return loadFile(path).document->keyNames(section);
}

}  // namespace keyloom::ini
