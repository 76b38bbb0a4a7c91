// Reads arbitrary bytes as the ini files a user may edit by hand: the
// language file, a skin file and the settings file, in any encoding. Every
// value found is looked up through the readers the program uses, and an edit
// must leave the file readable with the edited value in place.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "FuzzFolder.h"
#include "platform/ini/IniDocument.h"
#include "storage/Language.h"
#include "storage/SkinGeometry.h"
#include "storage/SkinScreen.h"
#include "storage/UserSettings.h"

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
            if (value && text != *value)
                __builtin_trap();  // the lookup must give the file's value
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
