// keyloomctl lighting, colour and colours against the simulated keyboard
// with per-key colours, its memory kept in a state file: the bytes the
// keyboard holds and the reports it received, as a user scripting the
// commands sees them.

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "platform/text/Hex.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

constexpr std::size_t kRecordSize = 42;
constexpr int kWriteProfileSettings = 6;
constexpr int kWriteKeyColours = 17;
constexpr std::uint16_t kWakeUpOffset = 19;  // written by every connection

struct SentReport {
    int command;
    int length;
    int offset;
    std::vector<std::uint8_t> data;
};

class KeyloomctlLighting : public ::testing::Test {
protected:
    CliRun run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--simulate", "320f:5064:" + dir.file("kb.state"), "--data-dir",
                                   dir.file("data"), "--trace", "t.txt"});
        std::remove(dir.file("t.txt").c_str());
        return runKeyloomctl(args, dir.path());
    }

    // One area of the keyboard's memory from the state file.
    std::vector<std::uint8_t> area(const std::string& name) {
        std::istringstream in(dir.read("kb.state"));
        for (std::string line; std::getline(in, line);)
            if (line.starts_with(name + " ")) {
                std::vector<std::uint8_t> bytes;
                text::fromHex(line.substr(name.size() + 1), bytes);
                return bytes;
            }
        ADD_FAILURE() << "no " << name << " in the state file";
        return {};
    }

    std::vector<std::uint8_t> record(int profile) {
        auto bytes = area("profile-settings");
        EXPECT_GE(bytes.size(), (profile + 1) * kRecordSize);
        return {bytes.begin() + profile * kRecordSize, bytes.begin() + (profile + 1) * kRecordSize};
    }

    // The lighting writes of the last run: profile settings (but the
    // connection's wake-up byte) and key colours.
    std::vector<SentReport> lightingWrites() {
        std::vector<SentReport> out;
        std::istringstream in(dir.read("t.txt"));
        for (std::string line; std::getline(in, line);) {
            std::vector<std::uint8_t> r;
            if (!line.starts_with("> ") || !text::fromHex(line.substr(2), r) || r.size() < 8)
                continue;
            SentReport sent{r[3], r[4], r[5] | r[6] << 8, {}};
            sent.data.assign(r.begin() + 8,
                             r.begin() + 8 + std::min<std::size_t>(r[4], r.size() - 8));
            if ((sent.command == kWriteProfileSettings && sent.offset != kWakeUpOffset) ||
                sent.command == kWriteKeyColours)
                out.push_back(sent);
        }
        return out;
    }

    void connectOnce() { ASSERT_EQ(run({"lighting"}).exitCode, 0); }

    TempDir dir;
};

