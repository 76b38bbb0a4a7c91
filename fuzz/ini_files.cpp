// Reads arbitrary bytes as the ini files a user may edit by hand: the
// language file, a skin file and the settings file, in any encoding. Every
// value found is looked up through the readers the program uses, and an edit
// must leave the file readable with the edited value in place.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzFolder.h"
#include "platform/ini/Ini.h"
#include "platform/ini/IniDocument.h"
#include "platform/text/Utf16.h"
#include "storage/Language.h"
#include "storage/SkinGeometry.h"
#include "storage/SkinScreen.h"
#include "storage/UserSettings.h"

namespace {

// What a lookup with the usual 260-unit buffer promises for a stored value:
// one pair of enclosing quotes removed, then as many whole characters as fit
// in 259 UTF-16 units, as the private-profile functions copy them.
bool readAsPromised(const std::string& read, std::string_view stored) {
    if (stored.size() >= 2 && (stored.front() == '"' || stored.front() == '\'') &&
        stored.back() == stored.front())
        stored = stored.substr(1, stored.size() - 2);
    const std::size_t limit = keyloom::ini::kDefaultBufferChars - 1;
    const std::size_t units = keyloom::text::utf16Length(read);
    if (!stored.starts_with(read) || units > limit)
        return false;
    if (read.size() == stored.size())
        return true;
    // Cut short only where the next character no longer fits.
    char32_t next = 0;
    const std::size_t length = keyloom::text::readUtf8Char(stored, read.size(), next);
    if (length == 0)
        next = keyloom::text::kReplacementCharacter;
    return units + (next > 0xFFFF ? 2 : 1) > limit;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace keyloom;
    static fuzzing::FuzzFolder folder;
    if (!folder.usable())
        return 0;

    ini::IniDocument document = ini::IniDocument::parse(std::span<const std::uint8_t>(data, size));
    const std::vector<std::string> sections = document.sectionNames();

    // As the language file.
    folder.write("Lang0409.ini", data, size);
    const LanguageFiles language(folder.folder(), nullptr, 0x0409);
    for (const std::string& section : sections)
        for (const std::string& key : document.keyNames(section)) {
            const std::string text = language.lookupText(key, 0);
            static_cast<void>(language.lookupMode(key, 0));
            const std::string* value = document.findValue("TEXT", key);
            if (value && !readAsPromised(text, *value))
                __builtin_trap();  // the lookup must give the file's value, cut to its buffer
        }

    // As a skin file: every value as a placement.
    const std::string skin = folder.folder() + "Lang0409.ini";
    static_cast<void>(readSkinScreen(skin));
    static_cast<void>(readSkinLinks(skin));
    for (const std::string& section : sections)
        for (const std::string& key : document.keyNames(section)) {
            static_cast<void>(readSkinGeometry(skin, section, key));
            static_cast<void>(readPictureOffset(skin, section, key));
        }

    // As the settings file: a write must read back and keep the other keys.
    const std::string settings = folder.write("tzkb.ini", data, size);
    const bool before = readLightingView(settings);
    if (writeLightingView(settings, !before) && readLightingView(settings) == before)
        __builtin_trap();

    // An edit in memory survives serialising and parsing again.
    if (document.setValue("KEYCOLOR", "DengCheck", "1")) {
        const std::vector<std::uint8_t> bytes = document.serialize();
        const ini::IniDocument again = ini::IniDocument::parse(bytes);
        const std::string* value = again.findValue("KEYCOLOR", "DengCheck");
        if (!value || *value != "1" || again.sectionNames().size() < sections.size())
            __builtin_trap();
    }
    return 0;
}
