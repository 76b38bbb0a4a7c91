#include "core/KeyboardDump.h"

#include <algorithm>
#include <new>

#include "model/MacroArea.h"
#include "platform/text/Utf16.h"
#include "storage/Language.h"
#include "storage/ProfileDump.h"

namespace keyloom {

namespace {

constexpr int kHighestKnownProfile = 3;

// The macro area as far as it is in use and within the capacity; just the
// header when it holds no macros.
DeviceResult readMacroArea(const KeyboardDumpSource& source, std::vector<std::uint8_t>& area) {
    area.assign(MacroAreaHeader::kSize, 0);
    if (const DeviceResult code = source.link.ReadMacroArea(area); code != result::Success)
        return code;
    const auto header = MacroAreaHeader::parse(area);
    if (!header || !header->holdsMacros())
        return result::Success;
    // The size field comes from the keyboard: never read past the capacity.
    const std::size_t inUse = std::min<std::size_t>(header->bytesInUse, source.macroCapacity);
    if (inUse <= area.size())
        return result::Success;
    area.assign(inUse, 0);
    return source.link.ReadMacroArea(area);
}

DeviceResult readContents(const KeyboardDumpSource& source, KeyboardContents& contents) {
    for (int profile = 0; profile < kProfileCount; ++profile) {
        const DeviceResult code =
            source.link.ReadKeyMatrix(contents.matrices[profile].bytes, profile);
        if (code != result::Success)
            return code;
    }
    return readMacroArea(source, contents.macroArea);
}

}  // namespace

std::u16string unnamedMacroPrefix() {
    return text::utf8ToUtf16(lookupText("MACRO_NEW_PREFIX"));
}

KeyboardDump readKeyboardDump(KeyboardQueue& queue, const KeyboardDumpSource& source,
                              int activeProfile, std::u16string_view defaultNamePrefix) {
    KeyboardDump dump;
    if (activeProfile < 0 || activeProfile > kHighestKnownProfile) {
        dump.device = result::BadProfile;
        return dump;
    }
    KeyboardContents contents;
    bool outOfMemory = false;
    dump.device = result::NoReply;
    const bool ran = queue.runAndWait([&] {
        try {
            dump.device = readContents(source, contents);
        } catch (const std::bad_alloc&) {
            outOfMemory = true;
        }
    });
    if (outOfMemory) {
        dump.device = result::Success;
        dump.file = FileResult::OutOfMemory;
        return dump;
    }
    if (!ran || dump.device != result::Success)
        return dump;
    dump.file = buildDumpBytes(source.defaultMatrix, contents, source.macroCapacity,
                               defaultNamePrefix, dump.bytes);
    return dump;
}

KeyboardDump dumpKeyboardToFile(KeyboardQueue& queue, const KeyboardDumpSource& source,
                                int activeProfile, const std::string& path,
                                std::u16string_view defaultNamePrefix) {
    KeyboardDump dump = readKeyboardDump(queue, source, activeProfile, defaultNamePrefix);
    if (dump.ok())
        dump.file = writeDumpFile(path, dump.bytes);
    if (dump.file != FileResult::Ok)
        dump.bytes.clear();
    return dump;
}

}  // namespace keyloom