TEST_F(KeyloomctlLighting, EachSettingWritesItsFieldsOfTheLightingProfile) {
    struct Case {
        std::vector<std::string> args;
        std::size_t offset;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {{"speed", "0"}, 2, {3}},  // leftmost slider position is speed 3
        {{"brightness", "1"}, 1, {1}},
        {{"direction", "left"}, 3, {255}},
        {{"direction", "right"}, 3, {0}},
        {{"colourful", "on"}, 4, {1}},
        {{"colour", "102030"}, 4, {0, 0x10, 0x20, 0x30}},
        {{"swatch", "8"}, 4, {0, 174, 0, 255}},
        {{"choice", "blue"}, 17, {3}},
        {{"effect", "12"}, 0, {12}},
    };
    // Profile 2 is the lighting profile: its record starts at 42.
    ASSERT_EQ(run({"profile", "2"}).exitCode, 0);
    for (const Case& c : cases) {
        std::vector<std::string> args{"lighting"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        CliRun changed = run(args);
        ASSERT_EQ(changed.exitCode, 0) << c.args[0] << ": " << changed.err;
        const auto held = record(1);
        EXPECT_EQ(std::vector<std::uint8_t>(held.begin() + c.offset,
                                            held.begin() + c.offset + c.bytes.size()),
                  c.bytes)
            << c.args[0] << " " << c.args[1];
        const auto writes = lightingWrites();
        ASSERT_FALSE(writes.empty()) << c.args[0];
        EXPECT_EQ(writes.front().offset, 42 + static_cast<int>(c.offset)) << c.args[0];
    }
    EXPECT_EQ(record(0)[2], 2) << "profile 1 untouched";

    // Without the user-mode template (drawn only with Qt) the reset fails
    // on purpose, after the lighting profile was reset.
    const bool haveTemplate =
        std::filesystem::exists(KEYLOOM_BUILD_DIR "/bin/Skins/UserDengColor_3.userd");
    ASSERT_EQ(run({"lighting", "reset"}).exitCode, haveTemplate ? 0 : 1);
    const std::vector<std::uint8_t> defaults{1, 4, 2, 0, 255, 255, 255, 255};
    const auto held = record(1);
    EXPECT_EQ(std::vector<std::uint8_t>(held.begin(), held.begin() + 8), defaults);
    for (std::size_t i = 8; i < 35; ++i)
        EXPECT_EQ(held[i], 0) << i;
}

TEST_F(KeyloomctlLighting, AValueTheControlWouldNotSendSendsNothingAndSaysSo) {
    connectOnce();
    const std::string userFile = dir.read("data/UserDengColor_0.userd");
    if (userFile.empty())
        GTEST_SKIP() << "no user-mode template: the skin pictures are drawn only with Qt";
    // Profile 1 holds brightness 4, speed 2 (position 1), colourful on, and
    // the template's base colour.
    for (std::vector<std::string> args : {std::vector<std::string>{"lighting", "brightness", "4"},
                                          {"lighting", "speed", "1"},
                                          {"lighting", "colourful", "on"},
                                          {"colour", "--base", "ff8200"}}) {
        CliRun same = run(args);
        EXPECT_EQ(same.exitCode, 0) << args[1] << ": " << same.err;
        EXPECT_NE(same.out.find("nothing was sent"), std::string::npos) << same.out;
        EXPECT_TRUE(lightingWrites().empty()) << args[1];
    }
    EXPECT_EQ(dir.read("data/UserDengColor_0.userd"), userFile);
}

TEST_F(KeyloomctlLighting, BadValuesExitTwoWithAClearMessageAndSendNothing) {
    connectOnce();
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"lighting", "brightness", "5"}, "takes 0-4, not '5'"},
        {{"lighting", "speed", "-1"}, "not '-1'"},
        {{"lighting", "colour", "red"}, "RRGGBB"},
        {{"lighting", "direction", "up"}, "left or right"},
        {{"lighting", "effect", "19"}, "does not list effect 19; it lists 1, 2, 3"},
        {{"colour", "Print Screen", "00ff00"}, "Print Screen has no colour position"},
        {{"colour", "Num 7", "00ff00"}, "no colour position"},
        {{"colour", "G1", "00ff00"}, "G keys"},
        {{"colour", "A", "12345"}, "RRGGBB"},
    };
    for (const Case& c : cases) {
        CliRun bad = run(c.args);
        EXPECT_EQ(bad.exitCode, 2) << c.args[1];
        EXPECT_NE(bad.err.find(c.message), std::string::npos) << bad.err;
        EXPECT_TRUE(lightingWrites().empty()) << c.args[1];
    }
}

// Counts the replacements and rewrites of one file while `act` runs.
template <typename Act>
int fileWrites(const std::string& folder, const std::string& name, Act act) {
    const int watch = inotify_init1(IN_NONBLOCK);
    EXPECT_GE(watch, 0);
    inotify_add_watch(watch, folder.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE);
    act();
    int count = 0;
    alignas(inotify_event) char buffer[64 * 1024];
    for (ssize_t n; (n = read(watch, buffer, sizeof buffer)) > 0;)
        for (char* at = buffer; at < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (event->len > 0 && name == event->name)
                ++count;
            at += sizeof(inotify_event) + event->len;
        }
    close(watch);
    return count;
}

