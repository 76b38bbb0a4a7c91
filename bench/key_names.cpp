// Building the names of every key of the table, as the main window does for
// its key tooltips and the editors for their key lists. Target: all 157 names
// well under 2 ms.

#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/KeyTable.h"
#include "storage/Language.h"

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

// The same names read from a real language file on disk, which the lookup
// opens and parses for every name.
void BM_NamesOfAllKeysFromLanguageFile(benchmark::State& state) {
    char folder[] = "/tmp/keyloom-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string file = std::string(folder) + "/Lang0409.ini";
    {
        std::ofstream ini(file);
        ini << "[TEXT]\r\n";
        for (const keyloom::KeyRow& row : keyloom::KeyTable()) {
            if (!row.nameKey.empty()) {
                ini << row.nameKey << "=Name of " << row.caption << "\r\n";
            }
        }
        ini << "UNKNOWN_KEY=Key %d\r\n";
    }
    const keyloom::LanguageFiles files(std::string(folder) + "/", nullptr, 0x0409);
    const keyloom::TextLookup lookup = [&files](std::string_view key) {
        return files.lookupText(key);
    };
    const auto codes = KeysWithRows();
    for (auto _ : state) {
        for (KeyCode code : codes) {
            benchmark::DoNotOptimize(keyloom::KeyName(code, 260, lookup));
        }
    }
    std::remove(file.c_str());
    rmdir(folder);
}
BENCHMARK(BM_NamesOfAllKeysFromLanguageFile)->Unit(benchmark::kMicrosecond);

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
