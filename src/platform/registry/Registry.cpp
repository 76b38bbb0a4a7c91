#include "platform/registry/Registry.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/fs/FileIo.h"
#include "platform/ini/Ini.h"
#include "platform/ini/IniCache.h"
#include "platform/registry/RegistryFormat.h"

namespace keyloom::registry {

namespace {

using ini::IniDocument;

bool isWellFormed(const IniDocument& doc) {
    if (doc.encoding() == ini::FileEncoding::Latin1)
        return false;  // not text we wrote
    bool inSection = false;
    for (const IniDocument::Line& line : doc.lines()) {
        if (line.text.find('\0') != std::string::npos)
            return false;
        switch (line.kind) {
            case IniDocument::LineKind::Blank:
            case IniDocument::LineKind::Comment:
                break;
            case IniDocument::LineKind::Section:
                inSection = true;
                break;
            case IniDocument::LineKind::Key:
                if (!inSection || !decodeValueName(line.name) || !decodeValue(line.value)) {
                    return false;
                }
                break;
            case IniDocument::LineKind::Other:
                return false;
        }
    }
    return true;
}

std::string parentOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

bool copyExclusively(const std::string& from, const std::string& to, bool& exists) {
    exists = false;
    std::vector<std::uint8_t> bytes;
    if (!fs::readFile(from, bytes))
        return false;
    int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        exists = errno == EEXIST;
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    bool ok = done == bytes.size() && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok)
        ::unlink(to.c_str());
    return ok;
}

// Keeps the damaged file as "<path>.damaged-<n>" with the first free n.
bool keepDamagedCopy(const std::string& path) {
    for (int n = 1; n <= 999; ++n) {
        std::string copy = path + ".damaged-" + std::to_string(n);
        // A hard link keeps the old contents once the rename replaces the file.
        if (::link(path.c_str(), copy.c_str()) == 0)
            return true;
        if (errno == EEXIST)
            continue;
        bool exists = false;
        if (copyExclusively(path, copy, exists))
            return true;
        if (!exists)
            return false;
    }
    return false;
}

}  // namespace

Registry::Registry(std::string filePath) : filePath_(std::move(filePath)) {}

namespace {

// isWellFormed of the document last checked: lookups of an unchanged file
// share one parsed document, so the check runs once per change of the file.
bool isWellFormedMemo(const std::shared_ptr<const IniDocument>& doc) {
    static std::mutex mutex;
    static std::weak_ptr<const IniDocument> lastDoc;
    static bool lastResult = false;
    {
        std::lock_guard lock(mutex);
        if (lastDoc.lock() == doc)
            return lastResult;
    }
    bool result = isWellFormed(*doc);
    std::lock_guard lock(mutex);
    lastDoc = doc;
    lastResult = result;
    return result;
}

// The parsed file when it is well-formed; null when it is missing or damaged.
std::shared_ptr<const IniDocument> readableDocument(const std::string& path) {
    ini::LoadedFile file = ini::loadFile(path);
    if (file.state != ini::FileState::Loaded || !isWellFormedMemo(file.document))
        return nullptr;
    return file.document;
}

}  // namespace

ValueState Registry::readDword(std::string_view keyPath, std::string_view name,
                               std::uint32_t& value) const {
    auto doc = readableDocument(filePath_);
    const std::string* raw = doc ? doc->findValue(keyPath, encodeValueName(name)) : nullptr;
    if (!raw)
        return ValueState::Missing;
    auto stored = decodeValue(*raw);
    if (!stored || stored->type != ValueType::Dword)
        return ValueState::WrongType;
    value = stored->dword;
    return ValueState::Present;
}

ValueState Registry::readString(std::string_view keyPath, std::string_view name,
                                std::string& value) const {
    auto doc = readableDocument(filePath_);
    const std::string* raw = doc ? doc->findValue(keyPath, encodeValueName(name)) : nullptr;
    if (!raw)
        return ValueState::Missing;
    auto stored = decodeValue(*raw);
    if (!stored || stored->type != ValueType::String)
        return ValueState::WrongType;
    value = std::move(stored->text);
    return ValueState::Present;
}

bool Registry::writeDword(std::string_view keyPath, std::string_view name, std::uint32_t value) {
    return store(keyPath, name, encodeDword(value));
}

bool Registry::writeString(std::string_view keyPath, std::string_view name,
                           std::string_view value) {
    auto encoded = encodeString(value);
    return encoded && store(keyPath, name, *encoded);
}

bool Registry::store(std::string_view keyPath, std::string_view name, const std::string& encoded) {
    if (!isStorableKeyPath(keyPath) || name.empty())
        return false;
    std::string folder = parentOf(filePath_);
    if (!folder.empty() && !fs::fileExists(folder))
        fs::makeDirectories(folder);
    return ini::editFile(filePath_, [&](IniDocument& doc) {
        if (!isWellFormed(doc)) {
            if (!keepDamagedCopy(filePath_))
                return false;  // never drop what we cannot keep
            doc = IniDocument();
        }
        return doc.setValue(keyPath, encodeValueName(name), encoded);
    });
}

bool Registry::removeValue(std::string_view keyPath, std::string_view name) {
    return ini::editFile(filePath_, [&](IniDocument& doc) {
        return isWellFormed(doc) && doc.removeKey(keyPath, encodeValueName(name));
    });
}

bool Registry::isDamaged() const {
    ini::LoadedFile file = ini::loadFile(filePath_);
    if (file.state == ini::FileState::Missing)
        return false;
    return file.state == ini::FileState::Unreadable || !isWellFormed(*file.document);
}

}  // namespace keyloom::registry
