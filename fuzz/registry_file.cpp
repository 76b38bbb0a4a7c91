// Reads arbitrary bytes as the registry file. Reads must not fail on any
// content, and a write must be readable afterwards and keep every other
// value that could be read before (a damaged file is set aside instead).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "FuzzFolder.h"
#include "platform/ini/IniDocument.h"
#include "platform/registry/Registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace keyloom;
    static fuzzing::FuzzFolder folder;
    if (!folder.usable())
        return 0;
    const std::string file = folder.write("registry.ini", data, size);
    registry::Registry reg(file);

    const ini::IniDocument document =
        ini::IniDocument::parse(std::span<const std::uint8_t>(data, size));
    struct Seen {
        std::string key;
        std::string name;
        std::string text;
    };
    std::vector<Seen> seen;
    for (const std::string& section : document.sectionNames())
        for (const std::string& name : document.keyNames(section)) {
            std::uint32_t dword = 0;
            static_cast<void>(reg.readDword(section, name, dword));
            std::string text;
            if (reg.readString(section, name, text) == registry::ValueState::Present)
                seen.push_back({section, name, text});
        }

    const bool damaged = reg.isDamaged();
    const std::string key = "Software\\ORVK_Keyboard";
    if (!reg.writeDword(key, "dwLanguageId", 0x0409))
        return 0;
    std::uint32_t stored = 0;
    if (reg.readDword(key, "dwLanguageId", stored) != registry::ValueState::Present ||
        stored != 0x0409 || reg.isDamaged())
        __builtin_trap();
    if (damaged)
        return 0;
    for (const Seen& s : seen) {
        std::string text;
        const bool overwritten = s.name == "dwLanguageId";
        if (!overwritten && (reg.readString(s.key, s.name, text) != registry::ValueState::Present ||
                             text != s.text))
            __builtin_trap();
    }
    return 0;
}
