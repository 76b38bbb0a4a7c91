// Parses arbitrary text as the KEY and ACTION words keyloomctl takes: the
// first line is the key, the rest the action. A key that parses is not printed
// under another key's name, and an action that parses can be described.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/KeySyntax.h"
#include "model/KeyTable.h"
#include "storage/Language.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace keyloom;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t split = text.find('\n');
    const std::string_view key = text.substr(0, split);
    const std::string_view action = split == std::string_view::npos ? "" : text.substr(split + 1);

    // Key names come from the language file, as in keyloomctl.
    static const bool installed = [] {
        installLanguageFiles(
            std::make_shared<LanguageFiles>(KEYLOOM_SOURCE_DIR "/skin/", nullptr, 0x0409));
        SetKeyTextLookup([](std::string_view k) { return lookupText(k); });
        return true;
    }();
    static_cast<void>(installed);
    static const std::vector<MacroRecord> macros = [] {
        std::vector<MacroRecord> list(2);
        list[0].number = 1;
        list[0].name = u"one";
        list[1].number = 7;
        list[1].name = u"seven";
        return list;
    }();

    static_cast<void>(cli::parseKeyCode(key));
    const std::optional<std::size_t> entry = cli::parseKeyEntry(key);
    if (!entry)
        return 0;
    // The name printed must not name another key. Codes without a name print
    // as "Unknown key (0x...)", which names none.
    const std::optional<std::size_t> named = cli::parseKeyEntry(cli::entryName(*entry));
    if (named && named != entry)
        __builtin_trap();
    std::string error;
    const std::optional<KeyAssignment> assignment = cli::parseAction(action, *entry, macros, error);
    if (assignment)
        static_cast<void>(cli::describeAction(*assignment, macros));
    else if (error.empty())
        __builtin_trap();
    return 0;
}
