// Building the names of every key of the table, as the main window does for
// its key tooltips and the editors for their key lists. Target: all 157 names
// well under 2 ms.

#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "model/KeyTable.h"

namespace {

using keyloom::KeyCode;

std::vector<KeyCode> KeysWithRows() {
    std::vector<KeyCode> codes;
    for (int index = 0; index < static_cast<int>(keyloom::kKeyTableSize); ++index) {
        if (keyloom::KeyRowAt(index).listPosition != keyloom::kNoListPosition) {
            codes.push_back(keyloom::KeyCodeOf(index));
        }
    }
    return codes;
}

// A language file held in memory: every name key with a text, as a loaded
// language would give.
keyloom::TextLookup InMemoryLanguage() {
    std::unordered_map<std::string, std::string> texts;
    for (const keyloom::KeyRow& row : keyloom::KeyTable()) {
        if (!row.nameKey.empty()) {
            texts.emplace(std::string(row.nameKey), "Name of " + std::string(row.caption));
        }
    }
    texts.emplace("UNKNOWN_KEY", "Key %d");
    return [texts = std::move(texts)](std::string_view key) {
        const auto found = texts.find(std::string(key));
        return found == texts.end() ? std::string("#Error") : found->second;
    };
}

void BM_NamesOfAllKeys(benchmark::State& state) {
    const auto codes = KeysWithRows();
    const auto lookup = InMemoryLanguage();
    for (auto _ : state) {
        for (KeyCode code : codes) {
            benchmark::DoNotOptimize(keyloom::KeyName(code, 260, lookup));
        }
    }
    state.counters["keys"] = static_cast<double>(codes.size());
}
BENCHMARK(BM_NamesOfAllKeys)->Unit(benchmark::kMicrosecond);

void BM_KeyChoiceList(benchmark::State& state) {
    const auto lookup = InMemoryLanguage();
    for (auto _ : state) {
        for (std::uint16_t p = 0; p <= keyloom::kLastChoiceListPosition; ++p) {
            benchmark::DoNotOptimize(keyloom::ListEntryName(p, lookup));
        }
    }
}
BENCHMARK(BM_KeyChoiceList)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
