#pragma once
// One ini file in memory: every line as it was read, so that an edit changes
// only the line it concerns, plus an index for case-insensitive lookups.
//
// Line rules: blanks (space, tab, CR, VT, FF) around names and values do not
// count; a line starting with ';' is a comment; "[name]" starts a section;
// "name=value" is a key; lines before the first section header belong to a
// section with the empty name. When a section or key name occurs twice, the
// first occurrence is the one found.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/ini/TextEncoding.h"

namespace keyloom::ini {

class IniDocument {
public:
    enum class LineKind { Blank, Comment, Section, Key, Other };

    struct Line {
        LineKind kind = LineKind::Blank;
        std::string text;   // the line as in the file, without its line break
        std::string name;   // section or key name, blanks removed
        std::string value;  // key value, blanks removed
    };

    IniDocument() = default;
    static IniDocument parse(std::span<const std::uint8_t> bytes);
    static IniDocument fromText(std::string_view utf8, FileEncoding encoding = FileEncoding::Utf8);

    // The value of the key (blanks removed, nothing else changed), or null.
    const std::string* findValue(std::string_view section, std::string_view key) const;
    bool hasSection(std::string_view section) const;
    // Names in file order, each once (first spelling).
    std::vector<std::string> sectionNames() const;
    std::vector<std::string> keyNames(std::string_view section) const;

    // Sets the key, creating the section or key when missing; every other line
    // stays as it was. False (nothing changed) for names or values that
    // cannot be written as one line: a line break or NUL anywhere, an empty
    // name, blanks around a name, ']' in a section name, '=' in a key name or
    // a key name starting with '[' or ';'.
    bool setValue(std::string_view section, std::string_view key, std::string_view value);
    // Remove the first matching key / the first matching section with its
    // lines. False when there was nothing to remove.
    bool removeKey(std::string_view section, std::string_view key);
    bool removeSection(std::string_view section);

    // The file's bytes in its encoding. A Latin-1 file that received
    // characters Latin-1 cannot hold is written as UTF-8 instead, so nothing is
    // lost; `encoding()` tells which one was used afterwards.
    std::vector<std::uint8_t> serialize();

    FileEncoding encoding() const { return encoding_; }
    const std::vector<Line>& lines() const { return lines_; }

private:
    // Hashing and comparison without regard to ASCII case, usable with
    // string_view keys, so that lookups need no folded copy of the name.
    struct FoldedHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const;
    };
    struct FoldedEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    using NameMap = std::unordered_map<std::string, std::size_t, FoldedHash, FoldedEqual>;

    struct SectionIndex {
        std::size_t header;       // line of "[name]"; npos for the lines before any header
        std::size_t end;          // first line after the section
        std::size_t lastKeyLine;  // last key line, or the header when there is none
        NameMap keys;             // name -> line
    };

    static Line classify(std::string text);
    void reindex();
    const SectionIndex* findSection(std::string_view section) const;

    std::vector<Line> lines_;
    std::vector<SectionIndex> sections_;
    NameMap sectionByName_;  // name -> index in sections_
    FileEncoding encoding_ = FileEncoding::Utf8;
    std::string lineBreak_ = "\n";
    bool finalLineBreak_ = true;
};

// ASCII case folding used for section and key names.
std::string foldCase(std::string_view name);

}  // namespace keyloom::ini
