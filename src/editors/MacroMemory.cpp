#include "editors/MacroMemory.h"

namespace keyloom::editors {

std::string_view MacroMemory::messageKey() const {
    switch (fit) {
        case MacroAreaFit::TooLong:
            return "EXTRA_MACRO_TOO_LONG";
        case MacroAreaFit::WithoutNames:
            return "EXTRA_PROFILE_SPACE_TIGHT";
        case MacroAreaFit::WithNames:
            break;
    }
    return {};
}

MacroMemory macroMemoryOf(std::span<const MacroRecord> macros, std::size_t capacityBytes) {
    MacroMemory memory;
    memory.capacity = capacityBytes;
    memory.sizes = macroAreaSizes(macros);
    memory.fit = planMacroArea(memory.sizes, capacityBytes).fit;
    return memory;
}

MacroMemory macroMemoryOf(std::span<const MacroRecord> macros, const ParameterBlock& parameters) {
    return macroMemoryOf(macros, parameters.macroCapacity());
}

}  // namespace keyloom::editors
