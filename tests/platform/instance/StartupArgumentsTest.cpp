// The window program's command line: the two instance switches in order,
// the program's own options, the toolkit's passed over, everything else
// collected as unknown.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/instance/StartupArguments.h"

namespace keyloom::instance {
namespace {

StartupArguments parse(std::vector<std::string_view> arguments) {
    return parseStartupArguments(arguments);
}

using Switches = std::vector<StartupSwitch>;

TEST(StartupArguments, SwitchesMatchWholeArgumentsInAnyCaseAndKeepTheirOrder) {
    EXPECT_EQ(parse({"/start", "/KILL"}).switches,
              (Switches{StartupSwitch::Start, StartupSwitch::Kill}));
    EXPECT_EQ(parse({"/kIlL", "/StArT"}).switches,
              (Switches{StartupSwitch::Kill, StartupSwitch::Start}));
    EXPECT_EQ(parse({"--start", "--Kill", "/Start"}).switches,
              (Switches{StartupSwitch::Start, StartupSwitch::Kill, StartupSwitch::Start}));
    // Only whole arguments count; the rest is unknown.
    const StartupArguments near =
        parse({"/Starts", "Start", "/Kill=1", "-kill", "//Kill", "/", "--"});
    EXPECT_TRUE(near.switches.empty());
    EXPECT_EQ(near.unknown, (std::vector<std::string>{"/Starts", "Start", "/Kill=1", "-kill",
                                                      "//Kill", "/", "--"}));
}

TEST(StartupArguments, ToolkitOptionsArePassedOverWithTheirValues) {
    struct Case {
        std::vector<std::string_view> arguments;
        std::vector<std::string> unknown;
        bool platform;
    };
    const Case cases[] = {
        {{"-platform", "offscreen", "-style=fusion", "--reverse", "-display", ":1"}, {}, true},
        {{"--stylesheet", "a.qss", "-nograb", "--bogus"}, {"--bogus"}, false},
        // A flag takes no value, and an unknown word is not one of them.
        {{"-reverse=1", "-platformx", "x"}, {"-reverse=1", "-platformx", "x"}, false},
    };
    for (const Case& c : cases) {
        const StartupArguments parsed = parse(c.arguments);
        EXPECT_EQ(parsed.unknown, c.unknown) << c.arguments.front();
        EXPECT_EQ(parsed.platformGiven, c.platform) << c.arguments.front();
    }
}

TEST(StartupArguments, ValuesAreKeptInEitherSpellingAndUnknownArgumentsCollected) {
    StartupArguments parsed =
        parse({"-platform", "offscreen", "--simulate", "K68:/tmp/state.bin", "--trace=/tmp/t.log",
               "--data-dir", "/home/u/data", "stray", "-h", "/Start"});
    EXPECT_EQ(parsed.simulate, "K68:/tmp/state.bin");
    EXPECT_EQ(parsed.trace, "/tmp/t.log");
    EXPECT_EQ(parsed.dataDir, "/home/u/data");
    EXPECT_TRUE(parsed.help);
    EXPECT_EQ(parsed.switches, Switches{StartupSwitch::Start});
    EXPECT_TRUE(parsed.problems.empty());
    EXPECT_EQ(parsed.unknown, std::vector<std::string>{"stray"});
    EXPECT_TRUE(parsed.hasSwitch(StartupSwitch::Start));
    EXPECT_FALSE(parsed.hasSwitch(StartupSwitch::Kill));
}

TEST(StartupArguments, AValueIsTakenAsItStandsEvenWhenItLooksLikeASwitch) {
    StartupArguments parsed = parse({"--trace", "/Kill", "--data-dir="});
    EXPECT_EQ(parsed.trace, "/Kill");
    EXPECT_TRUE(parsed.switches.empty());
    EXPECT_EQ(parsed.dataDir, "");
}

TEST(StartupArguments, AMissingValueIsReportedNotInvented) {
    StartupArguments parsed = parse({"/Start", "--simulate"});
    EXPECT_TRUE(parsed.simulate.empty());
    ASSERT_EQ(parsed.problems.size(), 1u);
    EXPECT_EQ(parsed.problems[0], "--simulate needs a value");
    EXPECT_EQ(parsed.switches, Switches{StartupSwitch::Start});
}

TEST(StartupArguments, ArgvSkipsTheProgramName) {
    const char* argv[] = {"/Kill", "--help", "/start", nullptr};
    StartupArguments parsed = parseStartupArguments(3, argv);
    EXPECT_TRUE(parsed.help);
    EXPECT_EQ(parsed.switches, Switches{StartupSwitch::Start});
    EXPECT_TRUE(parseStartupArguments(0, nullptr).switches.empty());
}

}  // namespace
}  // namespace keyloom::instance
