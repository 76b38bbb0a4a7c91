// Saving and loading a profile file of 100 macros (about 3.3 MB), as Apply
// saves the slot file and a connection loads it. Target: at most 20 ms each.
// The save flushes the file to disk before renaming it over the old one, so
// its wall time depends on the disk; its CPU time and the build alone do not.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/ConfigurationStore.h"
#include "storage/ProfileFile.h"

namespace {

namespace fsys = std::filesystem;

// A temporary folder for the file, removed at the end.
class Folder {
public:
    Folder() {
        std::string pattern = (fsys::temp_directory_path() / "keyloom-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            path_ = pattern;
    }
    ~Folder() {
        std::error_code ec;
        fsys::remove_all(path_, ec);
    }
    std::string file(const char* name) const { return (path_ / name).string(); }

private:
    fsys::path path_;
};

// 100 macros of 4000 events each, and a text on every tenth key of profile 0.
keyloom::StoreContents fullStore() {
    keyloom::StoreContents store;
    for (std::uint16_t n = 1; n <= 100; ++n) {
        keyloom::MacroRecord macro;
        macro.number = n;
        macro.name = u"Macro " + std::u16string(1, static_cast<char16_t>(u'0' + n % 10));
        for (std::size_t i = 0; i < keyloom::MacroRecord::kMaxActions; ++i) {
            macro.actions.push_back({static_cast<std::uint32_t>(i * 10),
                                     static_cast<std::uint16_t>(0x10 + i % 40),
                                     static_cast<std::uint16_t>(i % 2)});
        }
        store.macros.push_back(std::move(macro));
    }
    for (std::size_t slot = 0; slot < 512; slot += 10) {
        store.image->entries()[slot].kind = keyloom::AssignmentKind::TextBlock;
        store.texts.setText(slot, u"/usr/bin/some-program --with arguments");
    }
    return store;
}

void BM_SaveProfileFile(benchmark::State& state) {
    Folder folder;
    const std::string path = folder.file("p.klm");
    keyloom::StoreContents store = fullStore();
    for (auto _ : state) {
        if (keyloom::saveProfileFile(store, path) != keyloom::FileResult::Ok)
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveProfileFile)->Unit(benchmark::kMillisecond);

// The save without the disk: building the file's bytes. What the save costs
// beyond this is writing and flushing the file before it replaces the old one.
void BM_BuildProfileBytes(benchmark::State& state) {
    keyloom::StoreContents store = fullStore();
    std::vector<std::uint8_t> bytes;
    for (auto _ : state) {
        if (!keyloom::buildProfileBytes(store, bytes))
            state.SkipWithError("build failed");
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_BuildProfileBytes)->Unit(benchmark::kMillisecond);

void BM_LoadProfileFile(benchmark::State& state) {
    Folder folder;
    const std::string path = folder.file("p.klm");
    keyloom::StoreContents store = fullStore();
    if (keyloom::saveProfileFile(store, path) != keyloom::FileResult::Ok) {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state) {
        keyloom::StoreContents loaded;
        if (keyloom::loadProfileFile(path, loaded) != keyloom::FileResult::Ok)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(loaded.macros.data());
    }
}
BENCHMARK(BM_LoadProfileFile)->Unit(benchmark::kMillisecond);

void BM_ValidateProfileFile(benchmark::State& state) {
    Folder folder;
    const std::string path = folder.file("p.klm");
    keyloom::StoreContents store = fullStore();
    static_cast<void>(keyloom::saveProfileFile(store, path));
    for (auto _ : state) {
        if (!keyloom::validateProfileFile(path).valid())
            state.SkipWithError("not valid");
    }
}
BENCHMARK(BM_ValidateProfileFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
