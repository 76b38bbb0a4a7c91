#include "platform/ini/IniDocument.h"

namespace keyloom::ini {

namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

std::string_view trim(std::string_view s) {
    auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

bool hasLineBreakOrNul(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool isWritableName(std::string_view name) {
    return !name.empty() && trim(name).size() == name.size() && !hasLineBreakOrNul(name);
}

char foldChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::size_t IniDocument::FoldedHash::operator()(std::string_view s) const {
    std::size_t h = 14695981039346656037ull;  // FNV-1a over the folded bytes
    for (char c : s) {
        h ^= static_cast<unsigned char>(foldChar(c));
        h *= 1099511628211ull;
    }
    return h;
}

bool IniDocument::FoldedEqual::operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldChar(a[i]) != foldChar(b[i]))
            return false;
    }
    return true;
}

std::string foldCase(std::string_view name) {
    std::string out(name);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

IniDocument IniDocument::parse(std::span<const std::uint8_t> bytes) {
    FileEncoding encoding = FileEncoding::Utf8;
    std::string text = decodeText(bytes, encoding);
    return fromText(text, encoding);
}

IniDocument IniDocument::fromText(std::string_view text, FileEncoding encoding) {
    IniDocument doc;
    doc.encoding_ = encoding;
    auto firstBreak = text.find('\n');
    if (firstBreak != std::string_view::npos && firstBreak > 0 && text[firstBreak - 1] == '\r') {
        doc.lineBreak_ = "\r\n";
    }
    doc.finalLineBreak_ = text.empty() || text.back() == '\n';
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        doc.lines_.push_back(classify(std::string(line)));
        start = end + 1;
    }
    doc.reindex();
    return doc;
}

IniDocument::Line IniDocument::classify(std::string text) {
    Line line;
    std::string_view body = trim(text);
    if (body.empty()) {
        line.kind = LineKind::Blank;
    } else if (body.front() == ';') {
        line.kind = LineKind::Comment;
    } else if (body.front() == '[') {
        line.kind = LineKind::Section;
        auto close = body.find(']');
        line.name = std::string(
            trim(body.substr(1, close == std::string_view::npos ? body.size() - 1 : close - 1)));
    } else if (auto eq = body.find('='); eq != std::string_view::npos) {
        line.kind = LineKind::Key;
        line.name = std::string(trim(body.substr(0, eq)));
        line.value = std::string(trim(body.substr(eq + 1)));
    } else {
        line.kind = LineKind::Other;
    }
    line.text = std::move(text);
    return line;
}

void IniDocument::reindex() {
    sections_.clear();
    sectionByName_.clear();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == LineKind::Section) {
            if (!sections_.empty())
                sections_.back().end = i;
            sections_.push_back(SectionIndex{i, lines_.size(), i, {}});
            sectionByName_.emplace(line.name, sections_.size() - 1);
        } else if (line.kind == LineKind::Key) {
            if (sections_.empty()) {
                // Keys before the first header form the section with no name.
                sections_.push_back(SectionIndex{kNone, lines_.size(), i, {}});
                sectionByName_.emplace(std::string(), 0);
            }
            SectionIndex& section = sections_.back();
            section.keys.emplace(line.name, i);
            section.lastKeyLine = i;
        }
    }
}

const IniDocument::SectionIndex* IniDocument::findSection(std::string_view section) const {
    auto it = sectionByName_.find(section);
    return it == sectionByName_.end() ? nullptr : &sections_[it->second];
}

const std::string* IniDocument::findValue(std::string_view section, std::string_view key) const {
    const SectionIndex* s = findSection(section);
    if (!s)
        return nullptr;
    auto it = s->keys.find(key);
    return it == s->keys.end() ? nullptr : &lines_[it->second].value;
}

bool IniDocument::hasSection(std::string_view section) const {
    return findSection(section) != nullptr;
}

std::vector<std::string> IniDocument::sectionNames() const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (sections_[i].header == kNone)
            continue;
        const std::string& name = lines_[sections_[i].header].name;
        if (sectionByName_.find(name)->second == i)
            names.push_back(name);
    }
    return names;
}

std::vector<std::string> IniDocument::keyNames(std::string_view section) const {
    std::vector<std::string> names;
    const SectionIndex* s = findSection(section);
    if (!s)
        return names;
    std::size_t first = s->header == kNone ? 0 : s->header + 1;
    for (std::size_t i = first; i < s->end; ++i) {
        const Line& line = lines_[i];
        if (line.kind != LineKind::Key)
            continue;
        auto it = s->keys.find(line.name);
        if (it != s->keys.end() && it->second == i)
            names.push_back(line.name);
    }
    return names;
}

bool IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    if (!isWritableName(section) || section.find(']') != std::string_view::npos)
        return false;
    if (!isWritableName(key) || key.find('=') != std::string_view::npos || key.front() == '[' ||
        key.front() == ';') {
        return false;
    }
    if (hasLineBreakOrNul(value))
        return false;

    const SectionIndex* s = findSection(section);
    if (s) {
        auto it = s->keys.find(key);
        if (it != s->keys.end()) {
            // Keep the key as the file spells it; only the value changes, so
            // every line keeps its place and the index stays valid.
            Line& line = lines_[it->second];
            line = classify(line.name + "=" + std::string(value));
            return true;
        } else {
            lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(s->lastKeyLine + 1),
                          classify(std::string(key) + "=" + std::string(value)));
        }
    } else {
        if (!lines_.empty() && lines_.back().kind != LineKind::Blank)
            lines_.push_back(Line{});
        lines_.push_back(classify("[" + std::string(section) + "]"));
        lines_.push_back(classify(std::string(key) + "=" + std::string(value)));
        finalLineBreak_ = true;
    }
    reindex();
    return true;
}

bool IniDocument::removeKey(std::string_view section, std::string_view key) {
    const SectionIndex* s = findSection(section);
    if (!s)
        return false;
    auto it = s->keys.find(key);
    if (it == s->keys.end())
        return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(it->second));
    reindex();
    return true;
}

bool IniDocument::removeSection(std::string_view section) {
    const SectionIndex* s = findSection(section);
    if (!s)
        return false;
    std::size_t first = s->header == kNone ? 0 : s->header;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(first),
                 lines_.begin() + static_cast<std::ptrdiff_t>(s->end));
    reindex();
    return true;
}

std::vector<std::uint8_t> IniDocument::serialize() {
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        text += lines_[i].text;
        if (i + 1 < lines_.size() || finalLineBreak_)
            text += lineBreak_;
    }
    bool fits = true;
    std::vector<std::uint8_t> bytes = encodeText(text, encoding_, &fits);
    if (!fits) {
        encoding_ = FileEncoding::Utf8;
        bytes = encodeText(text, encoding_);
    }
    return bytes;
}

}  // namespace keyloom::ini
