// Checks and loads arbitrary bytes as a profile file, as an import does, and
// checks that whatever loads saves again into a file that passes the check
// and loads to the same contents, and that every file passing the check comes
// back byte for byte from its JSON form.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/ConfigurationStore.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileJson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const keyloom::ProfileFileFault fault = keyloom::checkProfileBytes(bytes);

    keyloom::StoreContents store;
    const bool loaded = keyloom::loadProfileBytes(bytes, store) == keyloom::FileResult::Ok;
    if (fault == keyloom::ProfileFileFault::None && !loaded) {
        __builtin_trap();  // a file that passes the check must load
    }
    if (!loaded) {
        return 0;
    }
    if (fault == keyloom::ProfileFileFault::None) {
        std::string json;
        std::string error;
        std::vector<std::uint8_t> back;
        if (!keyloom::profileBytesToJson(bytes, json, error) ||
            !keyloom::profileJsonToBytes(json, back, error) ||
            !std::equal(back.begin(), back.end(), bytes.begin(), bytes.end())) {
            __builtin_trap();
        }
    }
    if (store.macros.size() > keyloom::MacroRecord::kMaxMacros || store.texts.totalSize() > size) {
        __builtin_trap();
    }

    std::vector<std::uint8_t> saved;
    if (!keyloom::buildProfileBytes(store, saved) ||
        keyloom::checkProfileBytes(saved) != keyloom::ProfileFileFault::None) {
        __builtin_trap();
    }
    keyloom::StoreContents again;
    if (keyloom::loadProfileBytes(saved, again) != keyloom::FileResult::Ok ||
        again.macros != store.macros || again.texts != store.texts ||
        *again.image != *store.image) {
        __builtin_trap();
    }
    return 0;
}
