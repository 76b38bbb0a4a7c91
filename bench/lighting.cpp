// Host time of the lighting side, without the keyboard: one control change
// (state update and the change handed to the writer), a base-colour repaint
// of a whole group including the one rewrite of the user-mode file (target
// 10 ms), and loading one user mode from its file (target 2 ms).

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "lighting/LightingController.h"
#include "platform/ini/IniCache.h"

namespace {

namespace fsys = std::filesystem;
using namespace keyloom;

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
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    fsys::path path_;
};

// Takes every write at once.
class NullTransport final : public LightingTransport {
public:
    TransferResult begin() override { return {}; }
    TransferResult end() override { return {}; }
    TransferResult writeProfileSettings(std::span<const std::uint8_t>, std::uint16_t) override {
        return {};
    }
    TransferResult writeKeyColours(std::span<const std::uint8_t>, std::uint16_t, int) override {
        return {};
    }
};

// A user-mode file like the template's: ten names, mode 0 with every key
// in the base group.
void writeUserFile(const std::string& path) {
    std::ofstream out(path);
    out << "[PRESENTMODE]\nmode=0\n\n[MODENAME]\n";
    for (int m = 0; m < kUserModeCount; ++m)
        out << m << "=Mode " << m << "\n";
    for (int m = 0; m < kUserModeCount; ++m) {
        out << "\n[Mode" << m << "]\ntool=1\njcolor=10,20,30\ncolor=1,2,3\n";
        for (const ColourKey& key : colourKeys())
            if (key.colourIndex != kNoColourIndex && key.colourIndex != kGButtonColourIndex)
                out << int(key.colourIndex) << "=10,20,30,1\n";
    }
}

struct Setup {
    Folder folder;
    NullTransport transport;
    LightingController controller{
        transport,
        {folder.file("UserDengColor_"), folder.file("T_"), folder.file("tzkb.ini")},
        LightingWriter::Mode::Synchronous};
    Setup() {
        writeUserFile(folder.file("UserDengColor_0.userd"));
        ParameterBlock block;
        block.bytes[ParameterBlock::kEffectListOffset] = 20;
        ProfileRecords records{};
        records[0].bytes[ProfileRecord::kEffect] = 20;
        controller.recordsRead(block, records, true);
        controller.setLightingProfile(0);
        controller.loadUserMode(0, false);
    }
};

void BM_ControlChange(benchmark::State& state) {
    Setup setup;
    int position = 0;
    for (auto _ : state) {
        setup.controller.sliderMoved(1178, position);
        position = (position + 1) % 5;
    }
}
BENCHMARK(BM_ControlChange);

void BM_BaseColourRepaint(benchmark::State& state) {
    Setup setup;
    std::uint8_t shade = 0;
    for (auto _ : state) {
        setup.controller.colourPicked(1162, {shade, 0, 0});
        ++shade;
    }
}
BENCHMARK(BM_BaseColourRepaint)->Unit(benchmark::kMillisecond);

void BM_LoadUserMode(benchmark::State& state) {
    Setup setup;
    const std::string path = setup.folder.file("UserDengColor_0.userd");
    for (auto _ : state) {
        ini::forgetFile(path);  // parse the file each time, as after a change
        setup.controller.loadUserMode(0, false);
    }
}
BENCHMARK(BM_LoadUserMode)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
