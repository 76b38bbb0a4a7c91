// Reads arbitrary text as the simulated keyboard's state file for either
// model: a refused file leaves the memory untouched, an accepted one writes
// back to the same memory.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sim/SimStateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace keyloom::sim;
    if (size > kMaxStateFileSize)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const SimModel* model : {&kModel652F, &kModel5064}) {
        const SimMemory factory = factoryMemory(*model);
        SimMemory memory = factory;
        std::string reason;
        if (!parseState(text, *model, memory, reason)) {
            if (!(memory == factory) || reason.empty())
                __builtin_trap();
            continue;
        }
        SimMemory again = factory;
        if (!parseState(serializeState(*model, memory), *model, again, reason) ||
            !(again == memory))
            __builtin_trap();
    }
    return 0;
}
