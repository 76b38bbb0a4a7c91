#include "sim/SimSetup.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/fs/FileIo.h"
#include "support/TempDir.h"

namespace keyloom::sim {
namespace {

TEST(SimSetup, ParsesModelAndOptionalStateFile) {
    SimulationChoice choice;
    std::string error;
    ASSERT_TRUE(parseSimulationArgument("0c45:652f", choice, error));
    EXPECT_EQ(choice.model, &kModel652F);
    EXPECT_EQ(choice.stateFile, "");
    ASSERT_TRUE(parseSimulationArgument("320F:5064:/tmp/a:b.state", choice, error));
    EXPECT_EQ(choice.model, &kModel5064);
    EXPECT_EQ(choice.stateFile, "/tmp/a:b.state");

    for (const char* bad : {"", "0c45", "0c45:5064", "320f:652f", "0c45:652f:", "0c45:652fx",
                            "0c45-652f", "1234:5678", " 0c45:652f"}) {
        EXPECT_FALSE(parseSimulationArgument(bad, choice, error)) << bad;
        EXPECT_NE(error.find("0c45:652f or 320f:5064"), std::string::npos) << error;
        EXPECT_EQ(choice.model, nullptr);
    }
}

TEST(SimSetup, StartRegistersTheKeyboardAndKeepsItsMemory) {
    testing::TempDir dir;
    const std::string stateFile = dir.file("sub/folder/keyboard.state");
    hid::HidPlatform platform;
    Simulation simulation;
    std::string error;
    ASSERT_TRUE(startSimulation("320f:5064:" + stateFile, platform, simulation, error)) << error;
    EXPECT_EQ(simulation.message, "");
    std::vector<std::string> paths;
    platform.enumerate(paths);
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_NE(paths[2].find("vid_320f&pid_5064&mi_01&col02"), std::string::npos);

    EXPECT_TRUE(simulation.keyboard->selectProfileOnKeyboard(1));
    EXPECT_TRUE(fs::fileExists(stateFile));

    hid::HidPlatform again;
    Simulation restarted;
    ASSERT_TRUE(startSimulation("320f:5064:" + stateFile, again, restarted, error));
    EXPECT_EQ(restarted.keyboard->withFirmware(
                  [](SimFirmware& f) { return f.memory().parameters[kParameterActiveProfile]; }),
              1);

    hid::HidPlatform untouched;
    Simulation refused;
    EXPECT_FALSE(startSimulation("abcd", untouched, refused, error));
    paths.clear();
    untouched.enumerate(paths);
    EXPECT_TRUE(paths.empty());
}

TEST(SimSetup, DamagedStateFileIsReportedButTheSimulationRuns) {
    testing::TempDir dir;
    const std::string stateFile = dir.write("keyboard.state", "not a state file");
    hid::HidPlatform platform;
    Simulation simulation;
    std::string error;
    ASSERT_TRUE(startSimulation("0c45:652f:" + stateFile, platform, simulation, error));
    EXPECT_NE(simulation.message.find("not usable"), std::string::npos) << simulation.message;
    EXPECT_TRUE(simulation.keyboard->present());
}

TEST(SimSetup, ReportTimeIsAWholeBoundedNumberAndABadOneIsIgnoredWithAMessage) {
    struct Case {
        const char* text;
        bool ok;
        std::uint32_t us;
    };
    for (const Case& c :
         {Case{"0", true, 0}, Case{"1000", true, 1000}, Case{"100000", true, 100000},
          Case{"100001", false, 0}, Case{"", false, 0}, Case{"-5", false, 0}, Case{"1e3", false, 0},
          Case{"99999999999", false, 0}}) {
        std::uint32_t us = 7;
        std::string error;
        EXPECT_EQ(parseReportTime(c.text, us, error), c.ok) << c.text;
        EXPECT_EQ(us, c.ok ? c.us : 7u) << c.text;
        EXPECT_EQ(error.empty(), c.ok) << c.text;
    }

    hid::HidPlatform platform;
    for (const char* value : {"1000", "fast"}) {
        ::setenv(kReportTimeVariable, value, 1);
        Simulation simulation;
        std::string error;
        ASSERT_TRUE(startSimulation("0c45:652f", platform, simulation, error));
        EXPECT_EQ(simulation.keyboard->reportTime(), value[0] == 'f' ? 0u : 1000u);
        EXPECT_EQ(simulation.message.find(kReportTimeVariable) != std::string::npos,
                  value[0] == 'f');
        platform.removeBackend(simulation.backend.get());
    }
    ::unsetenv(kReportTimeVariable);
}

}  // namespace
}  // namespace keyloom::sim