TEST_F(KeyloomctlLighting, BaseColourRepaintWritesTheFileOnceAndSendsEightChunks) {
    connectOnce();
    if (!std::filesystem::exists(KEYLOOM_BUILD_DIR "/bin/Skins/UserDengColor_3.userd"))
        GTEST_SKIP() << "no user-mode template: the skin pictures are drawn only with Qt";
    CliRun repaint;
    const int writes = fileWrites(dir.file("data"), "UserDengColor_0.userd", [&] {
        repaint = run({"colour", "--base", "102030"});
    });
    ASSERT_EQ(repaint.exitCode, 0) << repaint.err;
    EXPECT_EQ(writes, 1);

    const auto sent = lightingWrites();
    ASSERT_EQ(sent.size(), 8u);
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].command, kWriteKeyColours);
        EXPECT_EQ(sent[i].length, 54);
        EXPECT_EQ(sent[i].offset, static_cast<int>(i * 54));
    }
    // A (position 53) is in the template's base group.
    const auto colours = area("key-colours");
    ASSERT_GT(colours.size(), 53u * 3 + 2);
    EXPECT_EQ(std::vector<std::uint8_t>(colours.begin() + 159, colours.begin() + 162),
              (std::vector<std::uint8_t>{0x10, 0x20, 0x30}));
    const std::string file = dir.read("data/UserDengColor_0.userd");
    EXPECT_NE(file.find("jcolor=16,32,48\n"), std::string::npos);
    EXPECT_NE(file.find("\n53=16,32,48,1\n"), std::string::npos);
}

