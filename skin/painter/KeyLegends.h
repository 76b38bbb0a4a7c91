#pragma once
// What is printed on each key of the key view, by skin key.

#include <QString>
#include <vector>

namespace keyloom::painter {

struct KeyLegend {
    const char* skinKey;  // "KEY_01E", "FUNC_G1", "KEY_FN"
    QString main;         // the legend, or the lower one of a two-symbol key
    QString shifted;      // the upper symbol; empty for single legends
};

// Every key of the key view: the 105 key buttons, G1-G9 and Fn.
const std::vector<KeyLegend>& keyLegends();

}  // namespace keyloom::painter
