// Looking texts up in an unchanged language file, as every window does each
// time it shows a text: one lookup (target: at most 10 us median) and the
// names of all keys of the key table (target: at most 2 ms). The lookups
// resolve the language index from the registry file each time, as the
// program does.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>

#include "model/KeyTable.h"
#include "platform/fs/FileIo.h"
#include "platform/registry/Registry.h"
#include "storage/Language.h"
#include "storage/SettingsKey.h"

namespace {

namespace fsys = std::filesystem;

// A program folder with the shipped language file and a registry holding the
// language id, both dated in the past so the cache treats them as settled.
class Fixture {
public:
    Fixture() {
        std::string pattern = (fsys::temp_directory_path() / "keyloom-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            return;
        folder_ = pattern;
        // Not found through __FILE__: the compiler cache makes that path
        // relative to the build folder.
        fsys::path source = fsys::path(KEYLOOM_BENCH_SKIN_DIR) / "Lang0409.ini";
        std::error_code ec;
        fsys::copy_file(source, folder_ / "Lang0409.ini", ec);
        auto registry =
            std::make_shared<keyloom::registry::Registry>((folder_ / "registry.ini").string());
        registry->writeDword(keyloom::kSettingsKeyPath, keyloom::kLanguageIdValue, 0x0409);
        for (const char* name : {"Lang0409.ini", "registry.ini"}) {
            timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
            ::utimensat(AT_FDCWD, (folder_ / name).c_str(), old, 0);
        }
        files_ = std::make_shared<keyloom::LanguageFiles>(folder_.string() + "/", registry, 0x0409);
        ok_ = !ec && files_->lookupText("MAIN_CAPTION") != keyloom::kMissingText;
    }
    ~Fixture() {
        std::error_code ec;
        if (!folder_.empty())
            fsys::remove_all(folder_, ec);
    }

    bool ok() const { return ok_; }
    const keyloom::LanguageFiles& files() const { return *files_; }

private:
    fsys::path folder_;
    std::shared_ptr<keyloom::LanguageFiles> files_;
    bool ok_ = false;
};

void BM_LookupText(benchmark::State& state) {
    Fixture fixture;
    if (!fixture.ok()) {
        state.SkipWithError("language file not set up");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(fixture.files().lookupText("MACRO_DELETE_CONFIRM_OF_KEYS"));
    }
    // The CSV reporter wants the same counters in every run of the program.
    state.counters["names"] = 1;
}
BENCHMARK(BM_LookupText)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_AllKeyNames(benchmark::State& state) {
    Fixture fixture;
    if (!fixture.ok()) {
        state.SkipWithError("language file not set up");
        return;
    }
    keyloom::TextLookup lookup = [&](std::string_view key) {
        return fixture.files().lookupText(key);
    };
    for (auto _ : state) {
        int names = 0;
        for (int index = 0; index < static_cast<int>(keyloom::kKeyTableSize); ++index) {
            const keyloom::KeyRow& row = keyloom::KeyRowAt(index);
            if (row.listPosition == keyloom::kNoListPosition)
                continue;
            benchmark::DoNotOptimize(keyloom::KeyName(keyloom::KeyCodeOf(index), 260, lookup));
            ++names;
        }
        state.counters["names"] = names;
    }
}
BENCHMARK(BM_AllKeyNames)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