TEST_F(KeyloomctlLighting, PaintingTakesAKeyOutOfTheBaseGroup) {
    if (!std::filesystem::exists(KEYLOOM_BUILD_DIR "/bin/Skins/UserDengColor_3.userd"))
        GTEST_SKIP() << "no user-mode template: the skin pictures are drawn only with Qt";
    CliRun notYet = run({"colour", "Fn", "0000ff"});
    EXPECT_EQ(notYet.exitCode, 1);
    EXPECT_NE(notYet.err.find("effect 20"), std::string::npos) << notYet.err;
    EXPECT_TRUE(lightingWrites().empty());

    ASSERT_EQ(run({"lighting", "effect", "20"}).exitCode, 0);
    CliRun painted = run({"colour", "fn", "0000ff"});
    ASSERT_EQ(painted.exitCode, 0) << painted.err;
    const auto sent = lightingWrites();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].offset, 91 * 3);
    EXPECT_EQ(sent[0].data, (std::vector<std::uint8_t>{0, 0, 255}));
    EXPECT_NE(dir.read("data/UserDengColor_0.userd").find("\n91=0,0,255,0\n"), std::string::npos);

    ASSERT_EQ(run({"colour", "--base", "102030"}).exitCode, 0);
    const auto colours = area("key-colours");
    EXPECT_EQ(std::vector<std::uint8_t>(colours.begin() + 273, colours.begin() + 276),
              (std::vector<std::uint8_t>{0, 0, 255}));

    CliRun listed = run({"--json", "colours"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_NE(listed.out.find("\"key\": \"Fn\",\n      \"position\": 91,\n      \"colour\": "
                              "\"0000ff\",\n      \"baseGroup\": false"),
              std::string::npos)
        << listed.out;
    EXPECT_NE(listed.out.find("\"key\": \"A\",\n      \"position\": 53,\n      \"colour\": "
                              "\"102030\",\n      \"baseGroup\": true"),
              std::string::npos);
    // Effect 20's preview shows the same colours.
    CliRun preview = run({"--json", "preview", "20"});
    EXPECT_NE(preview.out.find("\"Fn\": \"0000ff\""), std::string::npos) << preview.out;
    EXPECT_NE(preview.out.find("\"A\": \"102030\""), std::string::npos);
}

TEST_F(KeyloomctlLighting, TheGKeysTakeTheBaseColourAndStayInTheGroup) {
    // The G keys' shared position starts black: with a black base colour
    // they are in the base group.
    CliRun black = run({"colour", "--base", "000000"});
    ASSERT_EQ(black.exitCode, 0) << black.err;
    CliRun repaint = run({"colour", "--base", "102030"});
    ASSERT_EQ(repaint.exitCode, 0) << repaint.err;
    const auto colours = area("key-colours");
    ASSERT_GT(colours.size(), 125u * 3 + 2);
    EXPECT_EQ(std::vector<std::uint8_t>(colours.begin() + 375, colours.begin() + 378),
              (std::vector<std::uint8_t>{0x10, 0x20, 0x30}));
    CliRun listed = run({"--json", "colours"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    for (int g = 1; g <= 9; ++g)
        EXPECT_NE(listed.out.find("\"key\": \"G" + std::to_string(g) +
                                  "\",\n      \"position\": 125,\n      \"colour\": "
                                  "\"102030\",\n      \"baseGroup\": true"),
                  std::string::npos)
            << "G" << g << "\n"
            << listed.out;
}

TEST_F(KeyloomctlLighting, AUserFileThatCannotBeWrittenSendsNoColoursAndFails) {
    ASSERT_EQ(run({"lighting", "effect", "20"}).exitCode, 0);
    const std::string userFile = dir.file("data/UserDengColor_0.userd");
    std::filesystem::remove(userFile);
    std::filesystem::create_directory(userFile);
    std::vector<std::vector<std::string>> commands{{"colour", "A", "102030"},
                                                   {"colour", "--base", "405060"}};
    // The reset copies the template, which is drawn only with Qt.
    if (std::filesystem::exists(KEYLOOM_BUILD_DIR "/bin/Skins/UserDengColor_3.userd"))
        commands.push_back({"lighting", "reset"});
    for (const std::vector<std::string>& args : commands) {
        CliRun refused = run(args);
        EXPECT_EQ(refused.exitCode, 1) << args[1];
        EXPECT_NE(refused.err.find(userFile + " could not be written"), std::string::npos)
            << refused.err;
        for (const SentReport& sent : lightingWrites())
            EXPECT_NE(sent.command, kWriteKeyColours) << args[1];
    }
}

TEST_F(KeyloomctlLighting, JsonStateOfTheLightingProfile) {
    ASSERT_EQ(run({"profile", "2"}).exitCode, 0);
    CliRun state = run({"--json", "lighting"});
    ASSERT_EQ(state.exitCode, 0) << state.err;
    // The simulated profile 2: effect 5, brightness 3, speed 1, direction
    // 255, one colour 0080ff, report rate step 2.
    for (const char* field :
         {"\"profile\": 2", "\"effect\": 5", "\"brightness\": 3", "\"speed\": 2",
          "\"direction\": \"left\"", "\"colourful\": false", "\"colour\": \"0080ff\"",
          "\"reportRate\": 2", "\"reportRateHz\": 500"})
        EXPECT_NE(state.out.find(field), std::string::npos) << field << "\n" << state.out;
}

TEST_F(KeyloomctlLighting, KeyboardWithoutPerKeyColoursRefusesTheColourCommands) {
    connectOnce();
    // Take effect 20 out of the parameter block's effect list (byte 30).
    std::string state = dir.read("kb.state");
    const auto at = state.find("parameters ");
    ASSERT_NE(at, std::string::npos);
    const std::size_t byte30 = at + 11 + 60;
    ASSERT_EQ(state.substr(byte30, 2), "14");
    state.replace(byte30, 2, "00");
    dir.write("kb.state", state);

    for (std::vector<std::string> args :
         {std::vector<std::string>{"colours"}, {"colour", "A", "00ff00"}}) {
        CliRun refused = run(args);
        EXPECT_EQ(refused.exitCode, 1) << args[0];
        EXPECT_NE(refused.err.find("no per-key colours"), std::string::npos) << refused.err;
    }
    EXPECT_EQ(run({"lighting", "effect", "20"}).exitCode, 2);
}

}  // namespace
}  // namespace keyloom::testing
